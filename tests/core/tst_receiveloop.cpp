#include "link/FileCapture.h"
#include "link/ReceiveLoop.h"
#include "testkit/MemoryCommPort.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class ReceiveLoopTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyByteValueReachesTheDataFileUnchanged();
    void displayTextShowsPrintablesAndDotsForTheRest_data();
    void displayTextShowsPrintablesAndDotsForTheRest();
    void bufferAtItsCapIsCutAndTheNewCharacterDropped();
    void captureClosesTheFileAtItsLength();
    void captureShowsAProgressLineInsteadOfData();
    void fileWithoutLimitStaysOpen();
    void statusLineSplitOverTwoRunsIsStillPassedOn();
    void onlyLinesHoldingStatusArePassedOn();
    void lampColours();
    void failedWriteIsReportedOnceAndTheFileClosed();
    void lostPortIsClosedAndReportedOnce();

private:
    QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    QTemporaryDir m_dir;
    ProgramState *m_state = nullptr;
    MemoryCommPort *m_port = nullptr;
    PlainLinkStatus *m_status = nullptr;
    FileCapture *m_capture = nullptr;
    ReceiveLoop *m_loop = nullptr;
    QString m_display;
    QList<QByteArray> m_statusLines;
    QStringList m_errors;
    QStringList m_lost;
};

void ReceiveLoopTest::init()
{
    m_state = new ProgramState;
    m_port = new MemoryCommPort;
    m_port->open();
    m_status = new PlainLinkStatus;
    m_status->SetStatus(LinkStatus::Idle);
    m_capture = new FileCapture(*m_state);
    m_loop = new ReceiveLoop(*m_state, *m_port, *m_capture, *m_status);
    m_display.clear();
    m_statusLines.clear();
    m_errors.clear();
    m_lost.clear();
    m_loop->setDisplaySink([this](const QString &text) { m_display += text; });
    m_loop->setStatusLineSink([this](const QByteArray &line) { m_statusLines << line; });
    m_loop->setErrorSink([this](const QString &text) { m_errors << text; });
    m_loop->setPortLostSink([this](const QString &text) { m_lost << text; });
}

void ReceiveLoopTest::cleanup()
{
    delete m_loop;
    delete m_capture;
    delete m_status;
    delete m_port;
    delete m_state;
}

void ReceiveLoopTest::everyByteValueReachesTheDataFileUnchanged()
{
    const QString path = m_dir.filePath("all.raw");
    QVERIFY(m_state->dataFile.open(path));
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    m_port->feed(all.left(100));
    m_loop->run();
    // On disk within one run, before the file is closed.
    QCOMPARE(readFile(path), all.left(100));
    m_port->feed(all.mid(100));
    m_loop->run();
    m_state->dataFile.close();
    QCOMPARE(readFile(path), all);
    QCOMPARE(m_state->ReceiveBuffer, all);
    QCOMPARE(m_capture->byteCount(), 256);
}

void ReceiveLoopTest::displayTextShowsPrintablesAndDotsForTheRest_data()
{
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letters and CR LF") << QByteArray("abc\r\n") << QString("abc\r\n");
    QTest::newRow("bell") << QByteArray("a\x07"
                                        "b")
                          << QString("a.b");
    QTest::newRow("lone LF dropped") << QByteArray("a\nb") << QString("ab");
    QTest::newRow("NUL, DEL, high bytes") << QByteArray("\0\x7f\x80\xff", 4) << QString(".\x7f..");
    QTest::newRow("lone CR") << QByteArray("x\ry") << QString("x\r\ny");
}

void ReceiveLoopTest::displayTextShowsPrintablesAndDotsForTheRest()
{
    QFETCH(QByteArray, received);
    QFETCH(QString, shown);
    m_port->feed(received);
    m_loop->run();
    QCOMPARE(m_display, shown);
    QCOMPARE(m_state->ReceiveBuffer, received);
}

void ReceiveLoopTest::bufferAtItsCapIsCutAndTheNewCharacterDropped()
{
    m_state->ReceiveBuffer = QByteArray(65536, 'a');
    m_port->feed("Z");
    m_loop->run();
    QCOMPARE(m_state->ReceiveBuffer.size(), 32768);
    QVERIFY(!m_state->ReceiveBuffer.contains('Z'));

    m_state->ReceiveBuffer = QByteArray(65535, 'a');
    m_port->feed("Z");
    m_loop->run();
    QCOMPARE(m_state->ReceiveBuffer.size(), 65536);
    QVERIFY(m_state->ReceiveBuffer.endsWith('Z'));
}

void ReceiveLoopTest::captureClosesTheFileAtItsLength()
{
    const QString path = m_dir.filePath("capture.bin");
    QVERIFY(m_state->dataFile.open(path));
    m_capture->PrepForFileCapture(1000);
    QByteArray payload(1000, 'x');
    m_port->feed(payload + "Orvantis>");
    m_loop->run();
    QVERIFY(!m_state->dataFile.isOpen());
    QVERIFY(!m_capture->CaptureActive());
    QCOMPARE(m_capture->CaptureLength(), 0);
    QCOMPARE(readFile(path), payload);
    QCOMPARE(m_capture->byteCount(), 1009);
    // What follows the capture is shown as data again.
    QVERIFY(m_display.endsWith("Orvantis>"));
}

void ReceiveLoopTest::captureShowsAProgressLineInsteadOfData()
{
    QVERIFY(m_state->dataFile.open(m_dir.filePath("progress.bin")));
    m_capture->PrepForFileCapture(5000);
    m_port->feed(QByteArray(300, 'y'));
    m_loop->run();
    QCOMPARE(m_display, QString("300 bytes received\r\n"));
    m_state->dataFile.close();
}

void ReceiveLoopTest::fileWithoutLimitStaysOpen()
{
    QVERIFY(m_state->dataFile.open(m_dir.filePath("open.raw")));
    m_capture->PrepForFileCapture(0);
    m_capture->EndFileCapture();
    QVERIFY(!m_state->dataFile.isOpen());

    QVERIFY(m_state->dataFile.open(m_dir.filePath("open.raw")));
    m_port->feed(QByteArray(100000, 's'));
    m_loop->run();
    QVERIFY(m_state->dataFile.isOpen());
    m_state->dataFile.close();
    QCOMPARE(readFile(m_dir.filePath("open.raw")).size(), 100000);
}

void ReceiveLoopTest::statusLineSplitOverTwoRunsIsStillPassedOn()
{
    m_port->feed("st\r\nst: 1,2,");
    m_loop->run();
    QVERIFY(m_statusLines.isEmpty());
    m_port->feed("3,4,21.5\r\nOrvantis>");
    m_loop->run();
    QCOMPARE(m_statusLines, (QList<QByteArray>{"st: 1,2,3,4,21.5\r\n"}));
}

void ReceiveLoopTest::onlyLinesHoldingStatusArePassedOn()
{
    m_port->feed("id\r\nserial: 9\r\nxx st: 0,0\r\nst: 1,1\r\n");
    m_loop->run();
    QCOMPARE(m_statusLines, (QList<QByteArray>{"st: 0,0\r\n", "st: 1,1\r\n"}));
}

void ReceiveLoopTest::lampColours()
{
    m_port->feed("a");
    QCOMPARE(m_loop->run(), ReceiveLoop::Lamp::Yellow);
    QCOMPARE(m_loop->run(), ReceiveLoop::Lamp::Green);
    m_status->SetStatus(LinkStatus::CommandInProgress);
    QCOMPARE(m_loop->run(), ReceiveLoop::Lamp::ButtonFace);
    m_port->close();
    m_status->SetStatus(LinkStatus::NotConnected);
    QCOMPARE(m_loop->run(), ReceiveLoop::Lamp::ButtonFace);
}

void ReceiveLoopTest::failedWriteIsReportedOnceAndTheFileClosed()
{
    if (!QFile::exists("/dev/full"))
        QFAIL("this test needs /dev/full to stand in for a full disk");
    QVERIFY(m_state->dataFile.open("/dev/full"));
    m_port->feed("sample 1\r\n");
    m_loop->run();
    m_port->feed("sample 2\r\n");
    m_loop->run();
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().startsWith("Error 61; Disk full"), qPrintable(m_errors.first()));
    QVERIFY(!m_state->dataFile.isOpen());
    // Nothing that arrived is lost from the buffer.
    QCOMPARE(m_state->ReceiveBuffer, QByteArray("sample 1\r\nsample 2\r\n"));
}

void ReceiveLoopTest::lostPortIsClosedAndReportedOnce()
{
    m_port->feed("last words\r\n");
    m_port->fail("device removed");
    m_loop->run();
    m_loop->run();
    m_loop->run();
    QCOMPARE(m_lost, QStringList{"device removed"});
    QVERIFY(!m_port->isOpen());
    QCOMPARE(m_state->ReceiveBuffer, QByteArray("last words\r\n"));
}

QTEST_GUILESS_MAIN(ReceiveLoopTest)
#include "tst_receiveloop.moc"
