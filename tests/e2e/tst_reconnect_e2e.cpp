// A night alone against orvantis-sim over real pseudo-terminals: the adapter is pulled and
// comes back behind the same link, and nobody presses anything. The run goes on into the same
// data file, which holds exactly what crossed the line; an idle connection gets its polls
// back; an instrument that restarted is started again; another instrument, or Stop, ends it.
// And leaving (Exit, Disconnect) stops a periodic run: its three ETX cross at the run's rate
// before the port closes, even where closing would have put the line's old rate back; a run
// storing into the instrument's flash is stopped, left sampling or kept, as the operator
// answers.
#include "testkit/SimConsole.h"
#include "testkit/TestFiles.h"
#include "testkit/TestSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
enum class Replug { SameRun, Restarted, OtherInstrument, StopPressed };
enum class Leave { Exit, Disconnect };
// Where the run's samples go: the acquire command's destination.
enum class Destination { Computer = 2, Flash = 1, Both = 4 };
constexpr int kNoQuestion = -2;
} // namespace

Q_DECLARE_METATYPE(Replug)
Q_DECLARE_METATYPE(Leave)
Q_DECLARE_METATYPE(Destination)

class ReconnectEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { m_rig.reset(); }
    void periodicRunSurvivesAnUnplug_data();
    void periodicRunSurvivesAnUnplug();
    void idleConnectionGetsItsPollsBack();
    void leavingStopsThePeriodicRun_data();
    void leavingStopsThePeriodicRun();

private:
    // The simulator behind a link (so that it comes back under the same name), recording both
    // ways; the console connected, with a data file open from before the first byte.
    bool start(const QStringList &extra, bool withDataFile);
    void startPeriodic(Destination destination = Destination::Computer);
    const MainFormControls &controls() { return m_rig->controls(); }
    InstrumentSession &session() { return m_rig->session(); }
    QByteArray sent() const { return fileBytes(m_dir.filePath("sent.bin")); }
    QByteArray heard() const { return fileBytes(m_dir.filePath("heard.bin")); }

    QTemporaryDir m_dir;
    QString m_data;
    std::unique_ptr<SimConsole> m_rig;
};

void ReconnectEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
}

bool ReconnectEndToEnd::start(const QStringList &extra, bool withDataFile)
{
    static int run = 0;
    ++run;
    QFile::remove(m_dir.filePath("sent.bin"));
    QFile::remove(m_dir.filePath("heard.bin"));
    m_data = m_dir.filePath(QStringLiteral("run%1.raw").arg(run));
    m_rig = std::make_unique<SimConsole>(
        QStringList{"--fast", "--stable", "--link",
                    m_dir.filePath(QStringLiteral("orvantis%1").arg(run)), "--record",
                    m_dir.filePath("sent.bin"), "--record-input", m_dir.filePath("heard.bin")} +
        extra);
    if (!m_rig->ok()) {
        QTest::qFail(qPrintable(m_rig->error()), __FILE__, __LINE__);
        return false;
    }
    m_rig->c().startUp(false);
    if (withDataFile) {
        m_rig->dialogs.pathAnswers.enqueue(m_data);
        QTest::mouseClick(controls().NewFileButton, Qt::LeftButton);
    }
    if (!session().SearchForInstrument()) {
        QTest::qFail("the search did not find the simulator", __FILE__, __LINE__);
        return false;
    }
    return true;
}

void ReconnectEndToEnd::startPeriodic(Destination destination)
{
    m_rig->stopPolling();
    controls().SampleDelayText->setText("1");
    controls().FlashFilenameText->setText("DEPLOY12");
    controls().StoreInFlashCheck->setChecked(destination != Destination::Computer);
    controls().StoreInComputerCheck->setChecked(destination != Destination::Flash);
    QTest::mouseClick(controls().StartSamplingButton, Qt::LeftButton);
    QTRY_VERIFY(m_rig->sim.isSampling());
    QCOMPARE(session().Status(), StatusCode::PeriodicSampling);
}

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
    if (!start(simulator, true))
        return;
    startPeriodic();
    QTRY_VERIFY(QFileInfo(m_data).size() > 500);

    const qsizetype heardBefore = heard().size();
    QVERIFY(m_rig->sim.unplug(replug == Replug::StopPressed ? 3000 : 5000));
    QTRY_VERIFY(session().reconnecting());
    // Nobody is asked anything; the status line says what goes on.
    QTRY_VERIFY(controls().StatusLabel->text().contains("reconnecting"));
    QVERIFY(controls().StopSamplingButton->isEnabled());
    if (replug == Replug::StopPressed) {
        QTest::mouseClick(controls().StopSamplingButton, Qt::LeftButton);
        QVERIFY(!session().reconnecting());
        QCOMPARE(session().Status(), StatusCode::NotConnected);
        const qsizetype heardAtStop = heard().size();
        QVERIFY(m_rig->sim.waitForDevice());
        // Two attempts' time after the device is back: nothing is tried any more.
        QTest::qWait(2500);
        QCOMPARE(heard().size(), heardAtStop);
        return;
    }
    QVERIFY(m_rig->sim.waitForDevice(15000));
    QElapsedTimer sinceReplug;
    sinceReplug.start();
    const qint64 sizeAtReplug = QFileInfo(m_data).size();

    if (replug == Replug::OtherInstrument) {
        QTRY_COMPARE_WITH_TIMEOUT(session().Status(), StatusCode::NotConnected, 15000);
        QCOMPARE(m_rig->dialogs.errors.size(), 1);
        QVERIFY2(m_rig->dialogs.errors.first().contains("serial number 4242"),
                 qPrintable(m_rig->dialogs.errors.first()));
        return;
    }
    // Samples reach the same data file again.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(m_data).size() > sizeAtReplug + 500, 15000);
    QVERIFY(sinceReplug.elapsed() < 15000);
    QCOMPARE(session().Status(), StatusCode::PeriodicSampling);
    QVERIFY(m_rig->sim.isSampling());
    QCOMPARE(heard().count("start "), replug == Replug::Restarted ? 2 : 1);
    // A run that went on is not stopped.
    QVERIFY(!heard().mid(heardBefore).contains('\x03'));
    QCOMPARE(m_rig->dialogs.errors, QStringList());

    // Every byte the instrument sent, before the unplug and after the replug, exactly.
    QTest::mouseClick(controls().StopSamplingButton, Qt::LeftButton);
    QTRY_VERIFY(!m_rig->sim.isSampling());
    QTRY_VERIFY(session().TimeSinceLastByte() > 0.5f);
    QTest::mouseClick(controls().StopSavingButton, Qt::LeftButton);
    QVERIFY(fileBytes(m_data) == sent());
}

void ReconnectEndToEnd::idleConnectionGetsItsPollsBack()
{
    if (!start({}, false))
        return;
    QVERIFY(m_rig->sim.unplug(2000));
    QTRY_VERIFY(session().reconnecting());
    QVERIFY(m_rig->sim.waitForDevice());
    const qsizetype heardAtReplug = heard().size();
    QTRY_VERIFY_WITH_TIMEOUT(!session().reconnecting(), 10000);
    QCOMPARE(session().Status(), StatusCode::Idle);
    // Asked who it is, then polled again (the stable instrument's 30 s made short here).
    QVERIFY(session().isPolling() && !session().pollingHeld());
    session().setPollInterval(300);
    QTRY_VERIFY(heard().mid(heardAtReplug).contains("id\rst\r"));
    QCOMPARE(controls().StatusLabel->text(), QString("Connected to 1021 "));
    QCOMPARE(m_rig->dialogs.errors, QStringList());
}

void ReconnectEndToEnd::leavingStopsThePeriodicRun_data()
{
    QTest::addColumn<Leave>("leave");
    QTest::addColumn<Destination>("destination");
    QTest::addColumn<int>("answer");
    QTest::newRow("Exit") << Leave::Exit << Destination::Computer << kNoQuestion;
    QTest::newRow("Disconnect") << Leave::Disconnect << Destination::Computer << kNoQuestion;
    QTest::newRow("flash, Exit, Yes") << Leave::Exit << Destination::Flash << 1;
    QTest::newRow("both, Disconnect, Yes") << Leave::Disconnect << Destination::Both << 1;
    QTest::newRow("flash, Disconnect, No") << Leave::Disconnect << Destination::Flash << 0;
    QTest::newRow("both, Exit, No") << Leave::Exit << Destination::Both << 0;
    QTest::newRow("flash, Disconnect, Cancel") << Leave::Disconnect << Destination::Flash << -1;
    QTest::newRow("both, Exit, Cancel") << Leave::Exit << Destination::Both << -1;
}

void ReconnectEndToEnd::leavingStopsThePeriodicRun()
{
    QFETCH(Leave, leave);
    QFETCH(Destination, destination);
    QFETCH(int, answer);
    const QString flash = m_dir.filePath(QStringLiteral("disk%1").arg(QTest::currentDataTag()));
    // The device's line was at 9600 when the console opened it.
    if (!start({"--baud", "57600", "--disk", flash}, false))
        return;
    startPeriodic(destination);
    const QString stored = QDir(flash).filePath("DEPLOY1.RAW");
    if (destination != Destination::Computer)
        QTRY_VERIFY(QFileInfo(stored).size() > 0);
    if (answer != kNoQuestion)
        m_rig->dialogs.questionAnswers.enqueue(answer);
    const qsizetype heardBefore = heard().size();
    if (leave == Leave::Exit) {
        m_rig->c().form.close();
    } else {
        // The menu item: the button is off while sampling.
        QVERIFY(!controls().DisconnectButton->isEnabled());
        controls().DisconnectMenuItem->trigger();
    }
    QCOMPARE(m_rig->dialogs.questions,
             answer == kNoQuestion
                 ? QStringList()
                 : QStringList{"The Orvantis is storing a sample every 1 s in its flash memory "
                               "as DEPLOY1. Leave it sampling?"});
    if (answer == 1 || answer == -1) {
        // Nothing sent: the instrument samples on into its flash, left or still watched.
        const qint64 storedAtLeaving = QFileInfo(stored).size();
        QTRY_VERIFY(QFileInfo(stored).size() > storedAtLeaving);
        QVERIFY(m_rig->sim.isSampling());
        QCOMPARE(heard().mid(heardBefore), QByteArray());
        QCOMPARE(session().isOpen(), answer == -1);
        QCOMPARE(m_rig->c().form.isVisible(), answer == -1 || leave == Leave::Disconnect);
        if (leave == Leave::Disconnect)
            QCOMPARE(controls().StatusLabel->text(),
                     answer == 1
                         ? QString("No Orvantis connected (left sampling into its flash memory) ")
                         : QString("Periodic sampling (1 s) "));
        return;
    }
    if (leave == Leave::Disconnect)
        QCOMPARE(controls().StatusLabel->text(),
                 QString("No Orvantis connected (periodic sampling was stopped) "));
    // Each one heard at the run's rate, and the instrument stops: no sample after them.
    QTRY_COMPARE(heard().mid(heardBefore), QByteArray(3, '\x03'));
    QTRY_VERIFY(!m_rig->sim.isSampling());
}

QTEST_MAIN(ReconnectEndToEnd)
#include "tst_reconnect_e2e.moc"
