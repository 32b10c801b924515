// The receive path against orvantis-sim over a real pseudo-terminal: wherever a wait is
// entered from, the receive loop reads the replies it waits for; a stalled window loses no
// byte; the terminal stays bounded after a burst.
#include "testkit/SimConsole.h"
#include "testkit/TestSettings.h"
#include "ui/files/FileTransferForm.h"
#include "ui/mainwindow/MainForm.h"
#include "ui/terminal/TerminalForm.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
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
} // namespace

class WaitsEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void replyIsReadWhenTheClickCameInsideTheReceiveTimer();

    void closingEndsTheWaitAtOnce_data();
    void closingEndsTheWaitAtOnce();
    void stalledWindowLosesNoByte();
    void terminalStaysBoundedAfterABurst();

private:
    // Connects at 115200 with polling off and a data file open, so the file holds exactly
    // what the instrument streams.
    bool startStreaming(SimConsole &rig, const QString &file);

    QTemporaryDir m_dir;
};

void WaitsEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
}

void WaitsEndToEnd::replyIsReadWhenTheClickCameInsideTheReceiveTimer()
{
    SimConsole rig({"--fast"});
    QVERIFY2(rig.ok(), qPrintable(rig.error()));
    QVERIFY(rig.connect());
    FileTransferForm *window = rig.openFiles();
    QVERIFY(window && window->fileCount() > 0);
    const int files = window->fileCount();

    ClickInsideTimer click(rig.c().session.findChild<QTimer *>("Timer1"), window->RefreshButton());
    QElapsedTimer elapsed;
    elapsed.start();
    // The refresh empties the grid, waits for "Dir /V" and fills it again; its 10 s time-out
    // would leave the grid empty.
    QTRY_VERIFY_WITH_TIMEOUT(click.clicked, 2000);
    QTRY_VERIFY_WITH_TIMEOUT(window->fileCount() == files && window->RefreshButton()->isEnabled(),
                             8000);
    QVERIFY2(elapsed.elapsed() < 8000, qPrintable(QString::number(elapsed.elapsed())));
}

enum class During { Sample, Download, Upload, UploadStarting, CalCheckLit, CalCheckDark };
Q_DECLARE_METATYPE(During)

void WaitsEndToEnd::closingEndsTheWaitAtOnce_data()
{
    QTest::addColumn<During>("during");
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QByteArray>("stop");
    const QStringList slowSpectra{"--baud", "57600", "--spectrum-ms", "30000"};
    const QByteArray etx("\x03\x03\x03");
    QTest::newRow("sample") << During::Sample << slowSpectra << etx;
    QTest::newRow("download") << During::Download << slowSpectra << etx;
    QTest::newRow("upload") << During::Upload << slowSpectra << QByteArray("\x1a\x1a");
    // "capture" has gone out; its "Capture>" is still to come.
    QTest::newRow("upload, before its prompt")
        << During::UploadStarting << QStringList{"--fast"} << QByteArray("\x1a\x1a");
    // The light source is switched on again only when the cal check had it off.
    QTest::newRow("cal check, light on")
        << During::CalCheckLit << QStringList{"--stable", "--fast"} << etx;
    QTest::newRow("cal check, dark set")
        << During::CalCheckDark << QStringList{"--stable", "--fast"} << etx + "lpower,1\r";
}

// Exit during an operation's wait: the instrument is told to stop, the port is free and the
// operation returns at once, leaving nothing for the event loop to wait on. Each would
// otherwise run on for many seconds (a 30 s spectrum, 100 kB at 57600 baud, 1000 lines);
// the bound leaves a loaded machine room.
void WaitsEndToEnd::closingEndsTheWaitAtOnce()
{
    QFETCH(During, during);
    QFETCH(QStringList, simulator);
    QFETCH(QByteArray, stop);
    const QString heard = m_dir.filePath(QStringLiteral("heard%1").arg(int(during)));
    SimConsole rig(simulator + QStringList{"--record-input", heard});
    QVERIFY2(rig.ok(), qPrintable(rig.error()));
    QVERIFY(rig.connect());
    MainForm &form = rig.c().form;
    rig.c().session.setDefaultDataFolder(m_dir.path());
    QElapsedTimer sinceClose;
    const auto closeWhen = [&](std::function<bool()> condition) {
        rig.when(std::move(condition), [&] {
            sinceClose.start();
            form.close();
        });
    };

    switch (during) {
    case During::Sample:
        closeWhen([&] { return rig.session().Status() == StatusCode::CommandInProgress; });
        QTest::mouseClick(form.controls().SampleOnceButton, Qt::LeftButton);
        break;
    case During::Download: {
        FileTransferForm *window = rig.openFiles();
        QVERIFY(window);
        rig.clickRow(rig.rowOf("SPECTRA.BIN"));
        closeWhen([&] { return rig.session().byteCount() > 1500; });
        QTest::mouseClick(window->GetFilesButton(), Qt::LeftButton);
        break;
    }
    case During::CalCheckLit:
    case During::CalCheckDark:
        rig.stopPolling();
        rig.dialogs.questionAnswers << 1 << 1;
        rig.dialogs.pathAnswers.enqueue(m_dir.filePath("cal.raw"));
        closeWhen([&] {
            if (rig.session().lineOwner() != LineOperation::CalCheck)
                return false;
            if (during == During::CalCheckLit)
                return rig.session().ReceiveBuffer().count(',') > 10;
            QFile input(heard);
            return input.open(QIODevice::ReadOnly) && input.readAll().contains("lpower,0");
        });
        form.controls().CalCheckMenuItem->trigger();
        break;
    case During::Upload:
    case During::UploadStarting: {
        const QString local = m_dir.filePath("NOTES.TXT");
        QFile file(local);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int line = 0; line < 1000; ++line)
            file.write(QByteArray("line ") + QByteArray::number(line) + "\r\n");
        file.close();
        FileTransferForm *window = rig.openFiles();
        QVERIFY(window);
        rig.dialogs.pathAnswers.enqueue(local);
        if (during == During::Upload)
            closeWhen([&] { return !window->ProgressLabel()->text().isEmpty(); });
        else
            closeWhen([&] { return rig.session().ReceiveBuffer().contains("capture"); });
        QTest::mouseClick(window->SendFileButton(), Qt::LeftButton);
        break;
    }
    }

    QVERIFY(rig.fired());
    QVERIFY2(sinceClose.elapsed() < 5000, qPrintable(QString::number(sinceClose.elapsed())));
    QVERIFY(!rig.comm->isOpen());
    QVERIFY(!form.isVisible());
    const auto heardTail = [&heard] {
        QFile input(heard);
        return input.open(QIODevice::ReadOnly) ? input.readAll().right(32) : QByteArray();
    };
    QTRY_VERIFY2(heardTail().endsWith(stop), heardTail().toHex().constData());
}

bool WaitsEndToEnd::startStreaming(SimConsole &rig, const QString &file)
{
    if (!rig.ok() || !rig.connect())
        return false;
    rig.c().form.controls().StatusCheck->setChecked(false);
    rig.dialogs.pathAnswers.enqueue(file);
    QTest::mouseClick(rig.c().form.controls().NewFileButton, Qt::LeftButton);
    return rig.c().session.dataFile().isOpen();
}

void WaitsEndToEnd::stalledWindowLosesNoByte()
{
    const QString file = m_dir.filePath("stall.raw");
    const QString record = m_dir.filePath("stall.line");
    SimConsole rig({"--baud", "115200", "--record", record});
    QVERIFY2(startStreaming(rig, file), qPrintable(rig.error()));
    constexpr int kBytes = 40000; // 3.5 s at the line rate
    QVERIFY(rig.sim.stream(kBytes, false));

    // The window hangs for 2 s while the line keeps coming.
    QTest::qWait(500);
    QThread::sleep(2);

    QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(file).size(), qint64(kBytes), 10000);
    QFile line(record);
    QVERIFY(line.open(QIODevice::ReadOnly));
    QFile filed(file);
    QVERIFY(filed.open(QIODevice::ReadOnly));
    QCOMPARE(filed.readAll(), line.readAll().right(kBytes));
}

void WaitsEndToEnd::terminalStaysBoundedAfterABurst()
{
    const QString file = m_dir.filePath("burst.raw");
    SimConsole rig({"--baud", "115200"});
    QVERIFY2(startStreaming(rig, file), qPrintable(rig.error()));
    const TerminalText &terminal = rig.c().terminal.terminalText();
    // What the operator sees of the end of the stream.
    const auto shownTail = [&file](int characters) {
        QFile filed(file);
        filed.open(QIODevice::ReadOnly);
        QString shown;
        for (const char c : filed.readAll().right(characters)) {
            if (c == '\r')
                shown += QStringLiteral("\r\n");
            else if (c != '\n')
                shown += uchar(c) >= 32 && uchar(c) <= 127 ? QChar::fromLatin1(c) : QChar('.');
        }
        return shown;
    };

    constexpr int kBurst = 2'000'000;
    QVERIFY(rig.sim.stream(kBurst, true));
    QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(file).size(), qint64(kBurst), 30000);
    QVERIFY(terminal.text().size() <= TerminalText::kMaxLength);
    QVERIFY(terminal.text().endsWith(shownTail(1000)));

    for (int run = 1; run <= 3; ++run) {
        QVERIFY(rig.sim.stream(500, false));
        QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(file).size(), qint64(kBurst + 500 * run), 5000);
        QTRY_VERIFY(terminal.text().endsWith(shownTail(400)));
        QVERIFY(terminal.text().size() <= TerminalText::kMaxLength);
    }
}

QTEST_MAIN(WaitsEndToEnd)
#include "tst_waits_e2e.moc"
