#include "link/ProgramState.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/ScriptedOperator.h"
#include "testkit/TestSettings.h"
#include "ui/mainwindow/MainForm.h"
#include "ui/terminal/TerminalForm.h"
#include "ui/widgets/FormSettings.h"
#include "ui/widgets/IndicatorLamp.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace
{
// The controls the status governs, in the order of the rows below.
const QStringList kGoverned = {"ConnectButton",      "ConnectMenuItem",  "DisconnectButton",
                               "DisconnectMenuItem", "SampleOnceButton", "StartSamplingButton",
                               "StopSamplingButton", "SetBaudButton",    "SetBaudMenuItem",
                               "OrvantisMenu",       "SetClockMenuItem"};

// Enabled state per code: 1 on, 0 off, - left as it was.
QString expectedStates(int code)
{
    switch (code) {
    case 0:
        return "11000000000";
    case 1:
        return "00111111111";
    case 2:
        return "----0010000";
    case 4:
        return "--0-0010000";
    default: // 3, 5 and codes outside the table
        return "00111110000";
    }
}
} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void captionsAndNames_data();
    void captionsAndNames();
    void menusInOrder();
    void windowHasAFixedBorderAndNoOverlaps();
    void enableTable_data();
    void enableTable();
    void statusLineTexts();
    void terminalCaptionNamesInstrumentPortAndRate();
    void commandInProgressThenBackRestoresEverything();
    void statusZeroClearsSerNumAndPanels();
    void dataLampFollowsTraffic();
    void statusLinesReachTheParser();
    void parserThatWaitsForAReplyGetsIt();
    void sendCommandGetsItsReplyThroughTimer1();
    void lostPortDisconnectsAndSaysSoOnce();
    void disconnectWithNoPortOpen();
    void disconnectClosesAnOpenPort();
    void statusTimerQueriesOnlyWhenIdleOrSilent_data();
    void statusTimerQueriesOnlyWhenIdleOrSilent();
    void statusCheckSwitchesPolling();
    void pollingPausedAroundDialogs_data();
    void pollingPausedAroundDialogs();
    void connectAndTerminalButtons();
    void closingSavesAfterTheTerminalCloses();
    void persistedControlsInHandlerOrder();

private:
    bool isEnabled(const QString &name) const;
    QString statesOf(const QStringList &names) const;
    void openDataFile();
    void recordDataLamp();
    // The lamp after the latest run; red (never shown by this lamp) before any run.
    IndicatorLamp::Colour lastLamp() const
    {
        return m_lampSeen.value(m_lampSeen.size() - 1, IndicatorLamp::Colour::Red);
    }

    QTemporaryDir m_settingsDir;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<MemoryCommPort> m_port;
    std::unique_ptr<ScriptedOperator> m_operator;
    std::unique_ptr<TerminalForm> m_terminal;
    std::unique_ptr<MainForm> m_form;
    QList<IndicatorLamp::Colour> m_lampSeen;
};

void TestMainForm::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    useTemporarySettings(m_settingsDir.path());
}

void TestMainForm::init()
{
    m_form.reset();
    m_terminal.reset();
    m_dir = std::make_unique<QTemporaryDir>();
    m_state = std::make_unique<ProgramState>();
    m_port = std::make_unique<MemoryCommPort>();
    m_operator = std::make_unique<ScriptedOperator>();
    m_terminal = std::make_unique<TerminalForm>();
    m_form = std::make_unique<MainForm>(*m_state, *m_port, *m_operator, *m_terminal);
    m_lampSeen.clear();
}

void TestMainForm::cleanup()
{
    m_form.reset();
    m_terminal.reset();
    m_state->dataFile.close();
    QVERIFY(!QApplication::overrideCursor());
}

bool TestMainForm::isEnabled(const QString &name) const
{
    if (auto *menu = m_form->findChild<QMenu *>(name))
        return menu->menuAction()->isEnabled();
    if (auto *widget = m_form->findChild<QWidget *>(name))
        return widget->isEnabled();
    auto *action = m_form->findChild<QAction *>(name);
    if (!action)
        qFatal("no control %s", qPrintable(name));
    return action->isEnabled();
}

QString TestMainForm::statesOf(const QStringList &names) const
{
    QString states;
    for (const QString &name : names)
        states += isEnabled(name) ? QLatin1Char('1') : QLatin1Char('0');
    return states;
}

void TestMainForm::openDataFile()
{
    QVERIFY(m_state->dataFile.open(m_dir->filePath("data.raw")));
}

void TestMainForm::captionsAndNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const QList<QPair<QString, QString>> rows = {
        {"CommFrame", "Communication"},
        {"ConnectButton", "Connect..."},
        {"DisconnectButton", "Disconnect"},
        {"OpenTerminalButton", "Show Terminal"},
        {"SetBaudButton", "Set Baud Rate..."},
        {"StatusCheck", "Automatic status updates"},
        {"DataLabel", "Data"},
        {"SavingFrame", "Save to File"},
        {"NewFileButton", "New File..."},
        {"StopSavingButton", "Stop Saving"},
        {"SamplingFrame", "Sampling"},
        {"SampleOnceButton", "Sample Once"},
        {"StartSamplingButton", "Start Periodic"},
        {"StopSamplingButton", "Stop"},
        {"SampleDelayText", "10"},
        {"SampleDelayLabel", "Minimum period (sec):"},
        {"AverageCheck", "Average multiple spectra in each sample:"},
        {"AverageSamplesText", "10"},
        {"StoreInFlashCheck", "Store samples in Orvantis flash"},
        {"FlashFilenameLabel", "Flash file name:  "},
        {"FlashFilenameText", ""},
        {"StoreInComputerCheck", "Send samples to this computer (stored in currently open file)"},
        {"ThermalFrame", "Thermal Control"},
        {"ThermalOnCheck", "Enable"},
        {"AmbientTempLabel", ""},
        {"ThermalControlLabel_2", "Stable"},
        {"ThermalControlLabel_1", "Stabilizing"},
        {"ThermalControlLabel_0", "Off"},
        {"LightSourceFrame", "Light Source"},
        {"LightOnCheck", "Enable"},
        {"LightControlLabel_2", "Stable"},
        {"LightControlLabel_1", "Stabilizing"},
        {"LightlControlLabel_0", "Off"},
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
        {"CalCheckMenuItem", "Collect Cal Check Data..."},
    };
    for (const auto &row : rows)
        QTest::newRow(qPrintable(row.first)) << row.first << row.second;
}

void TestMainForm::captionsAndNames()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Orvantis Console 1.21"));
    const QObject *control = m_form->findChild<QObject *>(name);
    QVERIFY2(control, qPrintable(name));
    QVariant text = control->property("text");
    if (!text.isValid())
        text = control->property("title");
    QCOMPARE(text.toString(), caption);
}

void TestMainForm::menusInOrder()
{
    QStringList bar;
    for (QAction *menu : m_form->menuBar()->actions())
        bar << menu->text();
    QCOMPARE(bar, QStringList({"File", "Communication", "Orvantis"}));

    QStringList items;
    for (QAction *item : m_form->controls().OrvantisMenu->actions())
        items << item->objectName();
    QCOMPARE(items, QStringList({"ShowInfoMenuItem", "SetClockMenuItem", "Divider3",
                                 "TransferFilesMenuItem", "Divider4", "CalCheckMenuItem"}));
    QVERIFY(m_form->controls().Divider3->isSeparator());
    QVERIFY(m_form->controls().Divider4->isSeparator());

    const auto lamp = m_form->findChild<IndicatorLamp *>("ThermalOKShape_2");
    QVERIFY(lamp);
    QCOMPARE(lamp->controlName(), QStringLiteral("ThermalOKShape(2)"));
    QCOMPARE(m_form->controls().LightOKShape[0]->controlName(), QStringLiteral("LightOKShape(0)"));
    QCOMPARE(m_form->controls().DataShape->controlName(), QStringLiteral("DataShape"));
}

void TestMainForm::windowHasAFixedBorderAndNoOverlaps()
{
    // Fixed before it is shown, so that restoring settings keeps only its place.
    QVERIFY(!FormSettings::isSizable(m_form.get()));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QCOMPARE(m_form->minimumSize(), m_form->maximumSize());

    const QList<QGroupBox *> frames = m_form->findChildren<QGroupBox *>();
    QCOMPARE(frames.size(), 5);
    for (const QGroupBox *frame : frames) {
        const QList<QWidget *> children =
            frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (qsizetype i = 0; i < children.size(); ++i) {
            QVERIFY2(frame->rect().contains(children[i]->geometry()),
                     qPrintable(children[i]->objectName()));
            for (qsizetype j = i + 1; j < children.size(); ++j)
                QVERIFY2(!children[i]->geometry().intersects(children[j]->geometry()),
                         qPrintable(children[i]->objectName() + " / " + children[j]->objectName()));
        }
    }
}

void TestMainForm::enableTable_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("fileOpen");
    for (int before : {0, 1})
        for (int code : {0, 1, 2, 3, 4, 5, 7})
            for (bool fileOpen : {false, true})
                QTest::addRow("%d after %d, file %s", code, before, fileOpen ? "open" : "closed")
                    << before << code << fileOpen;
}

void TestMainForm::enableTable()
{
    QFETCH(int, before);
    QFETCH(int, code);
    QFETCH(bool, fileOpen);
    if (fileOpen)
        openDataFile();
    m_form->SetStatus(before);
    m_form->SetStatus(code);

    QString expected = expectedStates(code);
    const QString kept = expectedStates(before);
    for (qsizetype i = 0; i < expected.size(); ++i)
        if (expected[i] == QLatin1Char('-'))
            expected[i] = kept[i];
    QCOMPARE(statesOf(kGoverned), expected);
    QCOMPARE(statesOf({"NewFileButton", "StopSavingButton"}), QString(fileOpen ? "01" : "10"));
    m_form->SetStatus(0);
}

void TestMainForm::statusLineTexts()
{
    QLabel *status = m_form->controls().StatusLabel;
    QCOMPARE(status->text(), QStringLiteral("No Orvantis connected "));

    m_form->controls().SampleDelayText->setText("10");
    QString message;
    QCOMPARE(m_form->SetStatus(4, &message), 0);
    QCOMPARE(message, QStringLiteral("Periodic sampling (10 s)"));
    QCOMPARE(status->text(), QStringLiteral("Periodic sampling (10 s) "));

    QString given = QStringLiteral("Reading the listing");
    QCOMPARE(m_form->SetStatus(1, &given), 4);
    QCOMPARE(given, QStringLiteral("Reading the listing"));
    QCOMPARE(status->text(), QStringLiteral("Reading the listing "));

    QString none;
    m_form->SetStatus(7, &none);
    QCOMPARE(none, QString());
    QCOMPARE(status->text(), QStringLiteral(" "));
    QCOMPARE(m_form->Status(), 7);
}

void TestMainForm::terminalCaptionNamesInstrumentPortAndRate()
{
    m_form->setSerNum("1234");
    m_port->setPortNumber(3);
    m_port->setSettings("9600,n,8,1");
    m_form->SetStatus(1);
    QCOMPARE(m_terminal->windowTitle(), QStringLiteral("1234 Terminal - COM 3 -  9600 baud"));
    QCOMPARE(m_form->controls().StatusLabel->text(), QStringLiteral("Connected to 1234 "));
    m_form->SetStatus(2);
    QCOMPARE(m_terminal->windowTitle(), QStringLiteral("1234 Terminal - COM 3 -  9600 baud"));
}

void TestMainForm::commandInProgressThenBackRestoresEverything()
{
    m_form->setSerNum("77");
    m_form->SetStatus(1);
    const QStringList all = kGoverned + QStringList{"NewFileButton", "StopSavingButton"};
    const QString states = statesOf(all);
    const QString title = m_terminal->windowTitle();

    const int previous = m_form->SetStatus(2);
    QCOMPARE(previous, 1);
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    // A nested busy state must not stack a second pointer.
    m_form->SetStatus(3);
    m_form->SetStatus(2);

    m_form->SetStatus(previous);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(statesOf(all), states);
    QCOMPARE(m_terminal->windowTitle(), title);
    QCOMPARE(m_form->controls().StatusLabel->text(), QStringLiteral("Connected to 77 "));
}

void TestMainForm::statusZeroClearsSerNumAndPanels()
{
    QList<QByteArray> parsed;
    m_form->setParseStatus([&](const QByteArray &reply) { parsed << reply; });
    openDataFile();
    m_form->controls().SavingLabel->setText("Saving to \"run1.raw\"");
    m_form->setSerNum("1234");
    m_form->SetStatus(1);
    QVERIFY(parsed.isEmpty());

    m_form->SetStatus(0);
    QCOMPARE(m_form->SerNum(), QString());
    QCOMPARE(parsed, QList<QByteArray>{QByteArray()});
    QCOMPARE(m_form->controls().SavingLabel->text(), QStringLiteral("Saving to \"run1.raw\""));

    m_state->dataFile.close();
    m_form->SetStatus(0);
    QCOMPARE(m_form->controls().SavingLabel->text(), QStringLiteral("No file open"));
    m_form->SetStatus(1);
    QCOMPARE(m_form->controls().StatusLabel->text(), QStringLiteral("Connected to  "));
}

void TestMainForm::recordDataLamp()
{
    // Connected after the window's own handler, so it sees each run's result.
    connect(m_form->Timer1(), &QTimer::timeout, this,
            [this] { m_lampSeen << m_form->controls().DataShape->colour(); });
}

void TestMainForm::dataLampFollowsTraffic()
{
    using Colour = IndicatorLamp::Colour;
    recordDataLamp();
    QTRY_VERIFY(m_lampSeen.size() >= 2);
    QCOMPARE(lastLamp(), Colour::Unlit);

    QVERIFY(m_port->open());
    m_form->SetStatus(1);
    QTRY_COMPARE(lastLamp(), Colour::Green);

    m_lampSeen.clear();
    m_port->feed("abc\r\n");
    QTRY_VERIFY(m_lampSeen.contains(Colour::Yellow));
    QTRY_COMPARE(lastLamp(), Colour::Green);
    QCOMPARE(m_terminal->terminalText().text(), QStringLiteral("abc\r\n"));
    QCOMPARE(m_state->ReceiveBuffer, QByteArray("abc\r\n"));

    m_form->Disconnect();
    m_lampSeen.clear();
    QTRY_COMPARE(m_lampSeen.value(0, Colour::Red), Colour::Unlit);
}

void TestMainForm::statusLinesReachTheParser()
{
    QList<QByteArray> parsed;
    m_form->setParseStatus([&](const QByteArray &reply) { parsed << reply; });
    QVERIFY(m_port->open());
    m_form->SetStatus(1);
    m_port->feed("st\r\nst:1011,2.34,0,95,21.5\r\nOrvantis>");
    QTRY_COMPARE(parsed.size(), 1);
    QCOMPARE(parsed.first(), QByteArray("st:1011,2.34,0,95,21.5\r\n"));
}

void TestMainForm::parserThatWaitsForAReplyGetsIt()
{
    QVERIFY(m_port->open());
    m_form->SetStatus(1);
    m_port->setResponder([this](const QByteArray &bytes) {
        if (bytes == "tpower,1\r")
            m_port->feed("tpower,1\r\nOrvantis>");
    });
    QByteArray reply;
    bool asked = false;
    m_form->setParseStatus([&](const QByteArray &line) {
        if (line.isEmpty() || asked)
            return;
        asked = true;
        reply = m_form->transaction().SendCommand("tpower,1\r", "tpower", ">", 3.0f);
    });
    m_port->feed("st:1011,2.34,0,95,21.5\r\n");
    QTRY_VERIFY(asked);
    QTRY_COMPARE(reply, QByteArray("tpower,1\r\nOrvantis"));
    QCOMPARE(m_form->Status(), 1);
}

void TestMainForm::sendCommandGetsItsReplyThroughTimer1()
{
    QVERIFY(m_port->open());
    m_form->SetStatus(5);
    int statusDuringWait = -1;
    m_port->setResponder([&](const QByteArray &bytes) {
        statusDuringWait = m_form->Status();
        if (bytes == "st\r")
            m_port->feed("st\r\nst:1011,0.5,1,0,21.5\r\nOrvantis>");
    });
    const QByteArray reply = m_form->transaction().SendCommand("st\r", "st:", "\r", 5.0f);
    QCOMPARE(reply, QByteArray("st:1011,0.5,1,0,21.5"));
    QCOMPARE(statusDuringWait, 2);
    QCOMPARE(m_form->Status(), 5);
    QVERIFY(!QApplication::overrideCursor());
}

void TestMainForm::lostPortDisconnectsAndSaysSoOnce()
{
    m_port->setPortNumber(3);
    QVERIFY(m_port->open());
    m_form->setSerNum("1234");
    m_form->SetStatus(1);
    m_port->fail("The device was removed");

    QTRY_COMPARE(m_form->Status(), 0);
    QVERIFY(!m_port->isOpen());
    QCOMPARE(m_form->SerNum(), QString());
    QCOMPARE(m_terminal->windowTitle(), QStringLiteral("Terminal - no connection"));

    QSignalSpy runs(m_form->Timer1(), &QTimer::timeout);
    QTRY_VERIFY(runs.count() >= 5);
    QCOMPARE(m_operator->errors.size(), 1);
    const QString &message = m_operator->errors.first();
    QVERIFY2(message.contains("COM 3 (memory3)"), qPrintable(message));
    QVERIFY2(message.contains("Connect..."), qPrintable(message));
}

void TestMainForm::disconnectWithNoPortOpen()
{
    m_form->SetStatus(1);
    m_terminal->setWindowTitle("something else");
    QVERIFY(m_form->controls().DisconnectButton->isEnabled());
    QTest::mouseClick(m_form->controls().DisconnectButton, Qt::LeftButton);
    QCOMPARE(m_form->Status(), 0);
    QCOMPARE(m_terminal->windowTitle(), QStringLiteral("Terminal - no connection"));
    QVERIFY(m_operator->errors.isEmpty());
    QVERIFY(m_port->written().isEmpty());
}

void TestMainForm::disconnectClosesAnOpenPort()
{
    QVERIFY(m_port->open());
    m_form->SetStatus(1);
    m_form->controls().DisconnectMenuItem->trigger();
    QVERIFY(!m_port->isOpen());
    QCOMPARE(m_form->Status(), 0);
    QVERIFY(m_port->written().isEmpty());
}

void TestMainForm::statusTimerQueriesOnlyWhenIdleOrSilent_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("queries");
    QTest::newRow("0") << 0 << false;
    QTest::newRow("1") << 1 << true;
    QTest::newRow("2") << 2 << false;
    QTest::newRow("3") << 3 << false;
    QTest::newRow("4") << 4 << false;
    QTest::newRow("5") << 5 << true;
}

void TestMainForm::statusTimerQueriesOnlyWhenIdleOrSilent()
{
    QFETCH(int, code);
    QFETCH(bool, queries);
    int count = 0;
    m_form->setQueryStatus([&] { ++count; });
    m_form->SetStatus(code);
    QCOMPARE(m_form->StatusTimer()->interval(), MainForm::kStatusIntervalMs);
    QVERIFY(m_form->StatusTimer()->isActive());
    m_form->StatusTimer()->setInterval(10);
    QSignalSpy ticks(m_form->StatusTimer(), &QTimer::timeout);
    QTRY_VERIFY(ticks.count() >= 3);
    QCOMPARE(count > 0, queries);
    m_form->SetStatus(0);
}

void TestMainForm::statusCheckSwitchesPolling()
{
    QTimer *timer = m_form->StatusTimer();
    timer->setInterval(1234);
    m_form->controls().StatusCheck->setChecked(false);
    QVERIFY(!timer->isActive());
    m_form->controls().StatusCheck->setChecked(true);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 1234);
}

void TestMainForm::pollingPausedAroundDialogs_data()
{
    QTest::addColumn<bool>("polling");
    QTest::newRow("polling") << true;
    QTest::newRow("not polling") << false;
}

void TestMainForm::pollingPausedAroundDialogs()
{
    QFETCH(bool, polling);
    m_form->controls().StatusCheck->setChecked(polling);
    bool activeInside = true;
    m_form->runWithPollingPaused([&] { activeInside = m_form->StatusTimer()->isActive(); });
    QVERIFY(!activeInside);
    QCOMPARE(m_form->StatusTimer()->isActive(), polling);
}

void TestMainForm::connectAndTerminalButtons()
{
    QSignalSpy connectAsked(m_form.get(), &MainForm::connectRequested);
    QTest::mouseClick(m_form->controls().ConnectButton, Qt::LeftButton);
    m_form->controls().ConnectMenuItem->trigger();
    QCOMPARE(connectAsked.count(), 2);

    QVERIFY(!m_terminal->isVisible());
    QTest::mouseClick(m_form->controls().OpenTerminalButton, Qt::LeftButton);
    QVERIFY(m_terminal->isVisible());
    m_terminal->hide();
    m_form->controls().ShowTerminalMenuItem->trigger();
    QVERIFY(m_terminal->isVisible());
}

void TestMainForm::closingSavesAfterTheTerminalCloses()
{
    m_form->show();
    m_form->ShowTerminal();
    const MainFormControls &c = m_form->controls();
    c.SampleDelayText->setText("25");
    c.AverageCheck->setChecked(true);
    c.StatusCheck->setChecked(false);
    bool terminalOpenAtSave = true;
    connect(m_form.get(), &MainForm::closing, this,
            [&] { terminalOpenAtSave = m_terminal->isVisible(); });
    c.ExitMenuItem->trigger();
    QVERIFY(!terminalOpenAtSave);
    QVERIFY(!m_form->isVisible());
    QSettings settings;
    QCOMPARE(settings.value("MainForm/SampleDelayText").toString(), QStringLiteral("25"));
    QCOMPARE(settings.value("MainForm/StatusCheck").toString(), QStringLiteral("0"));

    // The next run gets the values back, with polling on whatever was saved.
    init();
    QString restoredDelay;
    connect(m_form->controls().SampleDelayText, &QLineEdit::textChanged, this,
            [&](const QString &text) { restoredDelay = text; });
    m_form->restoreSettings();
    QCOMPARE(restoredDelay, QStringLiteral("25"));
    QVERIFY(m_form->controls().AverageCheck->isChecked());
    QVERIFY(m_form->controls().StatusCheck->isChecked());
    QVERIFY(m_form->StatusTimer()->isActive());
}

void TestMainForm::persistedControlsInHandlerOrder()
{
    QStringList keys;
    for (const QWidget *control : FormSettings::persistedControls(m_form.get()))
        keys << FormSettings::controlKey(control);
    QCOMPARE(keys, QStringList({"StatusCheck", "LightOnCheck", "ThermalOnCheck",
                                "FlashFilenameText", "StoreInFlashCheck", "StoreInComputerCheck",
                                "SampleDelayText", "AverageSamplesText", "AverageCheck"}));
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
