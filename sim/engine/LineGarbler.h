#pragma once

#include <QByteArray>

// What crosses a serial line whose two ends disagree on the rate: every byte arrives as
// something else. The garbled bytes all have the top bit set, so they never spell out any
// text (no prompt, no "ntis>").
class LineGarbler
{
public:
    QByteArray garble(const QByteArray &bytes);
    // What the instrument's answer to `received` looks like from the far end: a burst of
    // garbage a few bytes longer than what came in.
    QByteArray answerTo(const QByteArray &received);

private:
    quint32 m_state = 0x2545f491u;
};
