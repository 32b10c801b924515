// A night alone against orvantis-sim over real pseudo-terminals: the adapter is pulled and
// comes back behind the same link, and nobody presses anything. The run goes on into the same
// data file, which holds exactly what crossed the line; an idle connection gets its polls
// back; an instrument that restarted is started again; another instrument, or Stop, ends it.
// And the event log tells it the next morning: each event a line with its time, in order, in
// the day's file and in the "Event Log" window that was open all along. (The reconnection's
// other rules are tst_reconnection's.)
#include "features/sampling/SamplingController.h"
#include "testkit/SimRig.h"
#include "ui/eventlog/EventLogBinding.h"
#include "ui/files/FileTransferForm.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <algorithm>

namespace
{
enum class Replug { SameRun, Restarted, OtherInstrument, StopPressed };

// Every line of every day file in `folder`, oldest first.
QStringList logLines(const QString &folder)
{
    QStringList lines;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({"events-*.log"}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            lines += QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    return lines;
}

// The first line from `from` on of `category` whose text starts with `text`; -1 if none.
int find(const QStringList &lines, int from, const QString &category, const QString &text)
{
    for (int i = qMax(from, 0); i < lines.size(); ++i) {
        if (lines.at(i).mid(24).startsWith(category.leftJustified(10) + ' ' + text))
            return i;
    }
    return -1;
}
} // namespace

Q_DECLARE_METATYPE(Replug)

class ReconnectEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void periodicRunSurvivesAnUnplug_data();
    void periodicRunSurvivesAnUnplug();
    void idleConnectionGetsItsPollsBack();
    void nightLeavesItsLinesInOrder();
};

void ReconnectEndToEnd::periodicRunSurvivesAnUnplug_data()
{
    QTest::addColumn<Replug>("replug");
    QTest::addColumn<QStringList>("simulator");
    QTest::newRow("the run goes on") << Replug::SameRun << QStringList();
    QTest::newRow("the instrument restarted")
        << Replug::Restarted << QStringList{"--restart-on-replug"};
    QTest::newRow("another instrument")
        << Replug::OtherInstrument << QStringList{"--serial-after-replug", "4242"};
    QTest::newRow("Stop while reconnecting") << Replug::StopPressed << QStringList();
}

void ReconnectEndToEnd::periodicRunSurvivesAnUnplug()
{
    QFETCH(Replug, replug);
    QFETCH(QStringList, simulator);
    SimRig rig(RigOptions(QStringList{"--fast", "--stable"} + simulator).linkedName());
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const QString data = rig.path("night.raw");
    QVERIFY(rig.openDataFile(data));
    QTRY_VERIFY(rig.sent().endsWith("Orvantis>"));
    const qsizetype sentBefore = rig.sent().size();
    rig.startPeriodic();
    QTRY_VERIFY(rig.sim.isSampling());
    QTRY_VERIFY(QFileInfo(data).size() > 500);
    const qsizetype heardBefore = rig.heard().size();
    QVERIFY(rig.sim.unplug(replug == Replug::StopPressed ? 3000 : 5000));
    QTRY_VERIFY(rig.session().reconnecting());
    // Nobody is asked anything; the status line says what goes on.
    QTRY_VERIFY(rig.controls().StatusLabel->text().contains("reconnecting"));
    QVERIFY(rig.controls().StopSamplingButton->isEnabled());
    if (replug == Replug::StopPressed) {
        rig.click("Stop");
        QVERIFY(!rig.session().reconnecting());
        QCOMPARE(rig.status(), StatusCode::NotConnected);
        const qsizetype heardAtStop = rig.heard().size();
        QVERIFY(rig.sim.waitForDevice());
        // Two attempts' time after the device is back: nothing is tried any more.
        QSignalSpy runs(rig.session().findChild<QTimer *>("Timer1"), &QTimer::timeout);
        QTRY_VERIFY(runs.size() >= 13);
        QCOMPARE(rig.heard().size(), heardAtStop);
        QVERIFY(!rig.comm->isOpen());
        return;
    }
    QVERIFY(rig.sim.waitForDevice(15000));
    const qint64 sizeAtReplug = QFileInfo(data).size();
    if (replug == Replug::OtherInstrument) {
        QTRY_COMPARE_WITH_TIMEOUT(rig.status(), StatusCode::NotConnected, 15000);
        QCOMPARE(rig.dialogs.errors.size(), 1);
        QVERIFY2(rig.dialogs.errors.first().contains("serial number 4242"),
                 qPrintable(rig.dialogs.errors.first()));
        return;
    }
    // Samples reach the same data file again.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(data).size() > sizeAtReplug + 500, 15000);
    QCOMPARE(rig.status(), StatusCode::PeriodicSampling);
    QCOMPARE(rig.heard().count("start "), replug == Replug::Restarted ? 2 : 1);
    // A run that went on is not stopped.
    QVERIFY(!rig.heardSince(heardBefore).contains('\x03'));
    QCOMPARE(rig.dialogs.errors, QStringList());
    // Every byte the instrument sent, before the unplug and after the replug, exactly.
    rig.click("Stop");
    QTRY_VERIFY(!rig.sim.isSampling());
    QTRY_VERIFY(probe::silence(rig.session()) > 0.5f);
    rig.click("Stop Saving");
    QVERIFY(fileBytes(data) == rig.sent().mid(sentBefore));
}

void ReconnectEndToEnd::idleConnectionGetsItsPollsBack()
{
    SimRig rig(RigOptions({"--fast", "--stable"}).linkedName().polled());
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    QVERIFY(rig.sim.unplug(2000));
    QTRY_VERIFY(rig.session().reconnecting());
    QVERIFY(rig.sim.waitForDevice());
    const qsizetype heardAtReplug = rig.heard().size();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.session().reconnecting(), 10000);
    QCOMPARE(rig.status(), StatusCode::Idle);
    // Asked who it is, then polled again (the stable instrument's 30 s made short here).
    QVERIFY(rig.session().isPolling() && !rig.session().pollingHeld());
    rig.session().setPollInterval(300);
    QTRY_VERIFY(rig.heardSince(heardAtReplug).contains("id\rst\r"));
    QCOMPARE(rig.controls().StatusLabel->text(), QString("Connected to 1021 "));
    QCOMPARE(rig.dialogs.errors, QStringList());
}

void ReconnectEndToEnd::nightLeavesItsLinesInOrder()
{
    // Behind a stable name, as an adapter's by-id name: the device that comes back after the
    // unplug is a new pseudo-terminal, and the old one's number may go to another test's.
    SimRig rig(RigOptions().linkedName().unconnected());
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const QString logs = rig.path("logs");
    rig.session().eventLog().setFolder(logs);
    QVERIFY(rig.connect());
    const QString serial = rig.session().SerNum();
    QCOMPARE(serial, QString("1021"));
    rig.trigger("Event Log...");
    const EventLogWindow *window = rig.c().eventLog.window();
    QVERIFY(window && window->isVisible());
    QVERIFY(rig.openFiles());
    rig.select("SPECTRA.BIN");
    rig.clickFiles("Get Files");
    QVERIFY(QFileInfo::exists(rig.local("SPECTRA.BIN")));
    rig.c().files.window()->close();
    rig.controls().SampleDelayText->setText("soon");
    rig.click("Start Periodic");
    QCOMPARE(rig.dialogs.errors, QStringList{SamplingController::badPeriodMessage()});
    const QString data = rig.local("night.raw");
    QVERIFY(rig.openDataFile(data));
    rig.startPeriodic();
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(data).size() > 0, 15000);
    QVERIFY(rig.sim.unplug(2000));
    // In order: each expected line after the one before it.
    QStringList lines;
    int at = -1;
    const QList<QPair<QString, QString>> expected{
        {"connection", "Connected to " + serial + " on COM 1 ("},
        {"operation", "Download started."},
        {"operation", "Download ended."},
        {"message", SamplingController::badPeriodMessage()},
        {"operation", "Saving to a data file started: \"" + data + "\"."},
        {"operation", "Periodic sampling started."},
        {"connection", "Connection lost on COM 1"},
        {"connection", "Reconnecting to COM 1"},
        {"connection", "Reconnected to " + serial + "; the periodic run went on."}};
    for (const auto &[category, text] : expected) {
        QTRY_VERIFY2_WITH_TIMEOUT(
            (lines = logLines(logs), find(lines, at + 1, category, text) > at),
            qPrintable(QStringLiteral("no %1 line \"%2\" after line %3; the lines after it:\n%4")
                           .arg(category, text)
                           .arg(at + 1)
                           .arg(lines.mid(at + 1).join('\n'))),
            10000);
        at = find(lines, at + 1, category, text);
    }
    QVERIFY2(
        std::is_sorted(lines.begin(), lines.end(),
                       [](const QString &a, const QString &b) { return a.left(23) < b.left(23); }),
        qPrintable(lines.join('\n')));
    // The window read the day back when it opened and has followed every line since.
    QCOMPARE(window->view()->toPlainText(), lines.join('\n'));
}

QTEST_MAIN(ReconnectEndToEnd)
#include "tst_reconnect_e2e.moc"
