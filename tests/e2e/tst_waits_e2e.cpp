// The receive path against orvantis-sim over a real pseudo-terminal: wherever a wait is
// entered from, the receive loop reads the replies it waits for; closing ends every wait at
// once; a stalled window loses no byte.
#include "testkit/SimRig.h"
#include "ui/files/FileTransferForm.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QtTest>

namespace
{
// Queues a click on `button` the moment the receive timer's event arrives, so the click is
// handled inside the timer's own handler (its first step lets pending events run).
class ClickInsideTimer : public QObject
{
public:
    ClickInsideTimer(QTimer *timer, QAbstractButton *button) : m_timer(timer), m_button(button)
    {
        qApp->installEventFilter(this);
    }
    bool clicked = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!clicked && watched == m_timer && event->type() == QEvent::Timer) {
            clicked = true;
            QMetaObject::invokeMethod(m_button, &QAbstractButton::click, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QTimer *m_timer;
    QAbstractButton *m_button;
};

enum class During { Sample, Download, Upload, UploadStarting, CalCheckLit, CalCheckDark };
} // namespace

Q_DECLARE_METATYPE(During)

class WaitsEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void replyIsReadWhenTheClickCameInsideTheReceiveTimer();
    void closingEndsTheWaitAtOnce_data();
    void closingEndsTheWaitAtOnce();
    void stalledWindowLosesNoByte();
};

void WaitsEndToEnd::replyIsReadWhenTheClickCameInsideTheReceiveTimer()
{
    SimRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    QVERIFY(rig.openFiles());
    const auto names = [&rig] {
        QStringList shown;
        for (int row = 0; row < rig.grid()->rowCount(); ++row)
            shown << rig.grid()->item(row, 0)->text();
        return shown;
    };
    const QStringList listed = names();
    QCOMPARE(listed.size(), 3);
    // The refresh empties the grid, waits for "Dir /V" and fills it again; had it to wait
    // for its time-out, the grid would be empty or show the echo as a file.
    ClickInsideTimer click(rig.session().findChild<QTimer *>("Timer1"),
                           buttonCaptioned(rig.c().files.window(), "Refresh"));
    QTRY_VERIFY(click.clicked);
    QTRY_VERIFY(buttonCaptioned(rig.c().files.window(), "Refresh")->isEnabled());
    QCOMPARE(names(), listed);
}

void WaitsEndToEnd::closingEndsTheWaitAtOnce_data()
{
    QTest::addColumn<During>("during");
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QByteArray>("stop");
    const QStringList slowSpectra{"--spectrum-ms", "60000"};
    const QByteArray etx("\x03\x03\x03");
    QTest::newRow("sample") << During::Sample << slowSpectra << etx;
    QTest::newRow("download") << During::Download << slowSpectra << etx;
    QTest::newRow("upload") << During::Upload << slowSpectra << QByteArray("\x1a\x1a");
    // "capture" has gone out; its "Capture>" is still to come.
    QTest::newRow("upload, before its prompt")
        << During::UploadStarting << QStringList{"--fast"} << QByteArray("\x1a\x1a");
    // The light source is switched on again only when the cal check had it off.
    const QStringList stable{"--stable", "--fast"};
    QTest::newRow("cal check, light on") << During::CalCheckLit << stable << etx;
    QTest::newRow("cal check, dark set") << During::CalCheckDark << stable << etx + "lpower,1\r";
}

// Exit during an operation's wait: the instrument is told to stop, the port is free and the
// operation returns at once, leaving nothing for the event loop to wait on. Each would
// otherwise run on for more than a minute (a 60 s spectrum, 100 kB at 9600 baud, 1000 lines
// at 9600 baud); the cal check would go on to its end and say so.
void WaitsEndToEnd::closingEndsTheWaitAtOnce()
{
    QFETCH(During, during);
    QFETCH(QStringList, simulator);
    QFETCH(QByteArray, stop);
    SimRig rig(simulator);
    QVERIFY(writeFile(rig.local("NOTES.TXT"), textLines(1000)));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    QElapsedTimer sinceClose;
    const auto closeWhen = [&](std::function<bool()> condition) {
        rig.when(std::move(condition), [&] {
            sinceClose.start();
            rig.trigger("Exit");
        });
    };
    switch (during) {
    case During::Sample:
        closeWhen([&] { return rig.status() == StatusCode::CommandInProgress; });
        rig.click("Sample Once");
        break;
    case During::Download:
        QVERIFY(rig.openFiles());
        rig.select("SPECTRA.BIN");
        closeWhen([&] { return probe::byteCount(rig.session()) > 1500; });
        rig.clickFiles("Get Files");
        break;
    case During::CalCheckLit:
    case During::CalCheckDark:
        rig.dialogs.questionAnswers << 1 << 1;
        rig.dialogs.pathAnswers.enqueue(rig.path("cal.raw"));
        closeWhen([&] {
            if (rig.session().lineOwner() != LineOperation::CalCheck)
                return false;
            if (during == During::CalCheckLit)
                return probe::receiveBuffer(rig.session()).count(',') > 10;
            return rig.heard().contains("lpower,0");
        });
        rig.trigger("Collect Cal Check Data...");
        break;
    case During::Upload:
    case During::UploadStarting: {
        FileTransferForm *window = rig.openFiles();
        QVERIFY(window);
        rig.dialogs.pathAnswers.enqueue(rig.local("NOTES.TXT"));
        if (during == During::Upload)
            closeWhen([&] { return !window->ProgressLabel()->text().isEmpty(); });
        else
            closeWhen([&] { return probe::receiveBuffer(rig.session()).contains("capture"); });
        rig.clickFiles("Send File...");
        break;
    }
    }
    QVERIFY(rig.fired());
    // Far less than any of them would have taken.
    QVERIFY2(sinceClose.elapsed() < 30000, qPrintable(QString::number(sinceClose.elapsed())));
    QVERIFY(!rig.comm->isOpen());
    const bool calCheck = during == During::CalCheckLit || during == During::CalCheckDark;
    QCOMPARE(rig.dialogs.questions.size(), calCheck ? 2 : 0);
    QVERIFY(!rig.c().form.isVisible());
    QTRY_VERIFY2(rig.heard().endsWith(stop), rig.heard().right(32).toHex().constData());
}

void WaitsEndToEnd::stalledWindowLosesNoByte()
{
    SimRig rig(RigOptions({"--baud", "115200"}));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const QString file = rig.path("stall.raw");
    QVERIFY(rig.openDataFile(file));
    QTRY_VERIFY(rig.sent().endsWith("Orvantis>"));
    const qsizetype before = rig.sent().size();
    constexpr int kBytes = 40000; // 3.5 s at the line rate
    QVERIFY(rig.sim.stream(kBytes, false));
    // The window hangs, without running a single event, while more than a third of the
    // stream comes down the line.
    QElapsedTimer ceiling;
    ceiling.start();
    while (QFileInfo(rig.path("sent.bin")).size() < before + kBytes / 3 &&
           ceiling.elapsed() < 60000)
        QThread::msleep(20);
    QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(file).size(), qint64(kBytes), 30000);
    QCOMPARE(fileBytes(file), rig.sent().mid(before));
}

QTEST_MAIN(WaitsEndToEnd)
#include "tst_waits_e2e.moc"
