#pragma once

#include "app/cli/ExitStatus.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// Where the command line's words go. Results go to standard output, as text for people or,
// with --json, as one JSON document written at the end whatever happens (or, for run, a
// stream of one record per line ending in that document); errors go to standard error
// always; progress and notes go to standard error unless --quiet.
class CliOutput
{
    Q_DECLARE_TR_FUNCTIONS(CliOutput)

public:
    CliOutput(bool json, bool quiet) : m_json(json), m_quiet(quiet) {}

    bool json() const { return m_json; }
    bool quiet() const { return m_quiet; }

    // An error in the operator's terms: "orvantis: " and the message.
    void error(const QString &message);
    // Progress and notes.
    void note(const QString &message);
    // The result: `lines` for people at once, or with --json `document`, which finish()
    // writes.
    void result(const QJsonObject &document, const QStringList &lines);
    // One record of run's stream: compact, on one line, flushed at once.
    void jsonLine(const QJsonObject &object);
    // A line of text for people, flushed at once.
    void line(const QString &text);
    // Bytes exactly as they are, to standard output.
    void raw(const QByteArray &bytes);
    // The data file is standard output (-o -): the lines for people go to standard error.
    void setDataOnStandardOutput(bool on) { m_dataOnStandardOutput = on; }
    // With --json, the document finish() writes ends a stream of records: on one line too.
    void setStreaming(bool on) { m_streaming = on; }

    // The end of the output. With --json, the one document: the result given (if any), its
    // "exitStatus", and the "error" said last when the command did not succeed. Returns the
    // exit status.
    int finish(ExitStatus status);

    // Whether standard error is a terminal that progress may redraw.
    bool progressShown() const;
    // Rewrites the progress line on standard error (no line end); an empty text ends it.
    void progress(const QString &text);

    // The last error said, for the JSON document of a failure.
    QString lastError() const { return m_lastError; }

    // A time as the JSON records give it: ISO 8601 with its offset from UTC.
    static QString isoTime(const QDateTime &time, Qt::DateFormat format = Qt::ISODateWithMs);

private:
    bool m_json;
    bool m_quiet;
    bool m_progressOpen = false;
    bool m_dataOnStandardOutput = false;
    bool m_streaming = false;
    QJsonObject m_document;
    QString m_lastError;
};
