#pragma once

#include <QByteArray>

class PtyDevice;

// The console's bytes on their way up the line. What the console writes waits in the
// pseudo-terminal, as it would in its adapter, and is taken off at the line's pace: ten bits
// a byte at the rate the console's side has set. Each group taken carries the rate in force
// when the line took it, so that bytes still in the adapter when the console changes its
// rate, or closes the port and its old settings come back, cross at that rate.
class LineInput
{
public:
    struct Taken {
        QByteArray bytes;
        int rate = 0; // the console's side's rate as they crossed; 0 when not a plain rate
    };

    explicit LineInput(const PtyDevice &device) : m_device(device) {}

    // What the line has carried by `nowMs`, paced at `otherwiseRate` while the console's
    // side has no plain rate. Bytes that arrive on a quiet line start crossing now.
    Taken take(qint64 nowMs, int otherwiseRate);
    // Everything waiting, at once.
    Taken takeAll();
    // Milliseconds until the next byte has crossed (0: at once); -1 when none is waiting.
    qint64 dueInMs(qint64 nowMs, int otherwiseRate) const;

private:
    qint64 waiting() const;
    double byteMs(int rate, int otherwiseRate) const;
    Taken read(qint64 count, int rate);

    const PtyDevice &m_device;
    bool m_crossing = false; // bytes are on their way
    double m_lineMs = 0;     // when the line finished the last byte it carried
};
