#include "FakeProgress.h"
#include "ScriptedInstrument.h"
#include "features/calcheck/CalCheck.h"
#include "features/status/StatusParser.h"
#include "link/FileCapture.h"
#include "link/ReceiveLoop.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/ScriptedOperator.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace
{
const QByteArray kEtx3("\x03\x03\x03");
const QByteArray kStable("st:1011,0,1,0,20");
const QByteArray kSettling("st:1011,0,0,120,20");

QList<int> ones(int count)
{
    return QList<int>(count, 1);
}
} // namespace

// Counts the display refreshes: SetStatus with the current code and a message to fill.
class RecordingStatus : public PlainLinkStatus
{
public:
    int SetStatus(int code, QString *statusMsg = nullptr) override
    {
        if (statusMsg && code == Status())
            ++refreshes;
        return PlainLinkStatus::SetStatus(code, statusMsg);
    }
    int refreshes = 0;
};

// Records the captions and default button too.
class RecordingOperator : public ScriptedOperator
{
public:
    int ShowQuestionBox(const QString &question, const QString &caption1, const QString &caption2,
                        const QString &caption3, int defaultButton) override
    {
        asked << QStringList{question, caption1, caption2, caption3, QString::number(defaultButton)}
                     .join(QLatin1Char('|'));
        return ScriptedOperator::ShowQuestionBox(question, caption1, caption2, caption3,
                                                 defaultButton);
    }
    QStringList asked;
};

class CalCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void completeRunRecordsEverythingAndSwitchesTheLightOn();
    void endsBeforeCollecting_data();
    void endsBeforeCollecting();
    void notStabilizedShowsTheNoticeAndOpensNoFile_data();
    void notStabilizedShowsTheNoticeAndOpensNoFile();
    void stopEndsCleanlyInEveryPhase_data();
    void stopEndsCleanlyInEveryPhase();
    void stopWhileReceivingSpectralDataHasNoEffect_data();
    void stopWhileReceivingSpectralDataHasNoEffect();
    void phaseBarNeverPassesItsMaximum_data();
    void phaseBarNeverPassesItsMaximum();
    void silentInstrumentWaitsForStopWithoutTimeOut();

private:
    QByteArray fileContent() const;
    void answer(std::initializer_list<int> answers)
    {
        for (int a : answers)
            m_operator->questionAnswers.enqueue(a);
    }
    void verifyCleanEnd();

    QTemporaryDir m_dir;
    ProgramState *m_state = nullptr;
    MemoryCommPort *m_port = nullptr;
    RecordingStatus *m_status = nullptr;
    FileCapture *m_capture = nullptr;
    ReceiveLoop *m_loop = nullptr;
    CommandTransaction *m_transaction = nullptr;
    StatusParser *m_parser = nullptr;
    ScriptedInstrument *m_instrument = nullptr;
    RecordingOperator *m_operator = nullptr;
    CalCheck *m_calCheck = nullptr;
    QTimer *m_tick = nullptr;
    ProgressRecord m_progress;
    bool m_timerEnabled = true;
    int m_timerSets = 0;
    int m_openResult = 1;
    int m_openCalls = 0;
    qsizetype m_readAtOpen = -1;
    QString m_path;
};

void CalCheckTest::init()
{
    m_state = new ProgramState;
    m_state->clock.setTimeOfDay(12 * 3600);
    m_port = new MemoryCommPort;
    m_port->open();
    m_status = new RecordingStatus;
    m_status->SetStatus(LinkStatus::Idle);
    m_capture = new FileCapture(*m_state);
    m_loop = new ReceiveLoop(*m_state, *m_port, *m_capture, *m_status);
    m_transaction = new CommandTransaction(*m_state, *m_port, *m_status);
    m_parser = new StatusParser(*m_status);
    m_instrument = new ScriptedInstrument(*m_port, m_state->clock);
    m_port->setResponder([this](const QByteArray &bytes) { m_instrument->onWrite(bytes); });
    m_operator = new RecordingOperator;
    m_progress = ProgressRecord();
    m_timerEnabled = true;
    m_timerSets = 0;
    m_openResult = 1;
    m_openCalls = 0;
    m_readAtOpen = -1;
    m_path = m_dir.filePath(QStringLiteral("calcheck.raw"));

    CalCheckHooks hooks;
    hooks.OpenNewFile = [this] {
        ++m_openCalls;
        if (m_openResult != 1 || !m_state->dataFile.open(m_path))
            return -1;
        m_readAtOpen = m_instrument->fed.size() - m_port->bytesWaiting();
        return 1;
    };
    hooks.ParseStatus = [this](const QByteArray &reply) {
        return m_parser->ParseStatus(reply).fullyStable;
    };
    hooks.statusTimerEnabled = [this] { return m_timerEnabled; };
    hooks.setStatusTimerEnabled = [this](bool on) {
        m_timerEnabled = on;
        ++m_timerSets;
    };
    hooks.createProgress = [this] { return std::make_unique<FakeProgress>(m_progress); };
    m_calCheck = new CalCheck(*m_state, *m_transaction, *m_status, *m_operator, hooks);

    m_tick = new QTimer;
    m_tick->setTimerType(Qt::PreciseTimer);
    m_tick->setInterval(1);
    connect(m_tick, &QTimer::timeout, m_tick, [this] {
        m_instrument->tick();
        m_loop->run();
    });
    m_tick->start();
}

void CalCheckTest::cleanup()
{
    delete m_tick;
    delete m_calCheck;
    delete m_operator;
    m_port->setResponder(nullptr);
    delete m_instrument;
    delete m_parser;
    delete m_transaction;
    delete m_loop;
    delete m_capture;
    delete m_status;
    delete m_port;
    delete m_state;
}

QByteArray CalCheckTest::fileContent() const
{
    QFile file(m_path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

// After collection has begun, every way out switches the light on, closes the file and
// gives the polling back.
void CalCheckTest::verifyCleanEnd()
{
    QVERIFY(m_instrument->writes.size() >= 2);
    QCOMPARE(m_instrument->writes.last(), kEtx3 + "lpower,1\rst\r");
    QVERIFY(m_progress.destroyed);
    QVERIFY(!m_state->dataFile.isOpen());
    QCOMPARE(m_state->DataFileNumber(), 0);
    QVERIFY(m_timerEnabled);
    QCOMPARE(m_status->Status(), int(LinkStatus::Idle));
    QCOMPARE(m_status->refreshes, 1);
    QVERIFY(!m_progress.beyondMaximum);
    // The file holds exactly what the instrument sent while it was open, the replies to
    // the closing commands included.
    QVERIFY(m_readAtOpen >= 0);
    QCOMPARE(fileContent(), m_instrument->fed.mid(m_readAtOpen));
    QVERIFY(fileContent().endsWith(kStable + "\r\nOrvantis>"));
}

void CalCheckTest::completeRunRecordsEverythingAndSwitchesTheLightOn()
{
    answer({1, 1, 1});
    QCOMPARE(m_calCheck->run(), CalCheck::Outcome::Completed);

    const QByteArray acquire = "acquire fixed 100 1 \"\" 0 -1 2\r";
    const QByteArray lref = "lref,0,0,10\r";
    QCOMPARE(CalCheck::acquireCommand(), acquire);
    QCOMPARE(acquire.size(), 30);
    const QList<QByteArray> expected = {kEtx3,
                                        "st\r",
                                        "auto\r",
                                        acquire,
                                        lref,
                                        acquire,
                                        lref,
                                        acquire,
                                        lref,
                                        "lpower,0\r" + acquire,
                                        "lpower,1\rst\r",
                                        kEtx3 + "lpower,1\rst\r"};
    QCOMPARE(m_instrument->writes, expected);

    QCOMPARE(m_operator->asked,
             QStringList({"To do a cal check, the Orvantis's sampling cavity must be completely "
                          "clean and dry.  Is it ready?|Yes|No||1",
                          "Next, specify the location and file name into which the cal check "
                          "data will be stored.|OK||Cancel|1",
                          "Data collection complete.  The light source will now need to "
                          "stabilize because it was turned off for dark measurements.|OK|||1"}));
    QCOMPARE(m_openCalls, 1);

    QCOMPARE(m_progress.created, 1);
    QVERIFY(m_progress.shown);
    QVERIFY(m_progress.hidden);
    QCOMPARE(m_progress.title, QStringLiteral("Cal Check Data Collection"));
    QCOMPARE(m_progress.minimum[CalCheckProgress::ProgressBar2], 0);
    QCOMPARE(m_progress.maximum[CalCheckProgress::ProgressBar2], 8);
    QCOMPARE(m_progress.value[CalCheckProgress::ProgressBar2], 8);
    QVERIFY(!m_progress.visible[CalCheckProgress::ProgressBar]);
    QVERIFY(m_progress.visible[CalCheckProgress::ProgressBar2]);

    QStringList phases;
    for (int set = 1; set <= 3; ++set) {
        const QString spectra = QStringLiteral("Collecting %1 of 3 sets of spectra.").arg(set);
        const QString refs =
            QStringLiteral("Collecting %1 of 3 sets of light source references.").arg(set);
        phases << spectra << "Receiving spectral data" << refs;
        QCOMPARE(m_progress.peak.value(spectra), 100);
        // The first dot ends the framed "lref" reply and goes with it; the prompt then
        // ends the phase one dot short.
        QCOMPARE(m_progress.peak.value(refs), 87);
    }
    phases << "Collecting dark spectra."
           << "Receiving spectral data";
    QCOMPARE(m_progress.messages, phases);
    QCOMPARE(m_progress.peak.value(QStringLiteral("Collecting dark spectra.")), 100);
    QVERIFY(fileContent().startsWith("acquire fixed 100"));
    verifyCleanEnd();
}

void CalCheckTest::endsBeforeCollecting_data()
{
    QTest::addColumn<bool>("fileOpen");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("openResult");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("questionCount");
    QTest::addColumn<int>("writeCount");
    QTest::addColumn<bool>("oldFileOpenAfter");

    const int declined = int(CalCheck::Outcome::Declined);
    const int noFile = int(CalCheck::Outcome::NoFile);
    QTest::newRow("not ready") << false << QList<int>{0} << 1 << declined << 1 << 0 << false;
    QTest::newRow("not ready, file open")
        << true << QList<int>{-1} << 1 << declined << 1 << 0 << true;
    QTest::newRow("keep open file") << true << QList<int>{1, -1} << 1 << declined << 2 << 3 << true;
    QTest::newRow("close file, cancel")
        << true << QList<int>{1, 1, -1} << 1 << noFile << 3 << 3 << false;
    QTest::newRow("no file chosen") << false << QList<int>{1, 1} << -1 << noFile << 2 << 3 << false;
}

void CalCheckTest::endsBeforeCollecting()
{
    QFETCH(bool, fileOpen);
    QFETCH(QList<int>, answers);
    QFETCH(int, openResult);
    QFETCH(int, outcome);
    QFETCH(int, questionCount);
    QFETCH(int, writeCount);
    QFETCH(bool, oldFileOpenAfter);

    const QString oldPath = m_dir.filePath(QStringLiteral("old.raw"));
    if (fileOpen)
        QVERIFY(m_state->dataFile.open(oldPath));
    m_openResult = openResult;
    for (int answer : answers)
        m_operator->questionAnswers.enqueue(answer);

    QCOMPARE(int(m_calCheck->run()), outcome);
    QCOMPARE(m_operator->asked.size(), questionCount);
    if (fileOpen && questionCount > 1)
        QCOMPARE(m_operator->asked.at(1),
                 QStringLiteral("A new file must be opened to save the cal check data.  Is it OK "
                                "to close the currently open file?|Yes||Cancel|1"));
    QCOMPARE(m_instrument->writes.size(), writeCount);
    if (writeCount == 0) {
        QCOMPARE(m_timerSets, 0);
        QCOMPARE(m_status->refreshes, 0);
    } else {
        QCOMPARE(m_status->refreshes, 1);
    }
    QVERIFY(m_timerEnabled);
    QCOMPARE(m_state->dataFile.isOpen(), oldFileOpenAfter);
    if (oldFileOpenAfter)
        QCOMPARE(m_state->dataFile.path(), oldPath);
    QCOMPARE(m_progress.created, 0);
}

void CalCheckTest::notStabilizedShowsTheNoticeAndOpensNoFile_data()
{
    QTest::addColumn<QByteArray>("statusLine");
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<int>("writeCount");

    QTest::newRow("settling") << kSettling << true << 2;
    QTest::newRow("port closed") << kStable << false << 0;
}

void CalCheckTest::notStabilizedShowsTheNoticeAndOpensNoFile()
{
    QFETCH(QByteArray, statusLine);
    QFETCH(bool, portOpen);
    QFETCH(int, writeCount);

    m_instrument->statusLine = statusLine;
    if (!portOpen)
        m_port->close();
    m_timerEnabled = false;
    answer({1, 1, 1});

    QCOMPARE(m_calCheck->run(), CalCheck::Outcome::NotStabilized);
    QCOMPARE(m_operator->asked.size(), 2);
    QCOMPARE(m_operator->asked.at(1),
             QStringLiteral("Cannot continue, because the Orvantis is not fully stabilized, or "
                            "its status could not be determined.|||OK|-1"));
    QCOMPARE(m_instrument->writes.size(), writeCount);
    QCOMPARE(m_openCalls, 0);
    QCOMPARE(m_progress.created, 0);
    // Polling stays as it was, here off.
    QVERIFY(!m_timerEnabled);
    QCOMPARE(m_timerSets, 2);
    QCOMPARE(m_status->refreshes, 1);
}

void CalCheckTest::stopEndsCleanlyInEveryPhase_data()
{
    QTest::addColumn<QString>("phase");
    QTest::addColumn<int>("overall");

    for (int set = 1; set <= 3; ++set) {
        QTest::addRow("spectra %d", set) << CalCheck::spectraMessage(set) << 2 * set - 1;
        QTest::addRow("references %d", set) << CalCheck::referencesMessage(set) << 2 * set + 1;
    }
    QTest::newRow("dark") << CalCheck::darkMessage() << 7;
}

void CalCheckTest::stopEndsCleanlyInEveryPhase()
{
    QFETCH(QString, phase);
    QFETCH(int, overall);

    m_progress.stopMessage = phase;
    m_progress.stopAt = 10;
    answer({1, 1});

    QCOMPARE(m_calCheck->run(), CalCheck::Outcome::Stopped);
    QCOMPARE(m_progress.value[CalCheckProgress::ProgressBar2], overall);
    QCOMPARE(m_progress.peak.value(phase), 10);
    QCOMPARE(m_progress.message, phase);
    // No completion notice after a Stop.
    QCOMPARE(m_operator->asked.size(), 2);
    const bool dark = phase == CalCheck::darkMessage();
    QCOMPARE(m_instrument->writes.contains("lpower,0\r" + CalCheck::acquireCommand()), dark);
    verifyCleanEnd();
}

void CalCheckTest::stopWhileReceivingSpectralDataHasNoEffect_data()
{
    QTest::addColumn<int>("occurrence");
    QTest::newRow("after set 1") << 1;
    QTest::newRow("after dark set") << 4;
}

void CalCheckTest::stopWhileReceivingSpectralDataHasNoEffect()
{
    QFETCH(int, occurrence);
    m_progress.stopMessage = CalCheck::receivingMessage();
    m_progress.stopOccurrence = occurrence;
    answer({1, 1, 1});

    QCOMPARE(m_calCheck->run(), CalCheck::Outcome::Completed);
    QCOMPARE(m_progress.value[CalCheckProgress::ProgressBar2], 8);
    QCOMPARE(m_operator->asked.size(), 3);
    verifyCleanEnd();
}

void CalCheckTest::phaseBarNeverPassesItsMaximum_data()
{
    QTest::addColumn<QList<int>>("commas");
    QTest::addColumn<QList<int>>("dots");
    QTest::addColumn<int>("spectraPeak");
    QTest::addColumn<int>("referencesPeak");

    QTest::newRow("commas jump past 100") << QList<int>{99, 5} << ones(88) << 99 << 87;
    QTest::newRow("dots jump past 88") << ones(100) << QList<int>{1, 80, 10} << 100 << 80;
    QTest::newRow("prompt before 88 dots") << ones(100) << ones(20) << 100 << 19;
}

void CalCheckTest::phaseBarNeverPassesItsMaximum()
{
    QFETCH(QList<int>, commas);
    QFETCH(QList<int>, dots);
    QFETCH(int, spectraPeak);
    QFETCH(int, referencesPeak);

    m_instrument->commaChunks = commas;
    m_instrument->dotChunks = dots;
    answer({1, 1, 1});

    QCOMPARE(m_calCheck->run(), CalCheck::Outcome::Completed);
    for (int set = 1; set <= 3; ++set) {
        QCOMPARE(m_progress.peak.value(CalCheck::spectraMessage(set)), spectraPeak);
        QCOMPARE(m_progress.peak.value(CalCheck::referencesMessage(set)), referencesPeak);
    }
    QCOMPARE(m_progress.value[CalCheckProgress::ProgressBar2], 8);
    verifyCleanEnd();
}

void CalCheckTest::silentInstrumentWaitsForStopWithoutTimeOut()
{
    m_instrument->stallAfterHeader = true;
    answer({1, 1});
    int stage = 0;
    bool stillWaiting = false;
    CalCheck::Outcome second = CalCheck::Outcome::Completed;

    // Once the first set is being counted, the clock passes every time-out of the
    // procedure; it goes on counting and refuses a second start until the operator stops it.
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [&] {
        if (stage == 0 && m_progress.message == CalCheck::spectraMessage(1) &&
            m_state->ReceiveBuffer.startsWith("ms")) {
            m_state->clock.setTimeOfDay(m_state->clock.timeOfDay() + 120);
            stage = 1;
        } else if (stage == 1) {
            stillWaiting = m_progress.message == CalCheck::spectraMessage(1);
            second = m_calCheck->run();
            m_progress.cancel = true;
            stage = 2;
        }
    });
    watcher.start(10);
    QCOMPARE(m_calCheck->run(), CalCheck::Outcome::Stopped);
    QCOMPARE(stage, 2);
    QVERIFY(stillWaiting);
    QCOMPARE(second, CalCheck::Outcome::AlreadyRunning);
    QCOMPARE(m_progress.value[CalCheckProgress::ProgressBar2], 1);
    QCOMPARE(m_progress.peak.value(CalCheck::spectraMessage(1)), 0);
    verifyCleanEnd();
}

QTEST_GUILESS_MAIN(CalCheckTest)
#include "tst_calcheck.moc"
