// The cal check against orvantis-sim over a real pseudo-terminal: a complete run, a Stop in
// every phase, an instrument that has not settled, and an operator who declines. Every
// question, phase and command is compared with the text the operator and the instrument see.
#include "testkit/SimConsole.h"
#include "testkit/TestFiles.h"
#include "testkit/TestSettings.h"
#include "ui/widgets/IndicatorLamp.h"
#include "ui/widgets/ProgressForm.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
const QString kReady("To do a cal check, the Orvantis's sampling cavity must be completely "
                     "clean and dry.  Is it ready?");
const QString kChooseFile("Next, specify the location and file name into which the cal check "
                          "data will be stored.");
const QString kComplete("Data collection complete.  The light source will now need to "
                        "stabilize because it was turned off for dark measurements.");
const QString kNotStable("Cannot continue, because the Orvantis is not fully stabilized, or its "
                         "status could not be determined.");
const QString kCloseFile("A new file must be opened to save the cal check data.  Is it OK to "
                         "close the currently open file?");
const QByteArray kAcquire("acquire fixed 100 1 \"\" 0 -1 2\r");
const QByteArray kReference("lref,0,0,10\r");
const QByteArray kFinish("\x03\x03\x03lpower,1\rst\r");
const QStringList kPhases{"Collecting 1 of 3 sets of spectra.",
                          "Receiving spectral data",
                          "Collecting 1 of 3 sets of light source references.",
                          "Collecting 2 of 3 sets of spectra.",
                          "Receiving spectral data",
                          "Collecting 2 of 3 sets of light source references.",
                          "Collecting 3 of 3 sets of spectra.",
                          "Receiving spectral data",
                          "Collecting 3 of 3 sets of light source references.",
                          "Collecting dark spectra.",
                          "Receiving spectral data"};

// Whether a progress window is on screen.
bool progressShown()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<ProgressForm *>(widget) && widget->isVisible())
            return true;
    }
    return false;
}

// Follows the progress window while the check runs: the phases it showed, the last value of
// its overall bar, and a Stop pressed when phase number `stopAt` (of kPhases) comes up.
class ProgressWatcher : public QObject
{
public:
    explicit ProgressWatcher(int stopAt = -1) : m_stopAt(stopAt)
    {
        connect(&m_timer, &QTimer::timeout, this, &ProgressWatcher::look);
        m_timer.start(2);
    }

    QStringList phases;
    // Whether the phase's own bar showed, phase by phase; the overall bar shows throughout.
    QList<bool> phaseBarShown;
    bool overallBarAlwaysShown = true;
    QString title;
    int overall = -1;
    int windowsSeen = 0;
    bool stopped = false;

private:
    void look()
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *form = qobject_cast<ProgressForm *>(widget);
            if (!m_form && form && form->isVisible()) {
                m_form = form;
                ++windowsSeen;
                title = form->windowTitle();
                connect(form->ProgressBar2, &QProgressBar::valueChanged, this,
                        [this](int value) { overall = value; });
                overall = form->ProgressBar2->value();
            }
        }
        if (!m_form)
            return;
        const QString message = m_form->MsgLabel->text();
        if (phases.isEmpty() || phases.last() != message) {
            phases << message;
            phaseBarShown << m_form->ProgressBar->isVisible();
            overallBarAlwaysShown &= m_form->ProgressBar2->isVisible();
        }
        if (!stopped && phases.size() - 1 == m_stopAt) {
            stopped = true;
            m_form->StopButton->click();
        }
    }

    int m_stopAt;
    QPointer<ProgressForm> m_form;
    QTimer m_timer;
};
} // namespace

class CalCheckEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void completeRunFilesEveryPhase();
    void stopInEveryPhase_data();
    void stopInEveryPhase();
    void unsettledInstrumentIsRefused();
    void declinedQuestionsEndTheCheck_data();
    void declinedQuestionsEndTheCheck();

private:
    // A quick simulator that records what it was sent, and the console connected to it.
    std::unique_ptr<SimConsole> start(const QStringList &extra = {"--stable"});
    QByteArray sent() const { return fileBytes(m_dir.filePath("received.bin")); }
    // The light source is on again, and the file holds the instrument's word for it.
    static void verifyLightOnInFile(const QByteArray &file);

    QTemporaryDir m_dir;
};

void CalCheckEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
}

std::unique_ptr<SimConsole> CalCheckEndToEnd::start(const QStringList &extra)
{
    QFile::remove(m_dir.filePath("received.bin"));
    auto rig =
        std::make_unique<SimConsole>(QStringList{"--fast", "--spectrum-ms", "1", "--record-input",
                                                 m_dir.filePath("received.bin")} +
                                     extra);
    return rig->startedAndConnected() ? std::move(rig) : nullptr;
}

void CalCheckEndToEnd::verifyLightOnInFile(const QByteArray &file)
{
    const qsizetype lastStatus = file.lastIndexOf("\r\nst:");
    QVERIFY(lastStatus > file.lastIndexOf("lpower,1\r\n"));
    QCOMPARE(file.mid(lastStatus + 5, 1), QByteArray("1"));
}

void CalCheckEndToEnd::completeRunFilesEveryPhase()
{
    auto rig = start();
    QVERIFY(rig);
    const QString path = m_dir.filePath("complete.raw");
    rig->dialogs.questionAnswers << 1 << 1 << 1;
    rig->dialogs.pathAnswers << path;
    ProgressWatcher watcher;

    rig->controls().CalCheckMenuItem->trigger();

    QCOMPARE(rig->dialogs.questions, (QStringList{kReady, kChooseFile, kComplete}));
    QCOMPARE(watcher.windowsSeen, 1);
    QCOMPARE(watcher.title, QString("Cal Check Data Collection"));
    QCOMPARE(watcher.phases, kPhases);
    for (int i = 0; i < kPhases.size(); ++i)
        QCOMPARE(watcher.phaseBarShown.at(i), !kPhases.at(i).startsWith("Receiving"));
    QVERIFY(watcher.overallBarAlwaysShown);
    QCOMPARE(watcher.overall, 8);
    QVERIFY(!progressShown());
    QCOMPARE(rig->c().session.DataFileNumber(), 0);
    QVERIFY(rig->c().session.findChild<QTimer *>("StatusTimer")->isActive());
    QCOMPARE(rig->status(), int(StatusCode::Idle));

    // Four sets of spectra (the last one dark) and three full sets of references.
    const QByteArray file = fileBytes(path);
    QCOMPARE(file.count("\r\nSpectral data\r\n"), 4);
    QCOMPARE(file.count(QByteArray(88, '.') + "\r\n"), 3);
    const qsizetype dark = file.indexOf("lpower,0\r\n");
    QVERIFY(dark > 0);
    QCOMPARE(file.mid(dark).count("\r\nSpectral data\r\n"), 1);
    verifyLightOnInFile(file);

    const QByteArray commands = sent();
    QVERIFY2(commands.endsWith("lpower,1\rst\r" + kFinish), commands.right(40).constData());
    QCOMPARE(commands.count(kAcquire), 4);
    QCOMPARE(commands.count(kReference), 3);
    QVERIFY(commands.contains("lpower,0\r" + kAcquire));
    QCOMPARE(rig->dialogs.errors, QStringList());
}

void CalCheckEndToEnd::stopInEveryPhase_data()
{
    QTest::addColumn<int>("phase");
    QTest::addColumn<int>("overall");
    QTest::addColumn<int>("acquired");
    QTest::addColumn<bool>("completes");
    QTest::newRow("spectra 1") << 0 << 1 << 1 << false;
    QTest::newRow("receiving 1: no effect") << 1 << 8 << 4 << true;
    QTest::newRow("references 1") << 2 << 3 << 1 << false;
    QTest::newRow("spectra 2") << 3 << 3 << 2 << false;
    QTest::newRow("references 2") << 5 << 5 << 2 << false;
    QTest::newRow("spectra 3") << 6 << 5 << 3 << false;
    QTest::newRow("references 3") << 8 << 7 << 3 << false;
    QTest::newRow("dark") << 9 << 7 << 4 << false;
}

void CalCheckEndToEnd::stopInEveryPhase()
{
    QFETCH(int, phase);
    QFETCH(bool, completes);
    // Spectra slow enough that every phase lasts for several of the watcher's looks.
    auto rig = start({"--stable", "--spectrum-ms", "5"});
    QVERIFY(rig);
    const QString path = m_dir.filePath(QStringLiteral("stopped%1.raw").arg(phase));
    rig->dialogs.questionAnswers << 1 << 1 << 1;
    rig->dialogs.pathAnswers << path;
    ProgressWatcher watcher(phase);

    rig->controls().CalCheckMenuItem->trigger();

    QVERIFY(watcher.stopped);
    QVERIFY(!progressShown());
    QTEST(watcher.overall, "overall");
    QCOMPARE(watcher.phases.mid(0, phase + 1), kPhases.mid(0, phase + 1));
    // A Stop takes effect at once: no later phase, no completion notice.
    QCOMPARE(watcher.phases.size(), completes ? kPhases.size() : phase + 1);
    QCOMPARE(rig->dialogs.questions.size(), completes ? 3 : 2);
    QCOMPARE(rig->c().session.DataFileNumber(), 0);
    QVERIFY(rig->c().session.findChild<QTimer *>("StatusTimer")->isActive());
    QCOMPARE(rig->status(), int(StatusCode::Idle));

    const QByteArray commands = sent();
    QVERIFY2(commands.endsWith(kFinish), commands.right(40).constData());
    QTEST(int(commands.count(kAcquire)), "acquired");
    QCOMPARE(commands.contains("lpower,0"), phase >= 9 || completes);
    verifyLightOnInFile(fileBytes(path));
}

void CalCheckEndToEnd::unsettledInstrumentIsRefused()
{
    auto rig = start({});
    QVERIFY(rig);
    rig->dialogs.questionAnswers << 1 << 1;
    rig->dialogs.pathAnswers << m_dir.filePath("never.raw");
    ProgressWatcher watcher;

    rig->controls().CalCheckMenuItem->trigger();

    QCOMPARE(rig->dialogs.questions, (QStringList{kReady, kNotStable}));
    QCOMPARE(rig->dialogs.pathAnswers.size(), 1);
    QVERIFY(!QFile::exists(m_dir.filePath("never.raw")));
    QCOMPARE(watcher.windowsSeen, 0);
    QVERIFY(rig->c().session.findChild<QTimer *>("StatusTimer")->isActive());
    QVERIFY2(sent().endsWith("\x03\x03\x03st\r"), sent().right(20).constData());
    // The instrument's status line is shown: still stabilising.
    QVERIFY(rig->controls().LightOKShape[1]->isLit());
}

void CalCheckEndToEnd::declinedQuestionsEndTheCheck_data()
{
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("fileOpen");
    QTest::addColumn<bool>("chooses");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QByteArray>("commands");
    const QByteArray prelude = "\x03\x03\x03st\rauto\r";
    // clang-format off
    QTest::newRow("cavity not ready") << QList<int>{0} << false << true << QStringList{kReady} << QByteArray();
    QTest::newRow("open file kept") << QList<int>{1, -1} << true << true << QStringList{kReady, kCloseFile} << prelude;
    QTest::newRow("file notice cancelled") << QList<int>{1, -1} << false << true << QStringList{kReady, kChooseFile} << prelude;
    QTest::newRow("save dialog cancelled") << QList<int>{1, 1} << false << false << QStringList{kReady, kChooseFile} << prelude;
    // clang-format on
}

void CalCheckEndToEnd::declinedQuestionsEndTheCheck()
{
    QFETCH(QList<int>, answers);
    QFETCH(bool, fileOpen);
    QFETCH(bool, chooses);
    QFETCH(QByteArray, commands);
    auto rig = start();
    QVERIFY(rig);
    rig->stopPolling();
    const QString kept = m_dir.filePath("kept.raw");
    if (fileOpen)
        QVERIFY(rig->c().session.dataFile().open(kept));
    const QString path = m_dir.filePath("declined.raw");
    QFile::remove(path);
    if (chooses)
        rig->dialogs.pathAnswers << path;
    for (int answer : answers)
        rig->dialogs.questionAnswers << answer;
    const qsizetype before = sent().size();

    rig->controls().CalCheckMenuItem->trigger();

    QTEST(rig->dialogs.questions, "questions");
    QVERIFY(rig->dialogs.questionAnswers.isEmpty());
    QVERIFY(!rig->c().session.findChild<QTimer *>("StatusTimer")->isActive());
    QCOMPARE(rig->c().session.DataFileNumber(), fileOpen ? 1 : 0);
    if (fileOpen)
        QCOMPARE(rig->c().session.dataFile().path(), kept);
    QVERIFY(!QFile::exists(path));
    // A command of the test's own marks the end of what the check sent.
    rig->c().session.line().SendCommand("id\r", "", "Orvantis>", 5);
    QTRY_VERIFY(sent().endsWith("id\r"));
    QCOMPARE(sent().mid(before), commands + "id\r");
}

QTEST_MAIN(CalCheckEndToEnd)
#include "tst_calcheck_e2e.moc"
