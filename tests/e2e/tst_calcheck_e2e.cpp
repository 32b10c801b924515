// The cal check through the console against orvantis-sim over a real pseudo-terminal: a
// complete run and one stopped from its window, an instrument that has not settled, and an
// operator who declines. Every question and command is compared with the text the operator
// and the instrument see, and the file with what the instrument sent. (Its phases, one by
// one, are tst_calcheck's.)
#include "testkit/SimRig.h"
#include "ui/widgets/IndicatorLamp.h"
#include "ui/widgets/ProgressForm.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
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
const QByteArray kFinish("\x03\x03\x03lpower,1\rst\r");

// The progress window on screen, or null.
ProgressForm *progressWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *form = qobject_cast<ProgressForm *>(widget); form && form->isVisible())
            return form;
    }
    return nullptr;
}

bool pollingOn(SimRig &rig)
{
    return rig.session().findChild<QTimer *>("StatusTimer")->isActive();
}
} // namespace

class CalCheckEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void runFilesWhatTheInstrumentSent_data();
    void runFilesWhatTheInstrumentSent();
    void declinedQuestionsEndTheCheck_data();
    void declinedQuestionsEndTheCheck();
};

void CalCheckEndToEnd::runFilesWhatTheInstrumentSent_data()
{
    QTest::addColumn<bool>("stop");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<int>("acquired");
    QTest::newRow("complete") << false << QStringList{kReady, kChooseFile, kComplete} << 4;
    QTest::newRow("Stop in the first set") << true << QStringList{kReady, kChooseFile} << 1;
}

void CalCheckEndToEnd::runFilesWhatTheInstrumentSent()
{
    QFETCH(bool, stop);
    QFETCH(int, acquired);
    // Spectra slow enough for the Stop to come in the middle of the first set.
    SimRig rig(RigOptions({"--fast", "--stable", "--spectrum-ms", stop ? "20" : "1"}).polled());
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const QString path = rig.path("cal.raw");
    rig.dialogs.questionAnswers << 1 << 1 << 1;
    rig.dialogs.pathAnswers << path;
    QString title;
    bool overallShown = false;
    rig.when([] { return progressWindow() != nullptr; },
             [&] {
                 title = progressWindow()->windowTitle();
                 overallShown = progressWindow()->ProgressBar2->isVisible();
                 if (stop)
                     QTest::mouseClick(buttonCaptioned(progressWindow(), "Stop"), Qt::LeftButton);
             });
    rig.trigger("Collect Cal Check Data...");
    QTEST(rig.dialogs.questions, "questions");
    QVERIFY(rig.fired());
    QCOMPARE(title, QString("Cal Check Data Collection"));
    QVERIFY(overallShown);
    QCOMPARE(progressWindow(), nullptr);
    QVERIFY(!probe::dataFile(rig.session()).isOpen());
    QVERIFY(pollingOn(rig));
    QCOMPARE(rig.status(), StatusCode::Idle);
    QCOMPARE(rig.dialogs.errors, QStringList());
    const QByteArray commands = rig.heard();
    QVERIFY2(commands.endsWith((stop ? "" : "lpower,1\rst\r") + kFinish),
             commands.right(40).constData());
    QCOMPARE(commands.count(kAcquire), acquired);
    QCOMPARE(commands.count("lref,0,0,10\r"), stop ? 0 : 3);
    // The file holds a stretch of what the instrument sent: four sets of spectra (the last
    // one dark) and three full sets of references, or the one set cut short.
    QTRY_VERIFY(rig.sent().endsWith("Orvantis>"));
    const QByteArray file = fileBytes(path);
    QVERIFY(rig.sent().contains(file));
    QCOMPARE(file.count("\r\nSpectral data\r\n"), stop ? 0 : 4);
    QCOMPARE(file.count(QByteArray(88, '.') + "\r\n"), stop ? 0 : 3);
}

void CalCheckEndToEnd::declinedQuestionsEndTheCheck_data()
{
    QTest::addColumn<bool>("stable");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("fileOpen");
    QTest::addColumn<bool>("chooses");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QByteArray>("commands");
    const QByteArray prelude = "\x03\x03\x03st\rauto\r";
    // clang-format off
    QTest::newRow("instrument not settled") << false << QList<int>{1} << false << true << QStringList{kReady, kNotStable} << QByteArray("\x03\x03\x03st\r");
    QTest::newRow("cavity not ready") << true << QList<int>{0} << false << true << QStringList{kReady} << QByteArray();
    QTest::newRow("open file kept") << true << QList<int>{1, -1} << true << true << QStringList{kReady, kCloseFile} << prelude;
    QTest::newRow("file notice cancelled") << true << QList<int>{1, -1} << false << true << QStringList{kReady, kChooseFile} << prelude;
    QTest::newRow("save dialog cancelled") << true << QList<int>{1, 1} << false << false << QStringList{kReady, kChooseFile} << prelude;
    // clang-format on
}

void CalCheckEndToEnd::declinedQuestionsEndTheCheck()
{
    QFETCH(bool, stable);
    QFETCH(QList<int>, answers);
    QFETCH(bool, fileOpen);
    QFETCH(bool, chooses);
    QFETCH(QByteArray, commands);
    SimRig rig(stable ? RigOptions({"--fast", "--stable"}) : RigOptions());
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const QString kept = rig.path("kept.raw");
    if (fileOpen)
        QVERIFY(rig.openDataFile(kept));
    const QString path = rig.path("declined.raw");
    if (chooses)
        rig.dialogs.pathAnswers << path;
    for (int answer : answers)
        rig.dialogs.questionAnswers << answer;
    QTRY_VERIFY(rig.heard().endsWith("st\r"));
    const qsizetype before = rig.heard().size();
    rig.trigger("Collect Cal Check Data...");
    QTEST(rig.dialogs.questions, "questions");
    QVERIFY(rig.dialogs.questionAnswers.isEmpty());
    QVERIFY(!pollingOn(rig));
    QCOMPARE(probe::dataFile(rig.session()).isOpen(), fileOpen);
    if (fileOpen)
        QCOMPARE(probe::dataFile(rig.session()).path(), kept);
    QVERIFY(!QFile::exists(path));
    // A command of the test's own marks the end of what the check sent.
    rig.line().SendCommand("id\r", "", "Orvantis>", 5);
    QTRY_VERIFY(rig.heard().endsWith("id\r"));
    QCOMPARE(rig.heardSince(before), commands + "id\r");
}

QTEST_MAIN(CalCheckEndToEnd)
#include "tst_calcheck_e2e.moc"
