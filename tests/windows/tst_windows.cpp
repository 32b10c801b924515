// The windows' own behaviour: the question box's answers, keys and geometry, the error
// window and its beep, the rate dialog refusing what it must not send, the clock window's
// commands, the remote processing window and the status history against orvantis-sim, the
// main window keeping its size for a long status line, and every saved setting read back at
// the next start, whatever the settings file holds.
#include "session/LineClaim.h"
#include "support/QuestionBoxLayout.h"
#include "testkit/ModalDriver.h"
#include "testkit/SessionRig.h"
#include "testkit/SimRig.h"
#include "testkit/SimulatedInstrument.h"
#include "testkit/TestSettings.h"
#include "ui/connection/SetBaudForm.h"
#include "ui/eventlog/EventLogWindow.h"
#include "ui/processing/ProcessingForm.h"
#include "ui/status/SetTimeForm.h"
#include "ui/widgets/ErrorForm.h"
#include "ui/widgets/IndicatorLamp.h"
#include "ui/widgets/QtOperatorDialogs.h"
#include "ui/widgets/QuestionBoxDialogs.h"
#include "ui/widgets/YesNoCancelForm.h"

#include <QAction>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QtTest>

#include <cmath>

namespace
{
int systemBeeps = 0;
} // namespace

// The system beep, counted: the program's own calls reach this definition instead of Qt's.
void QApplication::beep()
{
    ++systemBeeps;
}

class Windows : public QObject
{
    Q_OBJECT

private slots:
    void questionBoxAnswers_data();
    void questionBoxAnswers();
    void questionBoxFitsItsQuestion_data();
    void questionBoxFitsItsQuestion();
    void questionBoxStaysOnTheScreen();
    void errorWindowShowsEachMessageAndBeeps();
    void ambientAsLastFieldKeepsTheWindowsSize_data();
    void ambientAsLastFieldKeepsTheWindowsSize();
    void rateDialogSendsNothingItCannotUse();
    void clockWindowReadsAndSetsTheInstrumentClock();
    void processingWindowRunsFileByFileUntilStop();
    void statusHistoryRecordsAndExportsTheLines();
    void lampRepaintsWhenItsColourChanges();
    void settingsComeBackAtTheNextStart_data();
    void settingsComeBackAtTheNextStart();
};

void Windows::questionBoxAnswers_data()
{
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("result");
    const QStringList three{"Yes", "No", "Cancel"};
    const QStringList yesNo{"Yes", "No", ""};
    const QStringList yesCancel{"Yes", "", "Cancel"};
    QTest::newRow("click second") << three << 1 << "click:No" << 0;
    QTest::newRow("Y presses Yes") << yesNo << 0 << "Y" << 1;
    QTest::newRow("n presses No") << yesNo << 1 << "n" << 0;
    QTest::newRow("c presses Cancel") << yesCancel << 1 << "c" << -1;
    QTest::newRow("Enter on the default second") << three << 0 << "\r" << 0;
    QTest::newRow("Escape presses a shown third") << yesCancel << 1 << "\x1b" << -1;
    QTest::newRow("Escape and x do nothing without a third") << yesNo << 1 << "\x1bxN" << 0;
    QTest::newRow("close box") << three << 1 << "" << -1;
    QTest::newRow("a long question") << three << 0 << "\r" << 0;
}

void Windows::questionBoxAnswers()
{
    QFETCH(QStringList, captions);
    QFETCH(int, defaultButton);
    QFETCH(QString, keys);
    QStringList faults;
    whenModalShown([keys, &faults](QWidget *box) {
        // The whole question shows, the buttons apart below it, and one picture beside it.
        faults = coveredControls(box);
        int pictures = 0;
        for (const char *name : {"InfoIcon", "QuestionIcon"}) {
            const QLabel *icon = box->findChild<QLabel *>(name);
            pictures += icon && icon->isVisible() && !icon->pixmap().isNull();
        }
        if (pictures != 1)
            faults << QString("%1 pictures").arg(pictures);
        if (keys.startsWith("click:"))
            QTest::mouseClick(buttonCaptioned(box, keys.mid(6)), Qt::LeftButton);
        for (QChar key : keys.startsWith("click:") ? QString() : keys) {
            if (!box->isVisible())
                break;
            QWidget *target = box->focusWidget() ? box->focusWidget() : box;
            const int code = key == '\r' ? Qt::Key_Return : key == '\x1b' ? Qt::Key_Escape : 0;
            if (code)
                QTest::keyClick(target, Qt::Key(code));
            else
                QTest::keyClick(target, key.toLatin1());
        }
        if (box->isVisible())
            box->close();
    });
    const QString question = QString(QTest::currentDataTag()) == "a long question"
                                 ? QString("Overwrite the file? ").repeated(40)
                                 : QString("Sure?");
    QTEST(ShowQuestionBox(question, captions[0], captions[1], captions[2], defaultButton),
          "result");
    QCOMPARE(faults, QStringList());
}

// The box in twips: a question that would stand tall and narrow is widened to twice its
// height, but never past 8000; the box grows around it, centred where it was, and the
// buttons stand right-aligned at the bottom, a button without a caption giving its place up.
void Windows::questionBoxFitsItsQuestion_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("captioned");
    QTest::addColumn<QRect>("label");
    QTest::addColumn<QSize>("interior");
    QTest::addColumn<double>("shift");
    QTest::addColumn<QList<int>>("lefts");
    QTest::addColumn<int>("top");
    // clang-format off
    QTest::newRow("one line") << 210 << "YYY" << QRect(840, 120, 4695, 210) << QSize(5715, 1890) << 0.0 << QList<int>{933, 2568, 4203} << 1455;
    QTest::newRow("tall, widened") << 3000 << "YYY" << QRect(840, 120, 6000, 2348) << QSize(6960, 2963) << -622.5 << QList<int>{2178, 3813, 5448} << 2528;
    QTest::newRow("too wide, held at 8000") << 5000 << "YYY" << QRect(840, 120, 8000, 2935) << QSize(8960, 3550) << -1622.5 << QList<int>{4178, 5813, 7448} << 3115;
    QTest::newRow("no second button") << 210 << "YNY" << QRect(840, 120, 4695, 210) << QSize(5715, 1890) << 0.0 << QList<int>{2568, 4203, 4203} << 1455;
    QTest::newRow("no third button") << 210 << "YYN" << QRect(840, 120, 4695, 210) << QSize(5715, 1890) << 0.0 << QList<int>{2265, 3900, 5535} << 1455;
    // clang-format on
}

void Windows::questionBoxFitsItsQuestion()
{
    QFETCH(int, height);
    QFETCH(QString, captioned);
    QFETCH(QList<int>, lefts);
    QFETCH(int, top);
    // The question's text takes the same area at any width.
    const double area = 4695.0 * height;
    const auto heightAt = [area](int width) { return int(std::ceil(area / width)); };
    QuestionBoxLayout layout;
    layout.label.setHeight(heightAt(layout.label.width()));
    QTEST(layout.fit(heightAt, {captioned[0] == 'Y', captioned[1] == 'Y', captioned[2] == 'Y'}),
          "shift");
    QTEST(layout.label, "label");
    QTEST(layout.interior, "interior");
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(layout.buttons[size_t(i)].left(), lefts.at(i));
        QCOMPARE(layout.buttons[size_t(i)].top(), top);
    }
}

// Centred on a window past a corner of the screen, the box is placed within the screen by the
// size it has before its question is set.
void Windows::questionBoxStaysOnTheScreen()
{
    QWidget owner;
    const QRect screen = owner.screen()->geometry();
    const QSize outer = YesNoCancelForm(nullptr).frameGeometry().size();
    const QPoint farthest = screen.bottomRight() + QPoint(1 - outer.width(), 1 - outer.height());
    for (const QPoint corner : {screen.topLeft(), screen.bottomRight()}) {
        owner.setGeometry(QRect(corner - QPoint(100, 100), QSize(200, 200)));
        owner.show();
        QPoint placed;
        whenModalShown([&placed](QWidget *box) { placed = box->pos(), box->close(); });
        ShowQuestionBox("Sure?", "Yes", "No", "Cancel", 0, true, &owner);
        QCOMPARE(placed, corner == screen.topLeft() ? corner : farthest);
    }
}

void Windows::errorWindowShowsEachMessageAndBeeps()
{
    QtOperatorDialogs dialogs;
    const int beepsBefore = systemBeeps;
    QStringList seen;
    bool secondReturned = false;
    // Inside the first message's wait, something fails again.
    QTimer::singleShot(0, this, [&] {
        // Inside the second message's wait: the operator reads and presses OK, twice.
        QTimer::singleShot(0, this, [&] {
            ErrorForm *form = dialogs.errorForm();
            seen << form->msgText->text();
            QTest::mouseClick(form->Cancel, Qt::LeftButton);
            seen << form->msgText->text() << (form->isVisible() ? "shown" : "hidden")
                 << (secondReturned ? "returned" : "waiting");
            QTest::mouseClick(form->Cancel, Qt::LeftButton);
        });
        dialogs.ShowErrorMessage("No response.");
        secondReturned = true;
    });
    dialogs.ShowErrorMessage("Port 3 is in use.");
    QCOMPARE(seen, (QStringList{"Port 3 is in use.", "No response.", "shown", "waiting"}));
    QVERIFY(secondReturned && !dialogs.errorForm()->isVisible());
    QCOMPARE(systemBeeps - beepsBefore, 2);
}

void Windows::ambientAsLastFieldKeepsTheWindowsSize_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("caption");
    // clang-format off
    QTest::newRow("five fields") << QByteArray("st:1011,0.00,1,0.0,21.5\r\n") << "Ambient: 21.5";
    QTest::newRow("six fields") << QByteArray("st:1011,0.00,1,0.0,21.5,12.1\r\n") << "Ambient: 21.5";
    QTest::newRow("a long last field") << QByteArray("st:1011,0.00,1,0.0,21.5 C at the housing sensor, probe 2 of 2\r\n") << "Ambient: 21.5 C at the housing sensor";
    // clang-format on
}

void Windows::ambientAsLastFieldKeepsTheWindowsSize()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, caption);
    QTemporaryDir dir;
    useTemporarySettings(dir.path());
    MemoryCommPort port;
    ScriptedOperator dialogs;
    ConsoleBinding console(port, PortTable({}), dialogs);
    QVERIFY(port.open());
    console.session.SetStatus(StatusCode::Idle);
    console.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&console.form));
    console.form.layout()->activate();
    const QSize size = console.form.size();
    port.feed(line);
    QTRY_COMPARE(console.form.controls().AmbientTempLabel->text(), caption);
    console.form.layout()->activate();
    QCOMPARE(console.form.size(), size);
    QCOMPARE(coveredControls(&console.form), QStringList());
}

void Windows::rateDialogSendsNothingItCannotUse()
{
    SimulatedInstrument port;
    SessionRig link(port);
    QVERIFY(link.open());
    LineClaim claim = link.session.claimLine(LineOperation::BaudChange);
    SetBaudForm form(claim, link.dialogs);
    form.show();
    QTRY_COMPARE(form.StartupRateLabel->text(), QString("Startup rate 9600"));
    QCOMPARE(form.windowTitle(), QString("Set Baud Rate"));
    QCOMPARE(coveredControls(&form), QStringList());
    port.clearWritten();
    form.BaudCombo->setEditText("fast");
    QTest::mouseClick(buttonCaptioned(&form, "Set Rate"), Qt::LeftButton);
    QVERIFY(form.isVisible());
    QCOMPARE(link.dialogs.errors,
             QStringList{"\"fast\" is not a baud rate. Choose one of the rates in the list or type "
                         "a whole number from 9600 to 115200."});
    // Outside the range the dialog closes without a word to the instrument.
    form.BaudCombo->setEditText("230400");
    QTest::mouseClick(buttonCaptioned(&form, "Set Rate"), Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QCOMPARE(port.written(), QByteArray());
    QCOMPARE(port.settings(), QString("9600,n,8,1"));
}

void Windows::clockWindowReadsAndSetsTheInstrumentClock()
{
    SimulatedInstrument port;
    port.setManualClock(true);
    SessionRig link(port);
    QVERIFY(link.open());
    port.engine().feed("time 12/04/2026 23:59:59\r");
    port.engine().takeOutput();
    SetTimeForm form(link.line());
    form.Timer1->stop();
    form.GetDateTime();
    QCOMPARE(form.windowTitle(), QString("Orvantis Real-Time Clock"));
    QCOMPARE(form.DatePicker1->date(), QDate(2026, 12, 4));
    QCOMPARE(form.TimePicker1->time(), QTime(23, 59, 59));
    QCOMPARE(form.DatePicker1->displayFormat(), QString("MM/dd/yyyy"));
    port.clearWritten();
    form.DatePicker2->setDate(QDate(2027, 1, 2));
    // The time field carries a date of its own, which must not reach the command.
    form.TimePicker2->setDateTime(QDateTime(QDate(2000, 1, 1), QTime(7, 5, 9)));
    QTest::mouseClick(form.SetTimeButton, Qt::LeftButton);
    QCOMPARE(port.written(), QByteArray("time 01/02/2027 07:05:09\rtime\r"));
    QCOMPARE(form.DatePicker1->date(), QDate(2027, 1, 2));
    QCOMPARE(form.TimePicker1->time(), QTime(7, 5, 9));
    // The computer's clock is shown as it ticks and sent as shown.
    form.setComputerClock([] { return QDateTime(QDate(2027, 3, 4), QTime(5, 6, 7)); });
    form.Timer1_Timer();
    port.clearWritten();
    QTest::mouseClick(form.SetToComputerTimeButton, Qt::LeftButton);
    QCOMPARE(port.written(), QByteArray("time 03/04/2027 05:06:07\rtime\r"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(coveredControls(&form), QStringList());
}

void Windows::processingWindowRunsFileByFileUntilStop()
{
    // Each run's report lines come in one write, two seconds after the command.
    SimRig rig(RigOptions({"--fast", "--burst-reports"}));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    rig.trigger("Remote Processing...");
    ProcessingForm *window = rig.c().processing.processingForm();
    QVERIFY(window);
    QListWidget *list = window->List1();
    QTRY_VERIFY(list->count() > 0 && !window->session().isBusy());
    QTRY_VERIFY2(rig.heard().contains("OS \"mount BIHD\"\r"), rig.heard().constData());
    QCOMPARE(window->Label1()->text(), QString(" C:\\"));
    // Another drive is changed to and listed; going back lists the first again.
    QComboBox *drives = window->findChild<QComboBox *>("DriveCombo");
    const qsizetype drivesFrom = rig.heard().size();
    drives->setCurrentText("D:");
    QTRY_VERIFY(!window->session().isBusy());
    drives->setCurrentText("C:");
    QTRY_VERIFY(window->Label1()->text() == " C:\\" && !window->session().isBusy());
    const QByteArray listing = "OS \"DIR /AD\"\rOS \"DIR *.tlt\"\r";
    QTRY_COMPARE(rig.heardSince(drivesFrom), "OS \"D:\r\n" + listing + "OS \"C:\r\n" + listing);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(coveredControls(window), QStringList());
    // A double click on a directory enters it; the list holds its parent, then directories,
    // then files. While it lists, the window takes no Start, and polls falling due as fast as
    // they can go keep out.
    QTimer *poll = rig.session().findChild<QTimer *>("StatusTimer");
    bool startOfferedWhileListing = false;
    connect(&window->session(), &ProcessingSession::busyChanged, this, [&](bool busy) {
        startOfferedWhileListing |= busy && window->StartButton()->isEnabled();
        poll->setInterval(0);
        rig.controls().StatusCheck->setChecked(busy);
    });
    const qsizetype listingFrom = rig.heard().size();
    const QPoint at = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTRY_VERIFY(window->Label1()->text() == " C:\\DATA" && !window->session().isBusy());
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text().section(' ', 0, 0);
    QCOMPARE(names, (QStringList{"..", "OLD", "CAL.TLT", "RUN1.TLT", "RUN2.TLT"}));
    QCOMPARE(window->FileCountLabel()->text(), QString("File Count:3"));
    QVERIFY(!startOfferedWhileListing && window->StartButton()->isEnabled());
    QTRY_COMPARE(rig.heardSince(listingFrom),
                 QByteArray("OS \"CD DATA\"\r\nOS \"DIR /AD\"\rOS \"DIR *.tlt\"\r"));
    // Each file is sent once the one before is complete: a report lost in a burst would leave
    // the run waiting until Stop.
    list->clearSelection();
    list->item(3)->setSelected(true);
    list->item(4)->setSelected(true);
    qsizetype before = rig.heard().size();
    QSignalSpy done(&window->session(), &ProcessingSession::rowProcessed);
    rig.when([deadline = QDeadlineTimer(60000)] { return deadline.hasExpired(); },
             [window] { QTest::mouseClick(window->StopButton(), Qt::LeftButton); });
    QTest::mouseClick(window->StartButton(), Qt::LeftButton);
    QVERIFY2(!rig.fired(), "the run waited past its reports");
    QCOMPARE(done.size(), 2);
    QCOMPARE(rig.heard().mid(before),
             QByteArray("DIRIDovavud \"C:\\DATARUN1\"\r\nDIRIDovavud \"C:\\DATARUN2\"\r\n"));
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(rig.c().terminal.Text()->toPlainText().contains("Processing C:\\DATA\\RUN2.TLT"));
    // Stop sends ETX and ends the run with the rest still selected.
    list->item(2)->setSelected(true);
    list->item(3)->setSelected(true);
    before = rig.heard().size();
    rig.when([&] { return rig.heard().mid(before).contains("DIRIDovavud"); },
             [&] { QTest::mouseClick(window->StopButton(), Qt::LeftButton); });
    QTest::mouseClick(window->StartButton(), Qt::LeftButton);
    QVERIFY(rig.fired());
    QTRY_COMPARE(rig.heard().mid(before), QByteArray("DIRIDovavud \"C:\\DATACAL\"\r\n\x03"));
    QCOMPARE(list->selectedItems().size(), 2);
    QVERIFY(window->StartButton()->isEnabled());
    // Closing the window during a run stops it; the window (and its hourglass) goes once the
    // run is over.
    const QPointer<ProcessingForm> closing(window);
    bool shownDuringRun = false;
    before = rig.heard().size();
    rig.when([&] { return rig.heard().mid(before).contains("DIRIDovavud"); },
             [&] {
                 const QCursor *cursor = QApplication::overrideCursor();
                 window->close();
                 shownDuringRun =
                     window->isVisible() && cursor && cursor->shape() == Qt::WaitCursor;
             });
    QTest::mouseClick(window->StartButton(), Qt::LeftButton);
    QVERIFY(rig.fired() && shownDuringRun);
    QTRY_VERIFY(closing.isNull());
    QVERIFY(!QApplication::overrideCursor());
    QTRY_VERIFY(rig.heard().mid(before).endsWith("\x03"));
}

void Windows::statusHistoryRecordsAndExportsTheLines()
{
    SimRig rig(RigOptions().polled());
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    rig.session().setPollInterval(100);
    StatusHistoryBinding &history = rig.c().history;
    QTRY_VERIFY_WITH_TIMEOUT(history.history().size() >= 2, 10000);
    rig.trigger("Status History...");
    QVERIFY(history.window() && history.window()->isVisible());
    QCOMPARE(history.window()->windowTitle(), QString("Status History"));
    rig.stopPolling();
    // Each line of the chart has a point for every status line recorded.
    const QChart *chart = history.window()->findChild<QChartView *>()->chart();
    for (const char *name : {"AmbientSeries", "DeviationSeries", "LightSeries"})
        QTRY_COMPARE(chart->findChild<QLineSeries *>(name)->count(), history.history().size());
    // Every line and band is drawn against time and a value axis of its own.
    for (QAbstractSeries *series : chart->series())
        QVERIFY(series->attachedAxes().size() == 2 &&
                series->attachedAxes().first()->titleText() == "Time");
    const QString path = rig.path("history.csv");
    rig.dialogs.pathAnswers << path;
    QTest::mouseClick(buttonCaptioned(history.window(), "Export CSV..."), Qt::LeftButton);
    QCOMPARE(rig.dialogs.fileChoosers,
             QStringList{"Export Status History: CSV Files (*.csv);;All Files (*.*)"});
    // A line per status line recorded, each ending with the line as the instrument sent it.
    const QList<QByteArray> csv = fileBytes(path).trimmed().split('\n');
    QCOMPARE(csv.size(), history.history().size() + 1);
    for (const QByteArray &line : csv.mid(1)) {
        const QByteArray status = line.mid(line.indexOf(",\"st:") + 2).chopped(1);
        QVERIFY2(status.startsWith("st:1011,") && rig.sent().contains(status + "\r\n"),
                 line.constData());
    }
    QCOMPARE(rig.dialogs.errors, QStringList());
}

// On screen, not only in its description: a lamp that changes colour is painted again.
void Windows::lampRepaintsWhenItsColourChanges()
{
    struct CountedLamp : IndicatorLamp {
        using IndicatorLamp::IndicatorLamp;
        void paintEvent(QPaintEvent *event) override { ++paints, IndicatorLamp::paintEvent(event); }
        int paints = 0;
    } lamp("Light");
    lamp.show();
    QTRY_VERIFY(QTest::qWaitForWindowExposed(&lamp) && lamp.paints > 0);
    const int shown = lamp.paints;
    lamp.setColour(LampColour::Green);
    QTRY_VERIFY(lamp.paints > shown);
}

void Windows::settingsComeBackAtTheNextStart_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("as saved") << QString();
    QTest::newRow("garbage") << "garbage";
    QTest::newRow("unreadable") << "unreadable";
}

namespace
{
// What the operator finds at start-up: the main window's texts and boxes, its place and size,
// the terminal, the event log window's place and whether a lost port is reopened.
QStringList startedWith(ConsoleBinding &console)
{
    QStringList values;
    for (const QLineEdit *edit : console.form.findChildren<QLineEdit *>())
        values << edit->objectName() + '=' + edit->text();
    for (const QCheckBox *box : console.form.findChildren<QCheckBox *>())
        values << box->objectName() + '=' + QString::number(box->checkState());
    values << QStringLiteral("place=%1,%2 %3x%4")
                  .arg(console.form.x())
                  .arg(console.form.y())
                  .arg(console.form.width())
                  .arg(console.form.height());
    values << QStringLiteral("terminal=%1").arg(console.terminal.isVisible());
    values << QStringLiteral("reconnect=%1")
                  .arg(console.form.controls().ReconnectMenuItem->isChecked());
    console.eventLog.menuItem()->trigger();
    values << QStringLiteral("event log=%1,%2")
                  .arg(console.eventLog.window()->x())
                  .arg(console.eventLog.window()->y());
    return values;
}
} // namespace

void Windows::settingsComeBackAtTheNextStart()
{
    QFETCH(QString, file);
    QTemporaryDir dir;
    QtCommPort noPort{PortTable({})};
    ScriptedOperator dialogs;
    useTemporarySettings(dir.filePath("built"));
    QStringList expected;
    {
        ConsoleBinding first(noPort, PortTable({}), dialogs);
        first.startUp(false);
        expected = startedWith(first);
    }
    useTemporarySettings(dir.filePath("settings"));
    const QString store = QSettings().fileName();
    QVERIFY(QDir().mkpath(QFileInfo(store).path()));
    if (file.isEmpty()) {
        ConsoleBinding first(noPort, PortTable({}), dialogs);
        first.startUp(false);
        const MainFormControls &c = first.form.controls();
        c.SampleDelayText->setText("42");
        c.AverageSamplesText->setText("25");
        c.FlashFilenameText->setText("RUN7");
        for (QCheckBox *box : {c.AverageCheck, c.StoreInFlashCheck, c.StoreInComputerCheck})
            box->click();
        c.ReconnectMenuItem->trigger();
        first.form.move(123, 77);
        first.form.ShowTerminal();
        first.eventLog.menuItem()->trigger();
        first.eventLog.window()->move(200, 150);
        first.eventLog.window()->close();
        expected = startedWith(first);
        // Automatic status updates are on at every start, whatever they were at the last exit.
        c.StatusCheck->click();
        QVERIFY(first.form.close());
        // The terminal goes with the main window, and is remembered as open.
        QVERIFY(!first.terminal.isVisible());
    } else if (file == "unreadable") {
        // A folder where the file should be: nothing can read it, whoever runs the test.
        QVERIFY(QDir().mkpath(store));
    } else {
        // Values of the wrong kind under the right keys, a broken line, then binary noise.
        QByteArray bytes(
            "[MainForm]\nSampleDelayText=@Rect(1 2 3 4)\nAverageSamplesText=@Size(7 7)\n"
            "StatusCheck=@ByteArray(\\x1)\nStoreInComputerCheck=7\n[Connection]\n"
            "Reconnect=@Point(1 1)\n[[[\nWidth==\n");
        for (int i = 0; i < 4096; ++i)
            bytes += char((i * 131 + 17) & 0xff);
        QVERIFY(writeFile(store, bytes));
    }
    ConsoleBinding second(noPort, PortTable({}), dialogs);
    second.startUp(false);
    QCOMPARE(startedWith(second), expected);
    QCOMPARE(second.session.Status(), StatusCode::NotConnected);
    QCOMPARE(dialogs.errors, QStringList());
    QVERIFY(second.form.close());
}

QTEST_MAIN(Windows)
#include "tst_windows.moc"
