#include "features/sampling/SamplingController.h"
#include "link/CommandTransaction.h"
#include "link/FileCapture.h"
#include "link/ReceiveLoop.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/ScriptedOperator.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace
{
// Records every code set, so a test sees status 2 come and go around a command.
class RecordingStatus : public PlainLinkStatus
{
public:
    int SetStatus(int code, QString *msg = nullptr) override
    {
        codes << code;
        return PlainLinkStatus::SetStatus(code, msg);
    }
    QList<int> codes;
};

const QByteArray kEtx3("\x03\x03\x03");
} // namespace

class SamplingControllerTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sampleOnceFramesFromCrToPrompt();
    void sampleDataLandsInTheDataFileExactly();
    void sampleWithoutFileWarnsForItsDuration_data();
    void sampleWithoutFileWarnsForItsDuration();
    void sampleGivesBackTheStatusTimerState_data();
    void sampleGivesBackTheStatusTimerState();
    void startPeriodicSetsFourAndSendsTheStartCommand();
    void badPeriodIsRefusedWithNothingSent_data();
    void badPeriodIsRefusedWithNothingSent();
    void stopWritesThreeEtxAndSetsIdle();
    void longFlashNameIsCutOnceWithAMessage_data();
    void longFlashNameIsCutOnceWithAMessage();

private:
    // The instrument: echoes the command, sends `data`, then its prompt.
    void answerWith(const QByteArray &data)
    {
        m_port.setResponder([this, data](const QByteArray &command) {
            m_port.feed(command + '\n' + data + "Orvantis>");
        });
    }

    ProgramState *m_state = nullptr;
    MemoryCommPort m_port;
    RecordingStatus m_status;
    ScriptedOperator *m_dialogs = nullptr;
    FileCapture *m_capture = nullptr;
    ReceiveLoop *m_loop = nullptr;
    CommandTransaction *m_transaction = nullptr;
    SamplingController *m_sampling = nullptr;
    QTimer m_timer1;
};

void SamplingControllerTest::init()
{
    m_state = new ProgramState;
    m_port = MemoryCommPort();
    m_port.open();
    m_status.SetStatus(LinkStatus::Idle);
    m_status.codes.clear();
    m_dialogs = new ScriptedOperator;
    m_capture = new FileCapture(*m_state);
    m_loop = new ReceiveLoop(*m_state, m_port, *m_capture, m_status);
    m_transaction = new CommandTransaction(*m_state, m_port, m_status);
    m_sampling = new SamplingController(*m_state, m_port, m_status, *m_transaction, *m_dialogs);
    // The receive loop runs more often than in the program to keep the tests short.
    m_timer1.setInterval(20);
    connect(&m_timer1, &QTimer::timeout, this, [this] { m_loop->run(); });
    m_timer1.start();
}

void SamplingControllerTest::cleanup()
{
    m_timer1.stop();
    m_timer1.disconnect();
    delete m_sampling;
    delete m_transaction;
    delete m_loop;
    delete m_capture;
    delete m_dialogs;
    delete m_state;
}

void SamplingControllerTest::sampleOnceFramesFromCrToPrompt()
{
    answerWith("12,34\r\n");
    SamplingSettings settings;
    settings.average = true;
    settings.averageSamples = "5";

    const QByteArray reply = m_sampling->SampleOnce(settings);
    QCOMPARE(m_port.written(), QByteArray("Acquire auto,5,1,\"\",0,-1,2\r"));
    QCOMPARE(reply, QByteArray("\r\n12,34\r\nOrvantis"));
    QCOMPARE(m_status.codes, (QList<int>{2, 1}));
}

void SamplingControllerTest::sampleDataLandsInTheDataFileExactly()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("sample.raw");
    QVERIFY(m_state->dataFile.open(path));
    QByteArray data;
    for (int i = 0; i < 256; ++i)
        data.append(char(i));
    data += "\r\n";
    answerWith(data);

    m_sampling->SampleOnce(SamplingSettings());
    QVERIFY(m_state->dataFile.close());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), "Acquire auto,1,1,\"\",0,-1,2\r\n" + data + "Orvantis>");
}

void SamplingControllerTest::sampleWithoutFileWarnsForItsDuration_data()
{
    QTest::addColumn<bool>("fileOpen");
    QTest::newRow("no file") << false;
    QTest::newRow("file open") << true;
}

void SamplingControllerTest::sampleWithoutFileWarnsForItsDuration()
{
    QFETCH(bool, fileOpen);
    QTemporaryDir dir;
    if (fileOpen)
        QVERIFY(m_state->dataFile.open(dir.filePath("w.raw")));
    bool warnedDuringCommand = false;
    m_port.setResponder([&](const QByteArray &) {
        warnedDuringCommand = m_sampling->savingWarning();
        m_port.feed("\r\nOrvantis>");
    });
    QSignalSpy looks(m_sampling, &SamplingController::savingWarningChanged);

    m_sampling->SampleOnce(SamplingSettings());
    QCOMPARE(warnedDuringCommand, !fileOpen);
    QVERIFY(!m_sampling->savingWarning());
    QCOMPARE(looks.last().at(0).toBool(), false);
    QCOMPARE(looks.size(), fileOpen ? 1 : 2);
}

void SamplingControllerTest::sampleGivesBackTheStatusTimerState_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::newRow("enabled") << true;
    QTest::newRow("disabled") << false;
}

void SamplingControllerTest::sampleGivesBackTheStatusTimerState()
{
    QFETCH(bool, enabled);
    bool timerEnabled = enabled;
    m_sampling->setStatusTimerAccess([&] { return timerEnabled; },
                                     [&](bool on) { timerEnabled = on; });
    // Something during the wait flips the timer; the sample puts it back.
    m_port.setResponder([&](const QByteArray &) {
        timerEnabled = !enabled;
        m_port.feed("\r\nOrvantis>");
    });
    m_sampling->SampleOnce(SamplingSettings());
    QCOMPARE(timerEnabled, enabled);
}

void SamplingControllerTest::startPeriodicSetsFourAndSendsTheStartCommand()
{
    answerWith("");
    SamplingSettings settings;
    settings.sampleDelay = "2.5";
    QVERIFY(m_sampling->StartPeriodic(settings));
    QCOMPARE(m_port.written(), QByteArray("start 2.5 Acquire auto,1,1,\"\",0,-1,2\r"));
    QCOMPARE(m_status.codes, (QList<int>{4, 2, 4}));
    QCOMPARE(m_status.Status(), int(LinkStatus::PeriodicSampling));
    QCOMPARE(m_state->ReceiveBuffer,
             QByteArray("start 2.5 Acquire auto,1,1,\"\",0,-1,2\r\nOrvantis"));
    // No file is open: the warning stays on after the start, until Stop.
    QVERIFY(m_sampling->savingWarning());
    m_sampling->Stop();
    QVERIFY(!m_sampling->savingWarning());
}

void SamplingControllerTest::badPeriodIsRefusedWithNothingSent_data()
{
    QTest::addColumn<QString>("period");
    QTest::newRow("empty") << "";
    QTest::newRow("letters") << "abc";
    QTest::newRow("number then letters") << "10 s";
}

void SamplingControllerTest::badPeriodIsRefusedWithNothingSent()
{
    QFETCH(QString, period);
    SamplingSettings settings;
    settings.sampleDelay = period;
    QSignalSpy looks(m_sampling, &SamplingController::savingWarningChanged);

    QVERIFY(!m_sampling->StartPeriodic(settings));
    QCOMPARE(m_port.written(), QByteArray());
    QVERIFY(m_status.codes.isEmpty());
    QCOMPARE(looks.size(), 0);
    QCOMPARE(m_dialogs->errors, QStringList{SamplingController::badPeriodMessage()});
}

void SamplingControllerTest::stopWritesThreeEtxAndSetsIdle()
{
    // Also while not sampling: the ETX go out and the status becomes 1.
    m_status.SetStatus(LinkStatus::PeriodicSampling);
    m_state->ReceiveBuffer = "sample in flight";
    m_sampling->Stop();
    QCOMPARE(m_port.written(), kEtx3);
    QCOMPARE(m_status.Status(), int(LinkStatus::Idle));
    QCOMPARE(m_state->ReceiveBuffer, QByteArray("sample in flight"));

    m_sampling->Stop();
    QCOMPARE(m_port.written(), kEtx3 + kEtx3);
    QCOMPARE(m_status.Status(), int(LinkStatus::Idle));
}

void SamplingControllerTest::longFlashNameIsCutOnceWithAMessage_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("messages");
    QTest::newRow("12 characters pasted") << "ABCDEFGHIJKL"
                                          << "ABCDEFGH" << 1;
    QTest::newRow("exactly 8") << "ABCDEFGH"
                               << "ABCDEFGH" << 0;
    QTest::newRow("short") << "RUN"
                           << "RUN" << 0;
}

void SamplingControllerTest::longFlashNameIsCutOnceWithAMessage()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(int, messages);
    const QString cut = m_sampling->FlashFilenameChanged(typed);
    QCOMPARE(cut, kept);
    // The box's second change, to the cut text, asks nothing more.
    QCOMPARE(m_sampling->FlashFilenameChanged(cut), kept);
    QCOMPARE(m_dialogs->messages.size(), messages);
    if (messages)
        QCOMPARE(m_dialogs->messages.first(),
                 QString("Orvantis Console: Flash file names are limited to 8 characters "
                         "(extension is added automatically)"));

    // Sample Once then sends the first 7.
    SamplingSettings settings;
    settings.storeInFlash = true;
    settings.flashFileName = cut;
    answerWith("");
    m_sampling->SampleOnce(settings);
    QCOMPARE(m_port.written(), "Acquire auto,1,1," + kept.left(7).toLatin1() + ",0,-1,4\r");
}

QTEST_GUILESS_MAIN(SamplingControllerTest)
#include "tst_samplingcontroller.moc"
