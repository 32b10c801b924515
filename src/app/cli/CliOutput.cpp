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
        writeOut(stdout, QJsonDocument(document).toJson(QJsonDocument::Indented));
    else if (!lines.isEmpty())
        writeOut(stdout, lines.join(QLatin1Char('\n')).toLocal8Bit() + '\n');
}

void CliOutput::jsonLine(const QJsonObject &object)
{
    writeOut(stdout, QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
}

void CliOutput::line(const QString &text)
{
    writeOut(stdout, text.toLocal8Bit() + '\n');
}

void CliOutput::raw(const QByteArray &bytes)
{
    writeOut(stdout, bytes);
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
