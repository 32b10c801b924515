#include "app/cli/CliOutput.h"

#include <QJsonDocument>

#include <cstdio>
#include <unistd.h>

namespace
{
void writeOut(FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

QString failureText(ExitStatus status)
{
    switch (status) {
    case ExitStatus::Interrupted:
        return CliOutput::tr("interrupted");
    case ExitStatus::NoInstrument:
        return CliOutput::tr("no Orvantis");
    default:
        return CliOutput::tr("failed");
    }
}
} // namespace

void CliOutput::error(const QString &message)
{
    progress(QString());
    m_lastError = message;
    writeOut(stderr, "orvantis: " + message.toLocal8Bit() + '\n');
}

void CliOutput::note(const QString &message)
{
    if (m_quiet)
        return;
    progress(QString());
    writeOut(stderr, message.toLocal8Bit() + '\n');
}

void CliOutput::result(const QJsonObject &document, const QStringList &lines)
{
    if (m_json)
        m_document = document;
    else if (!lines.isEmpty())
        writeOut(m_dataOnStandardOutput ? stderr : stdout,
                 lines.join(QLatin1Char('\n')).toLocal8Bit() + '\n');
}

void CliOutput::jsonLine(const QJsonObject &object)
{
    writeOut(stdout, QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
}

void CliOutput::line(const QString &text)
{
    progress(QString());
    writeOut(m_dataOnStandardOutput ? stderr : stdout, text.toLocal8Bit() + '\n');
}

void CliOutput::raw(const QByteArray &bytes)
{
    writeOut(stdout, bytes);
}

int CliOutput::finish(ExitStatus status)
{
    if (!m_json)
        return int(status);
    QJsonObject document = m_document;
    document.insert(QStringLiteral("exitStatus"), int(status));
    if (status != ExitStatus::Done)
        document.insert(QStringLiteral("error"),
                        m_lastError.isEmpty() ? failureText(status) : m_lastError);
    if (m_streaming)
        jsonLine(document);
    else
        writeOut(stdout, QJsonDocument(document).toJson(QJsonDocument::Indented));
    return int(status);
}

QString CliOutput::isoTime(const QDateTime &time, Qt::DateFormat format)
{
    // "+00:00" rather than "Z": the offset is always written the same way.
    const int offset = time.offsetFromUtc();
    const QString local =
        time.toString(format == Qt::ISODateWithMs ? QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")
                                                  : QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    return local + (offset < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           QTime(0, 0).addSecs(qAbs(offset)).toString(QStringLiteral("HH:mm"));
}

bool CliOutput::progressShown() const
{
    return !m_quiet && ::isatty(STDERR_FILENO);
}

void CliOutput::progress(const QString &text)
{
    if (!progressShown())
        return;
    if (text.isEmpty()) {
        if (m_progressOpen)
            writeOut(stderr, "\n");
        m_progressOpen = false;
        return;
    }
    // Back to the line's start, the text, and the rest of the old line cleared.
    writeOut(stderr, "\r" + text.toLocal8Bit() + "\x1b[K");
    m_progressOpen = true;
}
