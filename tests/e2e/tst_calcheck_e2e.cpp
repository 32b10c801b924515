// The cal check against orvantis-sim over a real pseudo-terminal: a complete run, a Stop in
// the middle, an instrument that has not settled, and an operator who declines.
#include "features/calcheck/CalCheck.h"
#include "testkit/DeviceConsole.h"
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
// Follows the cal check's progress window while the procedure runs (it lives only that
// long): the phases it showed, the last value of its overall bar, and a Stop pressed when
// a given phase comes up.
class ProgressWatcher : public QObject
{
public:
    explicit ProgressWatcher(const QString &stopAt = QString()) : m_stopAt(stopAt)
    {
        connect(&m_timer, &QTimer::timeout, this, &ProgressWatcher::look);
        m_timer.start(2);
    }

    QStringList phases;
    int overall = -1;
    int windowsSeen = 0;
    bool stopped = false;

private:
    void look()
    {
        if (!m_form) {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (auto *form = qobject_cast<ProgressForm *>(widget); form && form->isVisible()) {
                    m_form = form;
                    ++windowsSeen;
                    overall = form->ProgressBar2->value();
                    connect(form->ProgressBar2, &QProgressBar::valueChanged, this,
                            [this](int value) { overall = value; });
                }
            }
        }
        if (!m_form)
            return;
        const QString message = m_form->MsgLabel->text();
        if (phases.isEmpty() || phases.last() != message)
            phases << message;
        if (!stopped && !m_stopAt.isEmpty() && message == m_stopAt) {
            stopped = true;
            m_form->StopButton->click();
        }
    }

    QString m_stopAt;
    QPointer<ProgressForm> m_form;
    QTimer m_timer;
};

const QByteArray kFinish = "\x03\x03\x03lpower,1\rst\r";
} // namespace

class CalCheckEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void completeRunFilesAllSevenPhases();
    void stopInTheSecondReferencePhase();
    void unsettledInstrumentIsRefused();
    void declinedQuestionsEndTheCheck_data();
    void declinedQuestionsEndTheCheck();

private:
    // A settled, quick simulator that records both directions, and a console on it.
    bool startSim(SimProcess &sim, const QStringList &extra = {"--stable"});
    QByteArray received() const { return DeviceConsole::fileBytes(m_dir.filePath("received.bin")); }

    QTemporaryDir m_dir;
};

void CalCheckEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
}

bool CalCheckEndToEnd::startSim(SimProcess &sim, const QStringList &extra)
{
    // The references must take several receive runs: the transaction that sends "lref"
    // keeps only the text up to the first ".", so dots (and the prompt) that arrive in the
    // same run are lost to the count, and a phase whose prompt is lost never ends.
    QFile::remove(m_dir.filePath("received.bin"));
    return sim.start(QStringList{"--fast", "--spectrum-ms", "10", "--record-input",
                                 m_dir.filePath("received.bin")} +
                     extra);
}

void CalCheckEndToEnd::completeRunFilesAllSevenPhases()
{
    SimProcess sim;
    QVERIFY2(startSim(sim), qPrintable(sim.errorString()));
    DeviceConsole console(sim.devicePath());
    QVERIFY(console.connect());
    const QString path = m_dir.filePath("complete.raw");
    console.scripted.questionAnswers << 1 << 1 << 1;
    console.scripted.pathAnswers << path;
    ProgressWatcher watcher;

    console.controls().CalCheckMenuItem->trigger();

    QCOMPARE(console.scripted.questions,
             (QStringList{CalCheck::readyQuestion(), CalCheck::chooseFileNotice(),
                          CalCheck::completeNotice()}));
    QCOMPARE(watcher.windowsSeen, 1);
    QCOMPARE(watcher.overall, 8);
    for (int set = 1; set <= CalCheck::kSets; ++set) {
        QVERIFY(watcher.phases.contains(CalCheck::spectraMessage(set)));
        QVERIFY(watcher.phases.contains(CalCheck::referencesMessage(set)));
    }
    QVERIFY(watcher.phases.contains(CalCheck::darkMessage()));
    QCOMPARE(console.binding.state.DataFileNumber(), 0);
    QVERIFY(console.binding.form.StatusTimer()->isActive());
    QCOMPARE(console.status(), int(LinkStatus::Idle));

    // Four sets of spectra (the last one dark) and three full sets of references.
    const QByteArray file = DeviceConsole::fileBytes(path);
    QCOMPARE(file.count("\r\nSpectral data\r\n"), 4);
    QCOMPARE(file.count(QByteArray(88, '.') + "\r\n"), 3);
    const qsizetype dark = file.indexOf("lpower,0\r\n");
    QVERIFY(dark > 0);
    QCOMPARE(file.mid(dark).count("\r\nSpectral data\r\n"), 1);
    // The light source is on again, and the file holds the instrument's word for it.
    const qsizetype lastStatus = file.lastIndexOf("\r\nst:");
    QVERIFY(lastStatus > file.lastIndexOf("lpower,1\r\n"));
    QCOMPARE(file.mid(lastStatus + 5, 1), QByteArray("1"));

    const QByteArray sent = received();
    QVERIFY2(sent.endsWith("lpower,1\rst\r" + kFinish), sent.right(40).constData());
    QCOMPARE(sent.count(CalCheck::acquireCommand()), 4);
    QCOMPARE(sent.count(CalCheck::lightReferenceCommand()), 3);
    QVERIFY(sent.contains("lpower,0\r" + CalCheck::acquireCommand()));
    QCOMPARE(console.scripted.errors, QStringList());
}

void CalCheckEndToEnd::stopInTheSecondReferencePhase()
{
    SimProcess sim;
    QVERIFY2(startSim(sim), qPrintable(sim.errorString()));
    DeviceConsole console(sim.devicePath());
    QVERIFY(console.connect());
    const QString path = m_dir.filePath("stopped.raw");
    console.scripted.questionAnswers << 1 << 1;
    console.scripted.pathAnswers << path;
    ProgressWatcher watcher(CalCheck::referencesMessage(2));

    console.controls().CalCheckMenuItem->trigger();

    QVERIFY(watcher.stopped);
    QCOMPARE(watcher.overall, 5);
    QVERIFY(!watcher.phases.contains(CalCheck::spectraMessage(3)));
    // No completion notice.
    QCOMPARE(console.scripted.questions,
             (QStringList{CalCheck::readyQuestion(), CalCheck::chooseFileNotice()}));
    QCOMPARE(console.binding.state.DataFileNumber(), 0);
    QVERIFY(console.binding.form.StatusTimer()->isActive());
    QCOMPARE(console.status(), int(LinkStatus::Idle));

    const QByteArray sent = received();
    QVERIFY2(sent.endsWith(CalCheck::lightReferenceCommand() + kFinish),
             sent.right(40).constData());
    QVERIFY(!sent.contains("lpower,0"));
    QCOMPARE(sent.count(CalCheck::acquireCommand()), 2);
    const QByteArray file = DeviceConsole::fileBytes(path);
    QCOMPARE(file.count("\r\nSpectral data\r\n"), 2);
    const qsizetype lastStatus = file.lastIndexOf("\r\nst:");
    QVERIFY(lastStatus > file.lastIndexOf("lpower,1\r\n"));
    QCOMPARE(file.mid(lastStatus + 5, 1), QByteArray("1"));
}

void CalCheckEndToEnd::unsettledInstrumentIsRefused()
{
    SimProcess sim;
    QVERIFY2(startSim(sim, {}), qPrintable(sim.errorString()));
    DeviceConsole console(sim.devicePath());
    QVERIFY(console.connect());
    console.scripted.questionAnswers << 1 << 1;
    console.scripted.pathAnswers << m_dir.filePath("never.raw");
    ProgressWatcher watcher;

    console.controls().CalCheckMenuItem->trigger();

    QCOMPARE(console.scripted.questions,
             (QStringList{CalCheck::readyQuestion(), CalCheck::notStabilizedNotice()}));
    QCOMPARE(console.scripted.pathAnswers.size(), 1);
    QVERIFY(!QFile::exists(m_dir.filePath("never.raw")));
    QCOMPARE(watcher.windowsSeen, 0);
    QVERIFY(console.binding.form.StatusTimer()->isActive());
    const QByteArray sent = received();
    QVERIFY2(sent.endsWith("\x03\x03\x03st\r"), sent.right(20).constData());
    // The instrument's status line is shown: still stabilising.
    QVERIFY(console.controls().LightOKShape[1]->isLit());
}

void CalCheckEndToEnd::declinedQuestionsEndTheCheck_data()
{
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("fileOpen");
    QTest::addColumn<bool>("chooses");
    QTest::addColumn<QByteArray>("sent");

    const QByteArray prelude = "\x03\x03\x03st\rauto\r";
    QTest::newRow("cavity not ready") << QList<int>{0} << false << true << QByteArray();
    QTest::newRow("open file kept") << QList<int>{1, -1} << true << true << prelude;
    QTest::newRow("file question cancelled") << QList<int>{1, -1} << false << true << prelude;
    QTest::newRow("save dialog cancelled") << QList<int>{1, 1} << false << false << prelude;
}

void CalCheckEndToEnd::declinedQuestionsEndTheCheck()
{
    QFETCH(QList<int>, answers);
    QFETCH(bool, fileOpen);
    QFETCH(bool, chooses);
    QFETCH(QByteArray, sent);

    SimProcess sim;
    QVERIFY2(startSim(sim), qPrintable(sim.errorString()));
    DeviceConsole console(sim.devicePath());
    QVERIFY(console.connect());
    console.stopPolling();
    const QString kept = m_dir.filePath("kept.raw");
    if (fileOpen)
        QVERIFY(console.binding.state.dataFile.open(kept));
    const QString path = m_dir.filePath("declined.raw");
    QFile::remove(path);
    if (chooses)
        console.scripted.pathAnswers << path;
    for (int answer : answers)
        console.scripted.questionAnswers << answer;
    const qsizetype before = received().size();

    console.controls().CalCheckMenuItem->trigger();

    QVERIFY(console.scripted.questionAnswers.isEmpty());
    QVERIFY(!console.binding.form.StatusTimer()->isActive());
    QCOMPARE(console.binding.state.DataFileNumber(), fileOpen ? 1 : 0);
    if (fileOpen)
        QCOMPARE(console.binding.state.dataFile.path(), kept);
    QVERIFY(!QFile::exists(path));
    // A command of the test's own marks the end of what the check sent.
    console.binding.form.transaction().SendCommand("id\r", "", "Orvantis>", 5);
    QTRY_VERIFY(received().endsWith("id\r"));
    QCOMPARE(received().mid(before), sent + "id\r");
}

QTEST_MAIN(CalCheckEndToEnd)
#include "tst_calcheck_e2e.moc"
