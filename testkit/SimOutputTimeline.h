#pragma once

#include "SimEngine.h"

#include <QByteArray>
#include <QList>

// What a SimEngine sends while its clock is run on, piece by piece with the engine time at
// which each piece left, so tests can check both the bytes and their timing.
class SimOutputTimeline
{
public:
    // Runs the clock to `untilMs`, stopping at every due output on the way.
    static SimOutputTimeline run(SimEngine &engine, qint64 untilMs);

    QByteArray text() const;
    // Engine time at which the byte at `offset` of text() left; -1 past the end.
    qint64 timeOfByte(qsizetype offset) const;
    // Time of the first piece; -1 when nothing was sent.
    qint64 firstMs() const { return m_pieces.isEmpty() ? -1 : m_pieces.first().ms; }

private:
    struct Piece {
        qint64 ms;
        QByteArray bytes;
    };
    QList<Piece> m_pieces;
};
