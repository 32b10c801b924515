#include "app/cli/RunReport.h"

#include "app/cli/CliOutput.h"

#include <QJsonArray>

#include <cstdio>

namespace
{
qint64 secondsBetween(const QDateTime &from, const QDateTime &to)
{
    return (from.msecsTo(to) + 500) / 1000;
}

QJsonValue isoOrNull(const QDateTime &time)
{
    return time.isValid() ? QJsonValue(CliOutput::isoTime(time)) : QJsonValue();
}

// An outage is said whatever --quiet asks: a night's file has a hole in it.
void sayOnStandardError(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}
} // namespace

QString RunReport::clock(const QDateTime &time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

void RunReport::event(const QJsonObject &record)
{
    if (!m_output.json())
        return;
    QJsonObject line{{QStringLiteral("record"), QStringLiteral("event")}};
    for (auto it = record.begin(); it != record.end(); ++it)
        line.insert(it.key(), it.value());
    m_output.jsonLine(line);
}

void RunReport::started(const QDateTime &at)
{
    m_started = at;
    m_lastSample = at;
}

void RunReport::sample(const SampleLedger::Sample &sample, const QDateTime &at)
{
    m_lastSample = at;
    for (Outage &outage : m_outages) {
        if (!outage.nextSample.isValid())
            outage.nextSample = at;
    }
    if (m_output.json()) {
        m_output.jsonLine({{QStringLiteral("record"), QStringLiteral("sample")},
                           {QStringLiteral("sample"), sample.number},
                           {QStringLiteral("time"), CliOutput::isoTime(at)},
                           {QStringLiteral("bytes"), sample.bytes}});
    } else {
        m_output.line(tr("%1  %2  %3 bytes")
                          .arg(sample.number, 5)
                          .arg(at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                          .arg(sample.bytes));
    }
}

void RunReport::lineLost(const QDateTime &at)
{
    if (isLost())
        return;
    m_outages << Outage{at, QDateTime(), false, m_lastSample, QDateTime()};
    sayOnStandardError(tr("connection lost at %1").arg(clock(at)));
    event({{QStringLiteral("event"), QStringLiteral("connectionLost")},
           {QStringLiteral("time"), CliOutput::isoTime(at)}});
}

void RunReport::lineBack(const QDateTime &at, bool runRestarted)
{
    if (!isLost())
        return;
    Outage &outage = m_outages.last();
    outage.back = at;
    outage.runRestarted = runRestarted;
    const qint64 seconds = secondsBetween(outage.lost, at);
    sayOnStandardError((runRestarted ? tr("back at %1 after %2 s; the run was started again")
                                     : tr("back at %1 after %2 s; the run went on"))
                           .arg(clock(at))
                           .arg(seconds));
    event({{QStringLiteral("event"), QStringLiteral("connectionBack")},
           {QStringLiteral("time"), CliOutput::isoTime(at)},
           {QStringLiteral("outageSeconds"), seconds},
           {QStringLiteral("runRestarted"), runRestarted}});
}

void RunReport::summary(const Ending &ending, const QDateTime &at)
{
    QJsonArray outages;
    const QString summaryLine =
        ending.endsAtPrompt
            ? tr("%1 samples in %2 s; %3 holds %4 bytes, ending at the Orvantis's prompt.")
            : tr("%1 samples in %2 s; %3 holds %4 bytes, not ending at the Orvantis's prompt.");
    QStringList lines{
        summaryLine.arg(ending.samples)
            .arg(secondsBetween(m_started, at))
            .arg(ending.path == QLatin1String("-") ? tr("standard output") : ending.path)
            .arg(ending.bytes)};
    qint64 withoutSamples = 0;
    for (const Outage &outage : std::as_const(m_outages)) {
        const QDateTime back = outage.back.isValid() ? outage.back : at;
        const QDateTime next = outage.nextSample.isValid() ? outage.nextSample : at;
        const qint64 gap = secondsBetween(outage.lastSample, next);
        withoutSamples += gap;
        outages.append(QJsonObject{{QStringLiteral("lost"), CliOutput::isoTime(outage.lost)},
                                   {QStringLiteral("back"), isoOrNull(outage.back)},
                                   {QStringLiteral("seconds"), secondsBetween(outage.lost, back)},
                                   {QStringLiteral("runRestarted"), outage.runRestarted},
                                   {QStringLiteral("lastSample"), isoOrNull(outage.lastSample)},
                                   {QStringLiteral("nextSample"), isoOrNull(outage.nextSample)}});
        if (!outage.back.isValid()) {
            lines << tr("Connection lost at %1, not back; no samples from %2 to %3 (%4 s).")
                         .arg(clock(outage.lost))
                         .arg(clock(outage.lastSample), clock(next))
                         .arg(gap);
            continue;
        }
        const QString outageLine =
            outage.runRestarted ? tr("Connection lost at %1, back at %2 after %3 s (the run was "
                                     "started again); no samples from %4 to %5 (%6 s).")
                                : tr("Connection lost at %1, back at %2 after %3 s (the run went "
                                     "on); no samples from %4 to %5 (%6 s).");
        lines << outageLine.arg(clock(outage.lost))
                     .arg(clock(outage.back))
                     .arg(secondsBetween(outage.lost, outage.back))
                     .arg(clock(outage.lastSample), clock(next))
                     .arg(gap);
    }
    if (!m_outages.isEmpty())
        lines
            << tr("%1 outage(s); %2 s without samples.").arg(m_outages.size()).arg(withoutSamples);
    for (const QString &line : std::as_const(lines))
        m_output.note(line);
    m_output.result({{QStringLiteral("record"), QStringLiteral("summary")},
                     {QStringLiteral("samples"), ending.samples},
                     {QStringLiteral("file"), ending.path},
                     {QStringLiteral("bytes"), ending.bytes},
                     {QStringLiteral("endsAtPrompt"), ending.endsAtPrompt},
                     {QStringLiteral("started"), CliOutput::isoTime(m_started)},
                     {QStringLiteral("ended"), CliOutput::isoTime(at)},
                     {QStringLiteral("outages"), outages},
                     {QStringLiteral("secondsWithoutSamples"), withoutSamples}},
                    {});
}
