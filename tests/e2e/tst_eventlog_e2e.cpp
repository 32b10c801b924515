// A short night of the whole console against orvantis-sim over a pseudo-terminal, as the
// event log tells it the next morning: the connection, a download, a message, a periodic run
// into a data file and the adapter pulled out, each a line with its time, in order, in the
// day's file and in the "Event Log" window that was open all along.
#include "features/sampling/SamplingController.h"
#include "testkit/SimRig.h"
#include "ui/eventlog/EventLogBinding.h"
#include "ui/files/FileTransferForm.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <algorithm>

namespace
{
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

class EventLogEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void nightLeavesItsLinesInOrder();
};

void EventLogEndToEnd::nightLeavesItsLinesInOrder()
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

QTEST_MAIN(EventLogEndToEnd)
#include "tst_eventlog_e2e.moc"
