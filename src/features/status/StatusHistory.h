#pragma once

#include "features/status/StatusSample.h"

#include <QObject>

#include <deque>

// Every status line seen in this session, oldest first, held to a maximum count and age so
// that a console left running for days keeps a bounded history.
class StatusHistory : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDefaultMaxCount = 30000;
    static constexpr qint64 kDefaultMaxAgeMs = 24LL * 60 * 60 * 1000;
    // The receive loop hands the same line over again at each later CR of its run; one
    // line seen twice within this time is recorded once.
    static constexpr qint64 kRepeatWindowMs = 1000;

    explicit StatusHistory(int maxCount = kDefaultMaxCount, qint64 maxAgeMs = kDefaultMaxAgeMs,
                           QObject *parent = nullptr);

    // Records the status line in `text` as seen at `time`; false when the text is no status
    // line or repeats the last one.
    bool record(const QByteArray &text, const QDateTime &time);
    bool record(const StatusSample &sample);

    int size() const { return static_cast<int>(m_samples.size()); }
    bool isEmpty() const { return m_samples.empty(); }
    const StatusSample &at(int index) const { return m_samples.at(static_cast<size_t>(index)); }
    const std::deque<StatusSample> &samples() const { return m_samples; }
    // The sample closest in time; -1 when the history is empty.
    int indexNearest(const QDateTime &time) const;
    void clear();

    // One header line, then one line per sample: UTC time in ISO 8601, ambient (empty when
    // unknown), deviation, light seconds, the two states and the line as received.
    QByteArray toCsv() const;

signals:
    // A sample was added (older ones may have been dropped) or the history was cleared.
    void changed();

private:
    void trim();

    int m_maxCount;
    qint64 m_maxAgeMs;
    std::deque<StatusSample> m_samples;
};
