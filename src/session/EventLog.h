#pragma once

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// What a line of the event log is about.
enum class EventCategory {
    // Connected, disconnected, lost, reconnecting, reconnected, given up.
    Connection,
    // An operation's start and end: sampling, transfers, the cal check, rate and clock changes.
    Operation,
    // A message the operator was shown.
    Message,
    // A question put to the operator, and the answer given.
    Question,
    Answer
};

// The record of what happened while the program ran, for whoever comes back after a night:
// one line per event, appended to a file of its day in the log folder
// ("events-2024-05-01.log"), files older than kKeepDays removed. A line reads
//
//   2024-05-01 22:13:05.123 connection Connected to 0417 on COM 3 (/dev/ttyUSB0) at 57600 baud.
//
// local time to the millisecond, the category padded to 10 characters, then the text on one
// line (line breaks in it become " | "). Each line reaches the file at once (written and
// flushed; not synced). A log that cannot be written keeps its lines in memory, says why in
// problem(), tries the file again at the next line, and never stops anything: appending
// neither throws nor shows anything itself.
class EventLog : public QObject
{
    Q_OBJECT
public:
    static constexpr int kKeepDays = 30;
    static constexpr int kRecentLineCount = 2000;

    explicit EventLog(QObject *parent = nullptr);
    ~EventLog() override;

    // The folder an operator finds the log in: "logs" in the program's data folder
    // (~/.local/share/Orvantis/Orvantis Console/logs on Linux); empty when there is none.
    static QString defaultFolder();
    // Where the day files go; empty (as built) keeps the lines in memory only.
    void setFolder(const QString &folder);
    QString folder() const { return m_folder; }
    // Where the log's time comes from (tests set their own).
    void setClock(std::function<QDateTime()> now);
    QDate today() const { return m_now().date(); }

    void append(EventCategory category, const QString &text);
    // "<operation> started." and "<operation> ended.", with ": <detail>" before the stop
    // when a detail is given.
    void operationStarted(const QString &operation, const QString &detail = {});
    void operationEnded(const QString &operation, const QString &detail = {});

    // The file of `day`, whether or not it exists.
    QString dayFile(const QDate &day) const;
    // The lines of `day`'s file; none when it cannot be read.
    QStringList readDay(const QDate &day) const;
    // The last kRecentLineCount lines of this run, written or not.
    QStringList recentLines() const { return m_recent; }
    // Today's lines as a viewer shows them: today's file while it is written, otherwise the
    // lines of this run kept in memory.
    QStringList linesForToday() const;
    // Why the log cannot be written; empty while it can (or has no folder).
    QString problem() const { return m_problem; }

    static QString formatLine(const QDateTime &time, EventCategory category, const QString &text);
    static QString categoryName(EventCategory category);

signals:
    void appended(const QString &line);
    void problemChanged(const QString &problem);

private:
    bool writeLine(const QDate &day, const QString &line);
    bool openDay(const QDate &day);
    void removeOldFiles(const QDate &today);
    void setProblem(const QString &problem);

    QString m_folder;
    std::function<QDateTime()> m_now;
    QFile m_file;
    QDate m_fileDay;
    QStringList m_recent;
    QString m_problem;
};
