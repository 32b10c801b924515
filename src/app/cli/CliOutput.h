#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// Where the command line's words go. Results go to standard output, as text for people or,
// with --json, as one JSON document; errors go to standard error always; progress and notes
// go to standard error unless --quiet.
class CliOutput
{
public:
    CliOutput(bool json, bool quiet) : m_json(json), m_quiet(quiet) {}

    bool json() const { return m_json; }
    bool quiet() const { return m_quiet; }

    // An error in the operator's terms: "orvantis: " and the message.
    void error(const QString &message);
    // Progress and notes.
    void note(const QString &message);
    // The result: `lines` for people, or `document` with --json.
    void result(const QJsonObject &document, const QStringList &lines);
    // One compact JSON line (a sample of a periodic run), flushed at once.
    void jsonLine(const QJsonObject &object);
    // A line of text for people on standard output, flushed at once.
    void line(const QString &text);
    // Bytes exactly as they are, to standard output.
    void raw(const QByteArray &bytes);

    // Whether standard error is a terminal that progress may redraw.
    bool progressShown() const;
    // Rewrites the progress line on standard error (no line end); an empty text ends it.
    void progress(const QString &text);

    // The last error said, for the JSON document of a failure.
    QString lastError() const { return m_lastError; }

private:
    bool m_json;
    bool m_quiet;
    bool m_progressOpen = false;
    QString m_lastError;
};
