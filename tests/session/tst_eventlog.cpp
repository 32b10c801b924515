// The event log's own rules: the line, the day files and their 30 days, a folder that cannot
// be written, and the lines the session's signals and the operator dialogs leave in it.
#include "session/EventLog.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/SessionRig.h"
#include "testkit/TestFiles.h"
#include "ui/eventlog/EventLogWindow.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
const QDateTime kEvening(QDate(2024, 5, 1), QTime(23, 59, 59, 999));

// The lines without their time: "category text".
QStringList untimed(const QStringList &lines)
{
    QStringList result;
    for (const QString &line : lines)
        result << line.mid(24).simplified();
    return result;
}
} // namespace

class EventLogRules : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void line_data();
    void line();
    void eachDayHasItsFile();
    void filesGoAfterThirtyDays_data();
    void filesGoAfterThirtyDays();
    void unwritableFolderNeitherThrowsNorStops();
    void sessionSignalsBecomeLines_data();
    void sessionSignalsBecomeLines();
    void dialogsAreLoggedAndPassedOn();

private:
    QTemporaryDir m_dir;
    QString m_folder;
    QDateTime m_now;
    std::unique_ptr<EventLog> m_log;
};

void EventLogRules::init()
{
    static int run = 0;
    m_folder = m_dir.filePath(QStringLiteral("logs%1").arg(++run));
    m_now = kEvening;
    m_log = std::make_unique<EventLog>();
    m_log->setClock([this] { return m_now; });
    m_log->setFolder(m_folder);
}

void EventLogRules::line_data()
{
    QTest::addColumn<EventCategory>("category");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString at = QStringLiteral("2024-05-01 23:59:59.999 ");
    // clang-format off
    QTest::newRow("connection") << EventCategory::Connection << "Disconnected." << at + "connection Disconnected.";
    QTest::newRow("padded") << EventCategory::Answer << "\"Yes\"" << at + "answer     \"Yes\"";
    QTest::newRow("lines joined") << EventCategory::Message << "Error 61; Disk full.\r\n\r\nNo file open.\n" << at + "message    Error 61; Disk full. | No file open.";
    QTest::newRow("control characters") << EventCategory::Message << QString("?\x03name\tgone") << at + "message    ? name gone";
    // clang-format on
}

void EventLogRules::line()
{
    QFETCH(EventCategory, category);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QSignalSpy appended(m_log.get(), &EventLog::appended);
    m_log->append(category, text);
    QCOMPARE(appended.size(), 1);
    QCOMPARE(appended.first().first().toString(), expected);
    QCOMPARE(m_log->readDay(kEvening.date()), QStringList{expected});
}

// The next run appends to the day's file, whose window shows the whole day; after midnight a
// new file begins.
void EventLogRules::eachDayHasItsFile()
{
    m_log->append(EventCategory::Operation, "first run");
    m_log = std::make_unique<EventLog>();
    m_log->setClock([this] { return m_now; });
    m_log->setFolder(m_folder);
    m_log->append(EventCategory::Operation, "second run");
    const QStringList runs{"operation first run", "operation second run"};
    QCOMPARE(untimed(m_log->readDay(kEvening.date())), runs);
    EventLogWindow window(*m_log);
    window.show();
    QCOMPARE(untimed(window.view()->toPlainText().split('\n')), runs);
    m_now = m_now.addMSecs(1);
    m_log->append(EventCategory::Operation, "after midnight");
    m_log->append(EventCategory::Operation, "and on");
    QCOMPARE(QDir(m_folder).entryList(QDir::Files),
             QStringList({"events-2024-05-01.log", "events-2024-05-02.log"}));
    QCOMPARE(untimed(m_log->readDay(kEvening.date())), runs);
    const QStringList today = m_log->readDay(m_log->today());
    QCOMPARE(untimed(today), QStringList({"operation after midnight", "operation and on"}));
    QVERIFY(today.first().startsWith("2024-05-02 00:00:00.000 "));
    QCOMPARE(m_log->linesForToday(), today);
}

void EventLogRules::filesGoAfterThirtyDays_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("kept");
    // clang-format off
    QTest::newRow("29 days") << "events-2024-04-02.log" << true;
    QTest::newRow("30 days") << "events-2024-04-01.log" << false;
    QTest::newRow("a year") << "events-2023-05-01.log" << false;
    QTest::newRow("tomorrow") << "events-2024-05-02.log" << true;
    QTest::newRow("not a date") << "events-2024-02-31.log" << true;
    QTest::newRow("someone else's") << "2023-01-01.log" << true;
    // clang-format on
}

void EventLogRules::filesGoAfterThirtyDays()
{
    QFETCH(QString, name);
    QFETCH(bool, kept);
    const QString path = QDir(m_folder).filePath(name);
    QVERIFY(QDir().mkpath(m_folder) && writeFile(path, "old\n"));
    m_log->append(EventCategory::Operation, "first line of the day");
    QCOMPARE(QFileInfo::exists(path), kept);
}

void EventLogRules::unwritableFolderNeitherThrowsNorStops()
{
    // A folder below a plain file cannot be made, not even by root.
    const QString blocker = m_dir.filePath("blocker");
    QVERIFY(writeFile(blocker, "a file"));
    m_log->setFolder(QDir(blocker).filePath("logs"));
    QSignalSpy problems(m_log.get(), &EventLog::problemChanged);
    EventLogWindow window(*m_log);
    window.show();
    // More than memory keeps: the oldest goes.
    for (int i = 0; i <= EventLog::kRecentLineCount; ++i)
        m_log->append(EventCategory::Message, QStringLiteral("line %1").arg(i));
    QCOMPARE(problems.size(), 1);
    QVERIFY(m_log->problem().contains(QDir::toNativeSeparators(blocker)));
    const QStringList kept = untimed(m_log->linesForToday());
    QCOMPARE(kept.size(), EventLog::kRecentLineCount);
    QCOMPARE(kept.first(), "message line 1");
    // The window says why above the lines.
    QCOMPARE(window.problemLabel()->text(), m_log->problem());
    QVERIFY(window.problemLabel()->isVisible());
    // Writable again: the next line goes to the file and the problem is gone.
    QVERIFY(QFile::remove(blocker));
    m_log->append(EventCategory::Message, "line 3");
    QVERIFY(m_log->problem().isEmpty());
    QVERIFY(!window.problemLabel()->isVisible());
    QCOMPARE(untimed(m_log->readDay(kEvening.date())), QStringList{"message line 3"});
}

// Steps: a status code, "run" (a periodic run begins) or "stop" (it ends).
void EventLogRules::sessionSignalsBecomeLines_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected");
    const QString connected = "connection Connected to COM 1 (memory1) at 9600 baud.";
    const QString started = "operation Periodic sampling started.";
    const QString ended = "operation Periodic sampling ended.";
    const QString disconnected = "connection Disconnected.";
    const QString silent =
        "connection No response from the Orvantis on COM 1 (memory1) at 9600 baud.";
    // clang-format off
    QTest::newRow("connect, disconnect, connect again") << QStringList{"1", "2", "1", "0", "2", "1"} << QStringList{connected, disconnected, connected};
    QTest::newRow("search finds nothing") << QStringList{"2", "0"} << QStringList{};
    // The start command and any switch show status 2 in the middle of the run.
    QTest::newRow("periodic run, stop") << QStringList{"1", "run", "4", "2", "4", "stop", "1"} << QStringList{connected, started, ended};
    QTest::newRow("periodic run, connection ends") << QStringList{"1", "run", "4", "0"} << QStringList{connected, started, ended, disconnected};
    QTest::newRow("no response") << QStringList{"1", "5", "2", "5", "1"} << QStringList{connected, silent, "connection The Orvantis answers again."};
    // clang-format on
}

void EventLogRules::sessionSignalsBecomeLines()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);
    MemoryCommPort port;
    SessionRig rig(port);
    for (const QString &step : steps) {
        if (step == "run")
            rig.session.beginPeriodicRun({"start 10 Acquire auto\r", "10", {}, false, true});
        else if (step == "stop")
            rig.session.endPeriodicRun();
        else
            rig.session.SetStatus(StatusCode(step.toInt()));
    }
    QCOMPARE(untimed(rig.session.eventLog().recentLines()), expected);
}

void EventLogRules::dialogsAreLoggedAndPassedOn()
{
    MemoryCommPort port;
    SessionRig rig(port);
    OperatorDialogs &dialogs = rig.session.dialogs();
    rig.dialogs.questionAnswers.enqueue(0);
    rig.dialogs.yesNoAnswers.enqueue(true);
    dialogs.ShowErrorMessage("Transfer of A.BIN timed out.");
    dialogs.showMessage("Status Update Rate", "Kept at 2 s.");
    dialogs.showMessage("Orvantis Console", "Names are cut.");
    QCOMPARE(dialogs.ShowQuestionBox("Replace it?", "&Yes", "&No", "", 1), 0);
    QVERIFY(dialogs.askYesNo("Orvantis Console", "Delete it?"));
    QCOMPARE(dialogs.inputBox("Rate", "Seconds?", "5"), QString());
    rig.dialogs.pathAnswers.enqueue("/data/night.raw");
    QCOMPARE(dialogs.saveFileName("", "", "", "raw"), QString("/data/night.raw"));
    QCOMPARE(rig.dialogs.errors, QStringList{"Transfer of A.BIN timed out."});
    QCOMPARE(rig.dialogs.messages.size(), 2);
    QCOMPARE(untimed(rig.session.eventLog().recentLines()),
             QStringList({"message Transfer of A.BIN timed out.",
                          "message Status Update Rate: Kept at 2 s.", "message Names are cut.",
                          "question Replace it?", "answer \"No\"", "question Delete it?",
                          "answer \"Yes\"", "question Seconds?", "answer Cancel",
                          "question Save as", "answer \"/data/night.raw\""}));
}

QTEST_MAIN(EventLogRules)
#include "tst_eventlog.moc"
