#pragma once

#include <QByteArray>

// Sample lines sent on demand, for benchmarks that compare what consumers of the line make of
// one stream: spectra as the instrument prints them (16 counts a line, CR LF), cut off after
// exactly the number of bytes asked for. Digits, blanks and line ends only: no status line.
class SampleStream
{
public:
    // A new stream replaces what is left of the one before.
    void start(qint64 bytes) { m_left = bytes; }
    bool active() const { return m_left > 0; }
    // Up to `max` further bytes of the stream.
    QByteArray take(qint64 max);

private:
    QByteArray m_block;
    qsizetype m_at = 0;
    quint32 m_seed = 0;
    qint64 m_left = 0;
};
