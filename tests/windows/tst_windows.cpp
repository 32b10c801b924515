// The windows' own behaviour: the question box's answers and keys, the error window, the
// rate dialog refusing what it must not send, the clock window's commands, the remote
// processing window against orvantis-sim, and the main window's settings across a restart.
#include "session/LineClaim.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/ModalDriver.h"
#include "testkit/SessionRig.h"
#include "testkit/SimConsole.h"
#include "testkit/SimulatedInstrument.h"
#include "testkit/TestFiles.h"
#include "testkit/TestSettings.h"
#include "ui/connection/ConnectForm.h"
#include "ui/connection/SetBaudForm.h"
#include "ui/files/FileTransferForm.h"
#include "ui/processing/ProcessingForm.h"
#include "ui/status/InstrumentInfoForm.h"
#include "ui/status/SetTimeForm.h"
#include "ui/status/StatusHistoryWindow.h"
#include "ui/widgets/ErrorForm.h"
#include "ui/widgets/IndicatorLamp.h"
#include "ui/widgets/ProgressForm.h"
#include "ui/widgets/QtOperatorDialogs.h"
#include "ui/widgets/QuestionBoxDialogs.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QAreaSeries>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QtTest>

class Windows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void questionBoxAnswers_data();
    void questionBoxAnswers();
    void errorWindowShowsEachMessageAndBeeps();
    void ambientAsLastFieldKeepsTheWindowsSize_data();
    void ambientAsLastFieldKeepsTheWindowsSize();
    void rateDialogSendsNothingItCannotUse();
    void clockWindowReadsAndSetsTheInstrumentClock();
    void processingWindowRunsFileByFileUntilStop();
    void statusHistoryRecordsAndExportsTheLines();
    void mainWindowValuesAndTerminalComeBackAtTheNextStart();
    void controlsDoNotCoverEachOther();
    void everyWindowShowsItsCaptions();

private:
    QTemporaryDir m_dir;
};

void Windows::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
}

void Windows::questionBoxAnswers_data()
{
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("result");
    const QStringList three{"Yes", "No", "Cancel"};
    const QStringList yesNo{"Yes", "No", ""};
    const QStringList yesCancel{"Yes", "", "Cancel"};
    QTest::newRow("click second") << three << 1 << "click:NoButton" << 0;
    QTest::newRow("Y presses Yes") << yesNo << 0 << "Y" << 1;
    QTest::newRow("n presses No") << yesNo << 1 << "n" << 0;
    QTest::newRow("c presses Cancel") << yesCancel << 1 << "c" << -1;
    QTest::newRow("Enter on the default second") << three << 0 << "\r" << 0;
    QTest::newRow("Escape presses a shown third") << yesCancel << 1 << "\x1b" << -1;
    QTest::newRow("Escape and x do nothing without a third") << yesNo << 1 << "\x1bxN" << 0;
    QTest::newRow("close box") << three << 1 << "" << -1;
    QTest::newRow("a long question") << three << 0 << "\r" << 0;
}

namespace
{
// Shown buttons lie left to right below the question, apart and inside the box.
QString questionBoxLayoutFault(QWidget *box)
{
    const QLabel *question = box->findChild<QLabel *>("Question_text");
    if (question->width() < question->minimumSizeHint().width() ||
        question->height() < question->heightForWidth(question->width()))
        return "the question is cut";
    if (question->height() >
        question->heightForWidth(question->width()) + question->fontMetrics().height())
        return "blank lines under the question";
    int icons = 0;
    for (const char *name : {"InfoIcon", "QuestionIcon"}) {
        const QLabel *icon = box->findChild<QLabel *>(name);
        if (icon && icon->isVisible() && !icon->pixmap().isNull())
            ++icons;
    }
    if (icons != 1)
        return QString("%1 pictures beside the question instead of one").arg(icons);
    const int questionBottom = question->geometry().bottom();
    int previousRight = -1;
    for (const char *name : {"YesButton", "NoButton", "Cancel_Button"}) {
        const QWidget *button = box->findChild<QPushButton *>(name);
        const QRect r = button->geometry();
        if (button->isVisible() &&
            (r.left() <= previousRight || r.top() <= questionBottom || !box->rect().contains(r)))
            return QString(name) + " overlaps or lies outside";
        previousRight = button->isVisible() ? r.right() : previousRight;
    }
    return QString();
}

// Pairs of shown controls that cover each other, as "A/B"; a control left out of its layout
// lands on another.
QStringList coveredControls(QWidget *window)
{
    QList<QWidget *> controls;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QLabel *>(w) ||
                             qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) ||
                             qobject_cast<QAbstractSpinBox *>(w);
        if (control && w->isVisible() && !w->objectName().isEmpty() &&
            !qobject_cast<QLineEdit *>(w->parentWidget()) &&
            !qobject_cast<QComboBox *>(w->parentWidget()) &&
            !qobject_cast<QAbstractSpinBox *>(w->parentWidget()))
            controls << w;
    }
    QStringList covered;
    for (int i = 0; i < controls.size(); ++i) {
        // Too small for its own text: the text is cut off.
        const QSize least = controls[i]->minimumSizeHint();
        if (controls[i]->sizePolicy().horizontalPolicy() != QSizePolicy::Ignored &&
            (controls[i]->width() < least.width() || controls[i]->height() < least.height()))
            covered << controls[i]->objectName() + " cut";
        const QRect a(controls[i]->mapTo(window, QPoint()), controls[i]->size());
        for (int j = i + 1; j < controls.size(); ++j) {
            const QRect b(controls[j]->mapTo(window, QPoint()), controls[j]->size());
            if (a.intersects(b))
                covered << controls[i]->objectName() + "/" + controls[j]->objectName();
        }
    }
    return covered;
}
} // namespace

void Windows::questionBoxAnswers()
{
    QFETCH(QStringList, captions);
    QFETCH(int, defaultButton);
    QFETCH(QString, keys);
    QString layoutFault;
    whenModalShown([keys, &layoutFault](QWidget *box) {
        layoutFault = questionBoxLayoutFault(box);
        if (keys.startsWith("click:"))
            QTest::mouseClick(box->findChild<QPushButton *>(keys.mid(6)), Qt::LeftButton);
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
    QVERIFY2(layoutFault.isEmpty(), qPrintable(layoutFault));
}

void Windows::errorWindowShowsEachMessageAndBeeps()
{
    int beeps = 0;
    QtOperatorDialogs dialogs;
    dialogs.setErrorBeepHook([&beeps] { ++beeps; });
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
    QVERIFY(secondReturned);
    QVERIFY(!dialogs.errorForm()->isVisible());
    QCOMPARE(beeps, 2);
}

void Windows::ambientAsLastFieldKeepsTheWindowsSize_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("caption");
    QTest::newRow("five fields") << QByteArray("st:1011,0.00,1,0.0,21.5\r\n") << "Ambient: 21.5";
    QTest::newRow("six fields") << QByteArray("st:1011,0.00,1,0.0,21.5,12.1\r\n")
                                << "Ambient: 21.5";
    QTest::newRow("a long last field")
        << QByteArray("st:1011,0.00,1,0.0,21.5 C at the housing sensor, probe 2 of 2\r\n")
        << "Ambient: 21.5 C at the housing sensor";
}

void Windows::ambientAsLastFieldKeepsTheWindowsSize()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, caption);
    MemoryCommPort port;
    ScriptedOperator dialogs;
    ConsoleBinding console(port, PortTable({}), dialogs);
    QVERIFY(port.open());
    console.session.SetStatus(StatusCode::Idle);
    console.form.show();
    console.form.layout()->activate();
    const QSize size = console.form.size();

    port.feed(line);
    QTRY_COMPARE(console.form.controls().AmbientTempLabel->text(), caption);
    console.form.layout()->activate();
    QCOMPARE(console.form.size(), size);
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
    port.clearWritten();
    form.BaudCombo->setEditText("fast");
    form.SetBaudButton_Click();
    QVERIFY(form.isVisible());
    QCOMPARE(link.dialogs.errors.size(), 1);
    QVERIFY2(link.dialogs.errors.first().contains("\"fast\" is not a baud rate"),
             qPrintable(link.dialogs.errors.first()));
    // Outside the range the dialog closes without a word to the instrument.
    form.BaudCombo->setEditText("230400");
    form.SetBaudButton_Click();
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
    QCOMPARE(form.DatePicker1->date(), QDate(2026, 12, 4));
    QCOMPARE(form.TimePicker1->time(), QTime(23, 59, 59));

    port.clearWritten();
    form.DatePicker2->setDate(QDate(2027, 1, 2));
    // The time field carries a date of its own, which must not reach the command.
    form.TimePicker2->setDateTime(QDateTime(QDate(2000, 1, 1), QTime(7, 5, 9)));
    form.SetTimeButton->click();
    QCOMPARE(port.written(), QByteArray("time 01/02/2027 07:05:09\rtime\r"));
    QCOMPARE(form.DatePicker1->date(), QDate(2027, 1, 2));
    QCOMPARE(form.TimePicker1->time(), QTime(7, 5, 9));

    // The computer's clock is shown as it ticks and sent as shown.
    form.setComputerClock([] { return QDateTime(QDate(2027, 3, 4), QTime(5, 6, 7)); });
    form.Timer1_Timer();
    port.clearWritten();
    form.SetToComputerTimeButton->click();
    QCOMPARE(port.written(), QByteArray("time 03/04/2027 05:06:07\rtime\r"));
}

void Windows::processingWindowRunsFileByFileUntilStop()
{
    const QString received = m_dir.filePath("processing-received.bin");
    SimConsole rig({"--fast", "--record-input", received});
    QVERIFY2(rig.ok(), qPrintable(rig.error()));
    QVERIFY(rig.connect());
    rig.stopPolling();
    rig.c().processing.ProcessingMenuItem()->trigger();
    ProcessingForm *window = rig.c().processing.processingForm();
    QVERIFY(window);
    QListWidget *list = window->List1();
    QTRY_VERIFY(list->count() > 0 && !window->session().isBusy());
    QVERIFY2(fileBytes(received).contains("OS \"mount BIHD\"\r"), fileBytes(received).constData());
    QCOMPARE(window->Label1()->text(), QString(" C:\\"));

    // A double click on a directory enters it; the list holds its parent, then directories,
    // then files.
    // While it lists, the window takes no Start.
    bool startOfferedWhileListing = false;
    connect(&window->session(), &ProcessingSession::busyChanged, this, [&](bool busy) {
        startOfferedWhileListing |= busy && window->StartButton()->isEnabled();
    });
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

    // Each file is sent once the one before is complete.
    list->clearSelection();
    list->item(3)->setSelected(true);
    list->item(4)->setSelected(true);
    qsizetype before = fileBytes(received).size();
    QSignalSpy done(&window->session(), &ProcessingSession::rowProcessed);
    QTest::mouseClick(window->StartButton(), Qt::LeftButton);
    QCOMPARE(done.size(), 2);
    QCOMPARE(fileBytes(received).mid(before),
             QByteArray("DIRIDovavud \"C:\\DATARUN1\"\r\nDIRIDovavud \"C:\\DATARUN2\"\r\n"));
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(rig.c().terminal.Text()->toPlainText().contains("Processing C:\\DATA\\RUN2.TLT"));

    // Stop sends ETX and ends the run with the rest still selected.
    list->item(2)->setSelected(true);
    list->item(3)->setSelected(true);
    before = fileBytes(received).size();
    rig.when([&] { return fileBytes(received).mid(before).contains("DIRIDovavud"); },
             [&] { QTest::mouseClick(window->StopButton(), Qt::LeftButton); });
    QTest::mouseClick(window->StartButton(), Qt::LeftButton);
    QVERIFY(rig.fired());
    QTRY_COMPARE(fileBytes(received).mid(before),
                 QByteArray("DIRIDovavud \"C:\\DATACAL\"\r\n\x03"));
    QCOMPARE(list->selectedItems().size(), 2);
    QVERIFY(window->StartButton()->isEnabled());

    // Closing the window during a run stops it; the window (and its hourglass) goes once the
    // run is over.
    const QPointer<ProcessingForm> closing(window);
    bool shownDuringRun = false;
    before = fileBytes(received).size();
    rig.when([&] { return fileBytes(received).mid(before).contains("DIRIDovavud"); },
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
    QTRY_VERIFY(fileBytes(received).mid(before).endsWith("\x03"));
}

void Windows::statusHistoryRecordsAndExportsTheLines()
{
    SimConsole rig({"--fast"});
    QVERIFY2(rig.ok(), qPrintable(rig.error()));
    QVERIFY(rig.connect());
    rig.c().session.setPollInterval(100);
    StatusHistoryBinding &history = rig.c().history;
    QTRY_VERIFY_WITH_TIMEOUT(history.history().size() >= 2, 10000);
    history.menuItem()->trigger();
    QVERIFY(history.window() && history.window()->isVisible());
    QCOMPARE(history.window()->windowTitle(), QString("Status History"));
    rig.stopPolling();
    // Each line of the chart has a point for every status line recorded.
    const QChart *chart = history.window()->findChild<QChartView *>()->chart();
    for (const char *name : {"AmbientSeries", "DeviationSeries", "LightSeries"})
        QTRY_COMPARE(chart->findChild<QLineSeries *>(name)->count(), history.history().size());
    // The states' bands: the current state's band stands up from its row, thermal above light.
    QHash<QString, QPair<double, double>> rows; // lowest bottom, highest top
    for (const QAreaSeries *band : chart->findChildren<QAreaSeries *>()) {
        const QString row = band->objectName().startsWith("Thermal") ? "thermal" : "light";
        auto &[bottom, top] = rows.insert(row, rows.value(row, {1e9, -1e9})).value();
        for (const QPointF &point : band->lowerSeries()->points())
            bottom = qMin(bottom, point.y());
        for (const QPointF &point : band->upperSeries()->points())
            top = qMax(top, point.y());
    }
    QVERIFY(rows["light"].second > rows["light"].first);
    QVERIFY(rows["thermal"].second > rows["thermal"].first);
    QVERIFY(rows["thermal"].first >= rows["light"].second);
    const QString path = m_dir.filePath("history.csv");
    rig.dialogs.pathAnswers << path;
    history.window()->findChild<QPushButton *>("ExportButton")->click();
    QCOMPARE(rig.dialogs.fileChoosers,
             QStringList{"Export Status History: CSV Files (*.csv);;All Files (*.*)"});
    const QByteArray csv = fileBytes(path);
    QVERIFY2(csv.count("\"st:1011,") >= 2 && csv == history.history().toCsv(), csv.constData());
    QVERIFY(rig.dialogs.errors.isEmpty());
}

void Windows::mainWindowValuesAndTerminalComeBackAtTheNextStart()
{
    useTemporarySettings(m_dir.filePath("restart"));
    QtCommPort noPort{PortTable({})};
    ScriptedOperator dialogs;
    {
        ConsoleBinding first(noPort, PortTable({}), dialogs);
        first.startUp(false);
        QVERIFY(!first.terminal.isVisible());
        const MainFormControls &c = first.form.controls();
        c.SampleDelayText->setText("42");
        c.AverageSamplesText->setText("25");
        c.AverageCheck->setChecked(true);
        c.StatusCheck->setChecked(false);
        first.form.move(123, 77);
        first.form.ShowTerminal();
        QVERIFY(first.form.close());
        // The terminal goes with the main window, and is remembered as open.
        QVERIFY(!first.terminal.isVisible());
    }
    QCOMPARE(QSettings().value("Terminal/Open").toString(), QString("True"));
    ConsoleBinding second(noPort, PortTable({}), dialogs);
    second.startUp(false);
    const MainFormControls &c = second.form.controls();
    QCOMPARE(c.SampleDelayText->text(), QString("42"));
    QCOMPARE(c.AverageSamplesText->text(), QString("25"));
    QVERIFY(c.AverageCheck->isChecked());
    // Automatic status updates are on at every start, whatever they were at the last exit.
    QVERIFY(c.StatusCheck->isChecked());
    QVERIFY(second.terminal.isVisible());
    QCOMPARE(second.form.pos(), QPoint(123, 77));
    QVERIFY(second.form.close());
    useTemporarySettings(m_dir.filePath("settings"));
}

void Windows::controlsDoNotCoverEachOther()
{
    SimulatedInstrument port;
    ScriptedOperator dialogs;
    ConsoleBinding console(port, PortTable({}), dialogs);
    QVERIFY(port.open());
    console.session.SetStatus(StatusCode::Idle);
    SetTimeForm clock(console.session.line());
    FileTransferForm files(console.files.directory(), console.session);
    ProcessingForm processing(console.session, QIcon());
    LineClaim claim = console.session.claimLine(LineOperation::BaudChange);
    SetBaudForm baud(claim, dialogs);
    ProgressForm progress;
    InstrumentInfoForm info(InstrumentIdentity{});
    for (QWidget *window : std::initializer_list<QWidget *>{&console.form, &baud, &clock, &files,
                                                            &processing, &progress, &info}) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QStringList covered = coveredControls(window);
        QVERIFY2(covered.isEmpty(), qPrintable(covered.join(' ')));
    }
    // The file list grows with the window's height; the download folder's frame stays below it.
    const int gridHeight = files.DirGrid()->height();
    files.resize(files.width(), files.height() + 120);
    QTRY_COMPARE(files.DirGrid()->height(), gridHeight + 120);
    QVERIFY(coveredControls(&files).isEmpty());
    // The two panels' lamps stand level, row by row.
    const MainFormControls &c = console.form.controls();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(c.ThermalOKShape[i]->mapTo(&console.form, QPoint()).y(),
                 c.LightOKShape[i]->mapTo(&console.form, QPoint()).y());
}

namespace
{
// The text a control shows: a button's, a label's, a frame's title, a menu's or an item's.
QString shownText(QObject *control)
{
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text();
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text();
    if (auto *frame = qobject_cast<QGroupBox *>(control))
        return frame->title();
    if (auto *menu = qobject_cast<QMenu *>(control))
        return menu->title();
    if (auto *action = qobject_cast<QAction *>(control))
        return action->text();
    // A date or time field shows its format.
    if (auto *edit = qobject_cast<QDateTimeEdit *>(control))
        return edit->displayFormat();
    // A control without a caption of its own (a chart) goes by its accessible name.
    if (auto *widget = qobject_cast<QWidget *>(control);
        widget && !widget->accessibleName().isEmpty())
        return widget->accessibleName();
    return QStringLiteral("<no text: %1>").arg(control->metaObject()->className());
}

// Each control found by its name, with its caption; the window's own title first.
QStringList captionFaults(QWidget *window, const QString &title,
                          const QList<QPair<const char *, const char *>> &controls)
{
    QStringList faults;
    if (window->windowTitle() != title)
        faults << window->windowTitle() + " instead of " + title;
    for (const auto &[name, caption] : controls) {
        QObject *control = window->findChild<QObject *>(QLatin1String(name));
        const QString shown = control ? shownText(control) : QStringLiteral("<missing>");
        if (shown != QLatin1String(caption))
            faults << QStringLiteral("%1: \"%2\" instead of \"%3\"").arg(name, shown, caption);
    }
    return faults;
}
} // namespace

// The captions an operator reads, and the names by which the program finds its controls.
void Windows::everyWindowShowsItsCaptions()
{
    MemoryCommPort port;
    ScriptedOperator dialogs;
    ConsoleBinding console(port, PortTable({}), dialogs);
    QStringList faults = captionFaults(
        &console.form, "Orvantis Console 1.21",
        {{"CommFrame", "Communication"},
         {"ConnectButton", "Connect..."},
         {"DisconnectButton", "Disconnect"},
         {"OpenTerminalButton", "Show Terminal"},
         {"SetBaudButton", "Set Baud Rate..."},
         {"StatusCheck", "Automatic status updates"},
         {"SavingFrame", "Save to File"},
         {"NewFileButton", "New File..."},
         {"StopSavingButton", "Stop Saving"},
         {"SamplingFrame", "Sampling"},
         {"SampleOnceButton", "Sample Once"},
         {"StartSamplingButton", "Start Periodic"},
         {"StopSamplingButton", "Stop"},
         {"AverageCheck", "Average multiple spectra in each sample:"},
         {"StoreInFlashCheck", "Store samples in Orvantis flash"},
         {"StoreInComputerCheck", "Send samples to this computer (stored in currently open file)"},
         {"ThermalOnCheck", "Enable"},
         {"LightOnCheck", "Enable"},
         {"TransferFilesButton", "Manage Orvantis Files..."},
         {"FileMenu", "File"},
         {"ExitMenuItem", "Exit"},
         {"CommunicationMenu", "Communication"},
         {"ConnectMenuItem", "Connect..."},
         {"DisconnectMenuItem", "Disconnect"},
         {"SetBaudMenuItem", "Set Baud Rate..."},
         {"ShowTerminalMenuItem", "Show Terminal Window"},
         {"StatusRateMenuItem", "Set Status Check Rate..."},
         {"OrvantisMenu", "Orvantis"},
         {"ShowInfoMenuItem", "Instrument Info..."},
         {"SetClockMenuItem", "Set Clock..."},
         {"TransferFilesMenuItem", "Manage Files on Orvantis..."},
         {"CalCheckMenuItem", "Collect Cal Check Data..."}});
    ConnectForm connect(console.session, dialogs);
    faults += captionFaults(&connect, "Connecting",
                            {{"Label2", "Available Ports:"},
                             {"Label3", "Baud Rate:"},
                             {"ForceConnectButton", "Open Selected Port"},
                             {"SearchButton", "Search Again"},
                             {"CancelButton", "Close"}});
    LineClaim claim = console.session.claimLine(LineOperation::BaudChange);
    SetBaudForm baud(claim, dialogs);
    faults += captionFaults(&baud, "Set Baud Rate",
                            {{"Label1", "Baud Rate:"},
                             {"DefaultCheck", "Make this the startup rate"},
                             {"SetBaudButton", "Set Rate"},
                             {"CancelButton", "Close"}});
    SetTimeForm clock(console.session.line());
    faults += captionFaults(&clock, "Orvantis Real-Time Clock",
                            {{"Frame1", "Current Orvantis Time"},
                             {"RefreshButton", "Refresh"},
                             {"DatePicker1", "MM/dd/yyyy"},
                             {"TimePicker1", "HH:mm:ss"},
                             {"DatePicker2", "MM/dd/yyyy"},
                             {"TimePicker2", "HH:mm:ss"},
                             {"Frame2", "Manual Time Setting"},
                             {"SetTimeButton", "Set Orvantis Time"},
                             {"Frame3", "This Computer's Time"},
                             {"SetToComputerTimeButton", "Set Orvantis Time"}});
    FileTransferForm files(console.files.directory(), console.session);
    faults += captionFaults(&files, "Files in Orvantis Memory",
                            {{"GetFilesButton", "Get Files"},
                             {"DeleteButton", "Delete Files"},
                             {"SendFileButton", "Send File..."},
                             {"RefreshButton", "Refresh"},
                             {"CloseButton", "Close"},
                             {"DestFrame", "Location for Saved Files"},
                             {"SetDirButton", "Browse..."}});
    InstrumentInfoForm info(InstrumentIdentity{});
    faults += captionFaults(&info, "Instrument Information", {{"CloseButton", "Close"}});
    faults += captionFaults(&console.terminal, "Terminal - no connection",
                            {{"CopyAction", "Copy"}, {"SelectAllAction", "Select All"}});
    // The terminal's context menu: Copy only once something is selected.
    QStringList menu;
    for (const QAction *action : console.terminal.Text()->actions())
        menu << action->text() + (action->isEnabled() ? "" : " (off)");
    if (menu != QStringList{"Copy (off)", "Select All"})
        faults << "the terminal's context menu: " + menu.join(", ");
    StatusHistoryWindow history(console.history.history(), dialogs);
    faults += captionFaults(
        &history, "Status History",
        {{"HistoryChart", "Status history chart"},
         {"BandKeyLabel", "Bands along the bottom: thermal control (upper) and light source "
                          "(lower); green stable, yellow stabilizing, red off."},
         {"ValuesLabel", "Point at the chart to see the values of a status line."},
         {"ExportButton", "Export CSV..."},
         {"CloseButton", "Close"}});
    console.eventLog.menuItem()->trigger();
    faults += captionFaults(console.eventLog.window(), "Event Log", {});
    if (console.eventLog.menuItem()->text() != "Event Log...")
        faults << console.eventLog.menuItem()->text() + " instead of Event Log...";
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

QTEST_MAIN(Windows)
#include "tst_windows.moc"
