#pragma once

#include <QByteArray>

// What an instrument with a failing board might send in place of an answer. Each call gives
// the next of a repeating set of bursts: every byte value once (NUL and 0xFF among them),
// carriage returns with no line feed around scraps of text, one long line that never ends,
// and 70 000 random bytes, more than the console keeps of a reply.
class LineNoise
{
public:
    static constexpr int kLongLine = 5000;
    static constexpr int kBurst = 70000;

    QByteArray next();

private:
    quint8 random();
    QByteArray everyByteValue();
    QByteArray loneCarriageReturns();
    QByteArray longLine();
    QByteArray burst();

    quint32 m_state = 0x9e3779b9u;
    int m_turn = 0;
};
