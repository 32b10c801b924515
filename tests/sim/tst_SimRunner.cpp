#include "testkit/SimProcess.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <functional>

// orvantis-sim over a real pseudo-terminal, talked to through QSerialPort as the console
// does. A machine without ptys fails these tests with the reason.

namespace
{

bool openLine(QSerialPort &port, const QString &device, int rate)
{
    port.setPortName(device);
    if (!port.open(QIODevice::ReadWrite))
        return false;
    return port.setBaudRate(rate) && port.setDataBits(QSerialPort::Data8) &&
           port.setParity(QSerialPort::NoParity) && port.setStopBits(QSerialPort::OneStop);
}

// Reads until `done` says the text is complete or `timeoutMs` passes.
QByteArray readUntil(QSerialPort &port, const std::function<bool(const QByteArray &)> &done,
                     int timeoutMs)
{
    QByteArray text;
    const QDeadlineTimer deadline(timeoutMs);
    while (!done(text) && !deadline.hasExpired()) {
        if (port.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            text += port.readAll();
        else if (port.error() != QSerialPort::NoError && port.error() != QSerialPort::TimeoutError)
            break;
    }
    return text;
}

QByteArray readUntil(QSerialPort &port, const QByteArray &needle, int timeoutMs = 5000)
{
    return readUntil(
        port, [&](const QByteArray &text) { return text.contains(needle); }, timeoutMs);
}

bool anyText(const QByteArray &bytes)
{
    for (char c : bytes) {
        if (quint8(c) < 0x80)
            return true;
    }
    return false;
}

} // namespace

class TestSimRunner : public QObject
{
    Q_OBJECT
private slots:
    void answersAtItsOwnRate_data();
    void answersAtItsOwnRate();
    void wrongRateGivesGarbage_data();
    void wrongRateGivesGarbage();
    void rateChangedOnAnOpenLineIsHeard();
    void consoleMayCloseAndReopen();
    void outputIsPacedAtTheLineRate();
    void silentAnswersNothing();
    void noSerialOption();
    void lineGoesAwayWhenHungUpOrKilled_data();
    void lineGoesAwayWhenHungUpOrKilled();
    void linkPointsAtTheDevice();
    void fileStreamsFromTheDiskFolder_data();
    void fileStreamsFromTheDiskFolder();
    void statusAnswersToggleOnSigusr1();
    void settleSecondsBringsStability();
    void recordInputKeepsWhatCameUp();
};

void TestSimRunner::answersAtItsOwnRate_data()
{
    QTest::addColumn<int>("rate");
    QTest::newRow("9600") << 9600;
    QTest::newRow("57600") << 57600;
    QTest::newRow("115200") << 115200;
}

void TestSimRunner::answersAtItsOwnRate()
{
    QFETCH(int, rate);
    SimProcess sim;
    QVERIFY2(sim.start({"--fast", "--baud", QString::number(rate), "--serial", "SN77"}),
             qPrintable(sim.errorString()));
    QSerialPort port;
    QVERIFY2(openLine(port, sim.devicePath(), rate), qPrintable(port.errorString()));

    port.write("\x03\x03\x03");
    QVERIFY(readUntil(port, "ntis>").contains("ntis>"));
    port.write("id\r");
    const QByteArray id = readUntil(port, "firmware");
    QVERIFY2(id.startsWith("id\r\nmodel: "), id.constData());
    QVERIFY(id.contains("serial: SN77\r\n"));
    port.write("st\r");
    const QByteArray st = readUntil(
        port,
        [](const QByteArray &text) {
            const qsizetype at = text.indexOf("st:");
            return at >= 0 && text.indexOf("Orvantis>", at) > at;
        },
        5000);
    QVERIFY2(st.contains("\r\nst:1011,"), st.constData());
}

void TestSimRunner::wrongRateGivesGarbage_data()
{
    QTest::addColumn<int>("simRate");
    QTest::addColumn<int>("lineRate");
    QTest::newRow("line faster") << 9600 << 57600;
    QTest::newRow("line slower") << 115200 << 9600;
}

void TestSimRunner::wrongRateGivesGarbage()
{
    QFETCH(int, simRate);
    QFETCH(int, lineRate);
    SimProcess sim;
    QVERIFY2(sim.start({"--fast", "--baud", QString::number(simRate)}),
             qPrintable(sim.errorString()));
    QSerialPort port;
    QVERIFY2(openLine(port, sim.devicePath(), lineRate), qPrintable(port.errorString()));

    const QByteArray probe("\x03\x03\x03id\r");
    port.write(probe);
    const QByteArray garbage = readUntil(
        port, [&](const QByteArray &text) { return text.size() >= probe.size(); }, 5000);
    QVERIFY(garbage.size() >= probe.size());
    QVERIFY(!garbage.contains("ntis>"));
    QVERIFY(!anyText(garbage));
}

void TestSimRunner::rateChangedOnAnOpenLineIsHeard()
{
    // As the port search does: one open, then each rate in turn.
    SimProcess sim;
    QVERIFY2(sim.start({"--fast", "--baud", "57600"}), qPrintable(sim.errorString()));
    QSerialPort port;
    QVERIFY2(openLine(port, sim.devicePath(), 9600), qPrintable(port.errorString()));
    port.write("\x03\x03\x03");
    QVERIFY(!readUntil(port, "ntis>", 500).contains("ntis>"));
    QVERIFY(port.setBaudRate(57600));
    port.write("\x03\x03\x03");
    QVERIFY(readUntil(port, "ntis>").contains("ntis>"));
}

void TestSimRunner::consoleMayCloseAndReopen()
{
    SimProcess sim;
    QVERIFY2(sim.start({"--fast", "--status-delay-ms", "300"}), qPrintable(sim.errorString()));
    for (int round = 0; round < 3; ++round) {
        QSerialPort port;
        QVERIFY2(openLine(port, sim.devicePath(), 9600), qPrintable(port.errorString()));
        // Nothing of the session before: neither what it left unread nor the status line
        // still to come when it closed. (No ETX first: that would drop the line anyway.)
        QCOMPARE(readUntil(port, "\n", 500), QByteArray());
        port.write("st\r");
        QCOMPARE(readUntil(port, ">"), QByteArray("st\r\nOrvantis>"));
        port.write("id\r");
        QVERIFY(port.waitForBytesWritten(1000));
        port.close();
        QVERIFY(sim.isRunning());
    }
}

void TestSimRunner::outputIsPacedAtTheLineRate()
{
    SimProcess sim;
    QVERIFY2(sim.start({}), qPrintable(sim.errorString()));
    QSerialPort port;
    QVERIFY2(openLine(port, sim.devicePath(), 9600), qPrintable(port.errorString()));
    port.write("\x03");
    readUntil(port, "ntis>");
    QElapsedTimer timer;
    timer.start();
    port.write("id\r");
    const QByteArray id = readUntil(port, "\r\nOrvantis>");
    QVERIFY(id.endsWith("Orvantis>"));
    // 960 bytes per second; half of that time is a generous lower bound on a busy machine.
    QVERIFY2(timer.elapsed() >= id.size() * 1000 / 960 / 2,
             qPrintable(QString::number(timer.elapsed())));
}

void TestSimRunner::silentAnswersNothing()
{
    SimProcess sim;
    QVERIFY2(sim.start({"--silent", "--fast"}), qPrintable(sim.errorString()));
    QSerialPort port;
    QVERIFY2(openLine(port, sim.devicePath(), 9600), qPrintable(port.errorString()));
    port.write("\x03\x03\x03id\r");
    QVERIFY(readUntil(port, "\n", 700).isEmpty());
    QVERIFY(port.setBaudRate(57600)); // not even garbage
    port.write("\x03\x03\x03id\r");
    QVERIFY(readUntil(port, "\x80", 300).isEmpty());
}

void TestSimRunner::noSerialOption()
{
    SimProcess sim;
    QVERIFY2(sim.start({"--no-serial", "--fast"}), qPrintable(sim.errorString()));
    QSerialPort port;
    QVERIFY2(openLine(port, sim.devicePath(), 9600), qPrintable(port.errorString()));
    port.write("id\r");
    const QByteArray id = readUntil(port, "\r\nOrvantis>");
    QVERIFY(id.contains("model:"));
    QVERIFY(!id.contains("serial:"));
}

void TestSimRunner::lineGoesAwayWhenHungUpOrKilled_data()
{
    QTest::addColumn<QStringList>("fault"); // none: the process is killed
    QTest::newRow("hangup-after") << QStringList{"--hangup-after", "0.5"};
    QTest::newRow("process killed") << QStringList{};
    QTest::newRow("hangup-on-probe") << QStringList{"--hangup-on-probe"};
}

void TestSimRunner::lineGoesAwayWhenHungUpOrKilled()
{
    QFETCH(QStringList, fault);
    const bool kill = fault.isEmpty();
    const bool probe = fault.contains("--hangup-on-probe");
    SimProcess sim;
    QVERIFY2(sim.start(QStringList{"--fast"} + fault), qPrintable(sim.errorString()));
    QSerialPort port;
    QVERIFY2(openLine(port, sim.devicePath(), 9600), qPrintable(port.errorString()));
    QSignalSpy errors(&port, &QSerialPort::errorOccurred);
    port.write("\x03");
    QCOMPARE(readUntil(port, "ntis>").contains("ntis>"), !probe);
    if (kill)
        sim.kill();
    // A pty whose master has gone reads as end of file, which QSerialPort reports as a read
    // error (a vanished USB adapter gives a resource error instead).
    QTRY_VERIFY_WITH_TIMEOUT(
        port.error() == QSerialPort::ResourceError || port.error() == QSerialPort::ReadError, 5000);
    QVERIFY(!errors.isEmpty());
    port.close();
    if (!kill) {
        QTRY_VERIFY_WITH_TIMEOUT(!sim.isRunning(), 5000);
        QVERIFY(sim.standardError().contains("line closed"));
    }
}

void TestSimRunner::linkPointsAtTheDevice()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString link = folder.filePath("orvantis0");
    SimProcess sim;
    QVERIFY2(sim.start({"--fast", "--link", link}), qPrintable(sim.errorString()));
    QCOMPARE(QFileInfo(link).symLinkTarget(), sim.devicePath());
    QSerialPort port;
    QVERIFY2(openLine(port, link, 9600), qPrintable(port.errorString()));
    port.write("\x03");
    QVERIFY(readUntil(port, "ntis>").contains("ntis>"));
    port.close();
    sim.stop();
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestSimRunner::fileStreamsFromTheDiskFolder_data()
{
    QTest::addColumn<int>("hangUpAfter"); // < 0: no hang-up
    QTest::newRow("whole file") << -1;
    QTest::newRow("hang-up in the middle") << 1000;
}

void TestSimRunner::fileStreamsFromTheDiskFolder()
{
    QFETCH(int, hangUpAfter);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QStringList arguments{"--fast", "--baud", "115200", "--disk", folder.path()};
    if (hangUpAfter >= 0)
        arguments << "--hangup-type-after" << QString::number(hangUpAfter);
    SimProcess sim;
    QVERIFY2(sim.start(arguments), qPrintable(sim.errorString()));
    QFile stored(folder.filePath("SPECTRA.BIN"));
    QVERIFY(stored.open(QIODevice::ReadOnly)); // the empty folder got the demonstration files
    const QByteArray file = stored.readAll();
    QCOMPARE(file.size(), 102400);

    QSerialPort port;
    QVERIFY2(openLine(port, sim.devicePath(), 115200), qPrintable(port.errorString()));
    const QByteArray echo("type SPECTRA.BIN 0 0 100\r\n");
    port.write("type SPECTRA.BIN 0 0 100\r");
    if (hangUpAfter < 0) {
        const QByteArray whole = echo + file + "Orvantis>";
        const QByteArray got = readUntil(
            port, [&](const QByteArray &text) { return text.size() >= whole.size(); }, 20000);
        QVERIFY(got == whole);
        return;
    }
    QByteArray got = readUntil(
        port, [&](const QByteArray &) { return port.error() == QSerialPort::ReadError; }, 5000);
    got += port.readAll(); // what came in with the hang-up
    QCOMPARE(got.size(), echo.size() + hangUpAfter);
    QVERIFY(got == echo + file.left(hangUpAfter));
    QTRY_VERIFY_WITH_TIMEOUT(!sim.isRunning(), 5000);
    QVERIFY(sim.standardError().contains("line closed"));
}

namespace
{
// Sends "st" and reads up to the prompt that follows.
QByteArray askStatus(QSerialPort &port)
{
    port.write("st\r");
    return readUntil(port, "Orvantis>");
}
} // namespace

void TestSimRunner::statusAnswersToggleOnSigusr1()
{
    SimProcess sim;
    QVERIFY2(sim.start({"--fast"}), qPrintable(sim.errorString()));
    QSerialPort port;
    QVERIFY2(openLine(port, sim.devicePath(), 9600), qPrintable(port.errorString()));
    QVERIFY(askStatus(port).contains("st:"));

    QVERIFY(sim.sendSignal(SIGUSR1));
    QTRY_VERIFY(sim.standardError().contains("status answers off"));
    QCOMPARE(askStatus(port), QByteArray("st\r\nOrvantis>"));

    QVERIFY(sim.sendSignal(SIGUSR1));
    QTRY_VERIFY(sim.standardError().contains("status answers on"));
    QVERIFY(askStatus(port).contains("\r\nst:"));
    QVERIFY(sim.isRunning());
}

void TestSimRunner::settleSecondsBringsStability()
{
    SimProcess sim;
    QVERIFY2(sim.start({"--fast", "--settle-seconds", "1"}), qPrintable(sim.errorString()));
    QSerialPort port;
    QVERIFY2(openLine(port, sim.devicePath(), 9600), qPrintable(port.errorString()));
    const QByteArray first = askStatus(port);
    QVERIFY2(first.contains(",0,"), first.constData());
    // Stable: on target, the ",1," flag, and no light time left.
    QTRY_VERIFY_WITH_TIMEOUT(askStatus(port).contains(",0.00,1,0.0,"), 5000);
}

void TestSimRunner::recordInputKeepsWhatCameUp()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("input.bin");
    SimProcess sim;
    QVERIFY2(sim.start({"--fast", "--record-input", path}), qPrintable(sim.errorString()));
    QSerialPort port;
    QVERIFY2(openLine(port, sim.devicePath(), 9600), qPrintable(port.errorString()));
    port.write("\x03\x03\x03id\r");
    QVERIFY(readUntil(port, "firmware").contains("firmware"));
    QFile input(path);
    QVERIFY(input.open(QIODevice::ReadOnly));
    QCOMPARE(input.readAll(), QByteArray("\x03\x03\x03id\r"));
}

QTEST_GUILESS_MAIN(TestSimRunner)
#include "tst_SimRunner.moc"
