// The cal check's phases against the simulated instrument in memory, with a progress window
// that records what it is told: every phase in order with its bars, and a Stop in each phase
// that ends the collection at once (or, while the spectral data comes, has no effect), the
// light source always on again at the end.
#include "features/calcheck/CalCheck.h"
#include "features/status/StatusParser.h"
#include "testkit/SessionProbe.h"
#include "testkit/SessionRig.h"
#include "testkit/SimulatedInstrument.h"
#include "testkit/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{
const QByteArray kAcquire("acquire fixed 100 1 \"\" 0 -1 2\r");
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

// What the progress window is told. The operator presses Stop in phase `stopAt` once the
// phase has begun (after it cleared the flag); a phase that never looks at the flag ignores it.
struct Recorded {
    QString title;
    QStringList phases;
    // Per phase: whether its own bar showed; the overall bar's last value and visibility.
    QList<bool> phaseBar;
    int overall = -1;
    bool overallShown = false;
    bool shown = false;
};

class RecordingProgress : public CalCheckProgress
{
public:
    RecordingProgress(Recorded &record, int stopAt) : m_record(record), m_stopAt(stopAt) {}
    void setTitle(const QString &title) override { m_record.title = title; }
    void show() override { m_record.shown = true; }
    void hide() override { m_record.shown = false; }
    void setMessage(const QString &text) override
    {
        m_record.phases << text;
        m_record.phaseBar << m_phaseBar;
    }
    void setMinimum(Bar, int) override {}
    void setMaximum(Bar, int) override {}
    void setValue(Bar bar, int value) override
    {
        if (bar == ProgressBar2)
            m_record.overall = value;
    }
    void setBarVisible(Bar bar, bool visible) override
    {
        if (bar == ProgressBar2)
            m_record.overallShown = visible;
        else if (!m_record.phaseBar.isEmpty())
            m_record.phaseBar.last() = m_phaseBar = visible;
    }
    bool CancelFlag() const override { return m_raised; }
    void setCancelFlag(bool raised) override
    {
        m_raised = raised || m_record.phases.size() - 1 == m_stopAt;
    }

private:
    Recorded &m_record;
    int m_stopAt;
    bool m_phaseBar = true;
    bool m_raised = false;
};
} // namespace

class CalCheckPhases : public QObject
{
    Q_OBJECT

private slots:
    void stopInEveryPhase_data();
    void stopInEveryPhase();
};

void CalCheckPhases::stopInEveryPhase_data()
{
    QTest::addColumn<int>("phase");
    QTest::addColumn<int>("overall");
    QTest::addColumn<int>("acquired");
    QTest::addColumn<bool>("completes");
    QTest::newRow("no Stop") << -1 << 8 << 4 << true;
    QTest::newRow("spectra 1") << 0 << 1 << 1 << false;
    QTest::newRow("receiving 1: no effect") << 1 << 8 << 4 << true;
    QTest::newRow("references 1") << 2 << 3 << 1 << false;
    QTest::newRow("spectra 3") << 6 << 5 << 3 << false;
    QTest::newRow("references 3") << 8 << 7 << 3 << false;
    QTest::newRow("dark") << 9 << 7 << 4 << false;
}

void CalCheckPhases::stopInEveryPhase()
{
    QFETCH(int, phase);
    QFETCH(bool, completes);
    QTemporaryDir dir;
    SimOptions options;
    options.spectrumMs = 1;
    options.settleMs = 0;
    options.initialDeviation = 0;
    options.thermalSettleMs = 0;
    options.lightWarmupSeconds = 0;
    SimulatedInstrument port(options);
    SessionRig rig(port);
    QVERIFY(rig.open());
    const QString path = dir.filePath("cal.raw");
    Recorded record;
    CalCheckHooks hooks;
    hooks.OpenNewFile = [&] { return probe::dataFile(rig.session).open(path) ? 1 : -1; };
    StatusParser parser(rig.session);
    hooks.ParseStatus = [&](const QByteArray &reply) {
        return parser.ParseStatus(reply).fullyStable;
    };
    hooks.createProgress = [&] { return std::make_unique<RecordingProgress>(record, phase); };
    rig.dialogs.questionAnswers << 1 << 1 << 1;
    CalCheck check(rig.session, rig.dialogs, hooks);
    QCOMPARE(check.run(), completes ? CalCheck::Outcome::Completed : CalCheck::Outcome::Stopped);
    QCOMPARE(record.title, QString("Cal Check Data Collection"));
    QCOMPARE(record.phases, completes ? kPhases : kPhases.mid(0, phase + 1));
    for (int i = 0; i < record.phases.size(); ++i)
        QCOMPARE(record.phaseBar.at(i), !kPhases.at(i).startsWith("Receiving"));
    QVERIFY(record.overallShown);
    QTEST(record.overall, "overall");
    QCOMPARE(rig.dialogs.questions.size(), completes ? 3 : 2);
    QVERIFY(!probe::dataFile(rig.session).isOpen());
    QCOMPARE(rig.session.lineOwner(), LineOperation::None);
    const QByteArray commands = port.written();
    QVERIFY2(commands.endsWith(kFinish), commands.right(40).constData());
    QTEST(int(commands.count(kAcquire)), "acquired");
    QCOMPARE(commands.contains("lpower,0\r" + kAcquire), phase >= 9 || completes);
    // The file ends with the instrument's word that the light is on again.
    const QByteArray file = fileBytes(path);
    const qsizetype lastStatus = file.lastIndexOf("\r\nst:");
    QVERIFY(lastStatus > file.lastIndexOf("lpower,1\r\n"));
    QCOMPARE(file.mid(lastStatus + 5, 1), QByteArray("1"));
}

QTEST_GUILESS_MAIN(CalCheckPhases)
#include "tst_calcheck.moc"
