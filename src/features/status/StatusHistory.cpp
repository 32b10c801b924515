#include "features/status/StatusHistory.h"

#include <algorithm>

namespace
{
QByteArray csvNumber(double value)
{
    return QByteArray::number(value, 'g', 12);
}

QByteArray csvQuoted(const QByteArray &text)
{
    QByteArray quoted = QString::fromLatin1(text).toUtf8();
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}
} // namespace

StatusHistory::StatusHistory(int maxCount, qint64 maxAgeMs, QObject *parent)
    : QObject(parent), m_maxCount(std::max(1, maxCount)), m_maxAgeMs(maxAgeMs)
{
}

bool StatusHistory::record(const QByteArray &text, const QDateTime &time)
{
    StatusSample sample;
    return StatusSample::fromLine(text, time, &sample) && record(sample);
}

bool StatusHistory::record(const StatusSample &sample)
{
    if (!m_samples.empty()) {
        const StatusSample &last = m_samples.back();
        const qint64 since = last.time.msecsTo(sample.time);
        if (last.line == sample.line && since >= 0 && since < kRepeatWindowMs)
            return false;
    }
    // A clock set back keeps the history in time order: the line goes in at its place.
    auto at = std::upper_bound(
        m_samples.begin(), m_samples.end(), sample.time,
        [](const QDateTime &time, const StatusSample &s) { return time < s.time; });
    m_samples.insert(at, sample);
    trim();
    emit changed();
    return true;
}

void StatusHistory::trim()
{
    while (static_cast<int>(m_samples.size()) > m_maxCount)
        m_samples.pop_front();
    const QDateTime oldest = m_samples.back().time.addMSecs(-m_maxAgeMs);
    while (m_samples.size() > 1 && m_samples.front().time < oldest)
        m_samples.pop_front();
}

int StatusHistory::indexNearest(const QDateTime &time) const
{
    if (m_samples.empty())
        return -1;
    auto after =
        std::lower_bound(m_samples.begin(), m_samples.end(), time,
                         [](const StatusSample &s, const QDateTime &t) { return s.time < t; });
    if (after == m_samples.end())
        return size() - 1;
    if (after == m_samples.begin())
        return 0;
    auto before = after - 1;
    const bool beforeCloser = before->time.msecsTo(time) <= time.msecsTo(after->time);
    return static_cast<int>((beforeCloser ? before : after) - m_samples.begin());
}

void StatusHistory::clear()
{
    m_samples.clear();
    emit changed();
}

QByteArray StatusHistory::toCsv() const
{
    QByteArray csv("time,ambient_c,deviation_c,light_seconds,thermal,light,line\n");
    for (const StatusSample &s : m_samples) {
        csv += s.time.toUTC().toString(Qt::ISODateWithMs).toLatin1() + ',';
        if (s.hasAmbient())
            csv += csvNumber(s.ambient);
        csv += ',' + csvNumber(s.deviation) + ',' + QByteArray::number(s.lightSeconds) + ',';
        csv += StatusSample::stateName(s.thermal).toLatin1() + ',' +
               StatusSample::stateName(s.light).toLatin1() + ',' + csvQuoted(s.line) + '\n';
    }
    return csv;
}
