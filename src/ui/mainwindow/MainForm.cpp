#include "ui/mainwindow/MainForm.h"

#include "support/OperatorDialogs.h"
#include "ui/mainwindow/MainFormCentralWidget.h"
#include "ui/terminal/TerminalForm.h"
#include "ui/widgets/FormSettings.h"
#include "ui/widgets/IndicatorLamp.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace
{
const QString kCaption = QStringLiteral("Orvantis Console 1.21");

QAction *addItem(QMenu *menu, const QString &caption, const char *name)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QAction *addDivider(QMenu *menu, const char *name)
{
    QAction *divider = menu->addSeparator();
    divider->setObjectName(QLatin1String(name));
    return divider;
}

IndicatorLamp::Colour lampColour(ReceiveLoop::Lamp lamp)
{
    switch (lamp) {
    case ReceiveLoop::Lamp::Green:
        return IndicatorLamp::Colour::Green;
    case ReceiveLoop::Lamp::Yellow:
        return IndicatorLamp::Colour::Yellow;
    case ReceiveLoop::Lamp::ButtonFace:
        break;
    }
    return IndicatorLamp::Colour::Unlit;
}
} // namespace

MainForm::MainForm(ProgramState &state, CommPort &Comm1, OperatorDialogs &dialogs,
                   TerminalForm &terminal, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_comm(Comm1), m_dialogs(dialogs), m_terminal(terminal),
      m_capture(state), m_transaction(state, Comm1, *this),
      m_receive(state, Comm1, m_capture, *this)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(kCaption);
    setCentralWidget(new MainFormCentralWidget(m_controls, this));
    buildMenus();
    // A fixed border: the window keeps the size its frames need.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    layout()->activate();
    // The values kept between runs, in the order their handlers run when restored.
    FormSettings::setControlOrder(
        this, {QStringLiteral("StatusCheck"), QStringLiteral("LightOnCheck"),
               QStringLiteral("ThermalOnCheck"), QStringLiteral("FlashFilenameText"),
               QStringLiteral("StoreInFlashCheck"), QStringLiteral("StoreInComputerCheck"),
               QStringLiteral("SampleDelayText"), QStringLiteral("AverageSamplesText"),
               QStringLiteral("AverageCheck")});
    wireControls();
    findGovernedControls();

    m_receive.setDisplaySink([this](const QString &text) { m_terminal.appendDisplay(text); });
    m_receive.setStatusLineSink([this](const QByteArray &line) {
        if (m_statusLineArrived)
            m_statusLineArrived();
        // Parsed after this run, outside Timer1's handler: the parser may wait for replies
        // (a switch it ticks sends a command), and those need Timer1 to keep running.
        QMetaObject::invokeMethod(
            this,
            [this, line] {
                if (m_parseStatus)
                    m_parseStatus(line);
            },
            Qt::QueuedConnection);
    });
    // Shown after the run: a modal message inside it would hold up every receive run.
    m_receive.setErrorSink([this](const QString &message) {
        QMetaObject::invokeMethod(
            this, [this, message] { m_dialogs.ShowErrorMessage(message); }, Qt::QueuedConnection);
    });
    m_receive.setPortLostSink([this](const QString &) {
        // Decided now: by the time a queued call ran, the search may be on another port.
        if (m_portLossExpected && m_portLossExpected())
            return;
        QMetaObject::invokeMethod(this, &MainForm::portLost, Qt::QueuedConnection);
    });
    m_transaction.pump().setBeforeSleep([this] { m_comm.wakeOnArrival(); });
    m_transaction.pump().setAfterPass([this] { runReceiveLoop(); });

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(kReceiveIntervalMs);
    connect(&m_timer1, &QTimer::timeout, this, &MainForm::Timer1_Timer);
    m_timer1.start();

    m_statusTimer.setObjectName(QStringLiteral("StatusTimer"));
    m_statusTimer.setInterval(kStatusIntervalMs);
    connect(&m_statusTimer, &QTimer::timeout, this, &MainForm::StatusTimer_Timer);
    StatusCheck_Click();

    SetStatus(NotConnected);
}

MainForm::~MainForm() = default;

void MainForm::buildMenus()
{
    MainFormControls &c = m_controls;
    c.FileMenu = menuBar()->addMenu(QStringLiteral("File"));
    c.FileMenu->setObjectName(QStringLiteral("FileMenu"));
    c.ExitMenuItem = addItem(c.FileMenu, QStringLiteral("Exit"), "ExitMenuItem");

    c.CommunicationMenu = menuBar()->addMenu(QStringLiteral("Communication"));
    c.CommunicationMenu->setObjectName(QStringLiteral("CommunicationMenu"));
    c.ConnectMenuItem =
        addItem(c.CommunicationMenu, QStringLiteral("Connect..."), "ConnectMenuItem");
    c.DisconnectMenuItem =
        addItem(c.CommunicationMenu, QStringLiteral("Disconnect"), "DisconnectMenuItem");
    c.SetBaudMenuItem =
        addItem(c.CommunicationMenu, QStringLiteral("Set Baud Rate..."), "SetBaudMenuItem");
    c.ShowTerminalMenuItem = addItem(c.CommunicationMenu, QStringLiteral("Show Terminal Window"),
                                     "ShowTerminalMenuItem");
    c.StatusRateMenuItem = addItem(c.CommunicationMenu, QStringLiteral("Set Status Check Rate..."),
                                   "StatusRateMenuItem");

    c.OrvantisMenu = menuBar()->addMenu(QStringLiteral("Orvantis"));
    c.OrvantisMenu->setObjectName(QStringLiteral("OrvantisMenu"));
    c.ShowInfoMenuItem =
        addItem(c.OrvantisMenu, QStringLiteral("Instrument Info..."), "ShowInfoMenuItem");
    c.SetClockMenuItem =
        addItem(c.OrvantisMenu, QStringLiteral("Set Clock..."), "SetClockMenuItem");
    c.Divider3 = addDivider(c.OrvantisMenu, "Divider3");
    c.TransferFilesMenuItem = addItem(c.OrvantisMenu, QStringLiteral("Manage Files on Orvantis..."),
                                      "TransferFilesMenuItem");
    c.Divider4 = addDivider(c.OrvantisMenu, "Divider4");
    c.CalCheckMenuItem =
        addItem(c.OrvantisMenu, QStringLiteral("Collect Cal Check Data..."), "CalCheckMenuItem");
}

void MainForm::wireControls()
{
    const MainFormControls &c = m_controls;
    connect(c.ExitMenuItem, &QAction::triggered, this, &QWidget::close);

    connect(c.ConnectButton, &QPushButton::clicked, this, &MainForm::connectRequested);
    connect(c.ConnectMenuItem, &QAction::triggered, this, &MainForm::connectRequested);
    connect(c.DisconnectButton, &QPushButton::clicked, this, &MainForm::Disconnect);
    connect(c.DisconnectMenuItem, &QAction::triggered, this, &MainForm::Disconnect);
    connect(c.SetBaudButton, &QPushButton::clicked, this, &MainForm::setBaudRequested);
    connect(c.SetBaudMenuItem, &QAction::triggered, this, &MainForm::setBaudRequested);
    connect(c.OpenTerminalButton, &QPushButton::clicked, this, &MainForm::ShowTerminal);
    connect(c.ShowTerminalMenuItem, &QAction::triggered, this, &MainForm::ShowTerminal);
    connect(c.StatusRateMenuItem, &QAction::triggered, this, &MainForm::statusRateRequested);
    // Toggled, not clicked: a value restored from the settings must run the handler too.
    connect(c.StatusCheck, &QCheckBox::toggled, this, &MainForm::StatusCheck_Click);

    connect(c.ShowInfoMenuItem, &QAction::triggered, this, &MainForm::showInfoRequested);
    connect(c.SetClockMenuItem, &QAction::triggered, this, &MainForm::setClockRequested);
    connect(c.TransferFilesButton, &QPushButton::clicked, this, &MainForm::transferFilesRequested);
    connect(c.TransferFilesMenuItem, &QAction::triggered, this, &MainForm::transferFilesRequested);
    connect(c.CalCheckMenuItem, &QAction::triggered, this, &MainForm::calCheckRequested);
}

int MainForm::SetStatus(int code, QString *statusMsg)
{
    if (m_statusRule)
        code = m_statusRule(code);
    StatusDisplay::Input input;
    input.code = code;
    input.dataFileOpen = m_state.DataFileNumber() != 0;
    input.SerNum = m_SerNum;
    input.portNumber = m_comm.portNumber();
    input.settings = m_comm.settings();
    input.SampleDelayText = m_controls.SampleDelayText->text();
    if (statusMsg)
        input.statusMsg = *statusMsg;
    const StatusDisplay display(input);

    const int previous = m_status;
    if (display.clearsSerNum())
        m_SerNum.clear();
    for (int i = 0; i < StatusDisplay::kControlCount; ++i) {
        const auto control = static_cast<StatusDisplay::Control>(i);
        applyEnable(control, display.enable(control));
    }
    // While a download or upload owns the line, nothing may open or close the data file.
    if (m_state.transferOwnsLine) {
        applyEnable(StatusDisplay::Control::NewFileButton, StatusDisplay::Enable::Off);
        applyEnable(StatusDisplay::Control::StopSavingButton, StatusDisplay::Enable::Off);
    }
    m_controls.CalCheckMenuItem->setEnabled(!m_state.transferOwnsLine);
    if (const auto saving = display.savingLabelText())
        m_controls.SavingLabel->setText(*saving);
    if (const auto caption = display.terminalCaption())
        m_terminal.setWindowTitle(*caption);
    if (display.clearsPanels() && m_parseStatus)
        m_parseStatus(QByteArray());
    m_hourglass.set(display.hourglass());
    if (statusMsg && statusMsg->isEmpty())
        *statusMsg = display.statusText();
    m_controls.StatusLabel->setText(display.labelText());
    m_status = code;
    return previous;
}

void MainForm::applyEnable(StatusDisplay::Control control, StatusDisplay::Enable state)
{
    if (state == StatusDisplay::Enable::Unchanged)
        return;
    const bool on = state == StatusDisplay::Enable::On;
    QObject *target = m_governed[static_cast<size_t>(control)];
    if (auto *action = qobject_cast<QAction *>(target))
        action->setEnabled(on);
    else if (auto *widget = qobject_cast<QWidget *>(target))
        widget->setEnabled(on);
}

// The governed controls by their window names; a menu is governed through its menu-bar entry.
void MainForm::findGovernedControls()
{
    for (int i = 0; i < StatusDisplay::kControlCount; ++i) {
        const QString name = StatusDisplay::controlName(static_cast<StatusDisplay::Control>(i));
        QObject *target = findChild<QObject *>(name);
        if (auto *menu = qobject_cast<QMenu *>(target))
            target = menu->menuAction();
        Q_ASSERT(target);
        m_governed[static_cast<size_t>(i)] = target;
    }
}

void MainForm::Disconnect()
{
    if (m_comm.isOpen())
        m_comm.close();
    m_terminal.setWindowTitle(QStringLiteral("Terminal - no connection"));
    SetStatus(NotConnected);
}

void MainForm::ShowTerminal()
{
    m_terminal.show();
    m_terminal.raise();
    m_terminal.activateWindow();
}

void MainForm::runWithPollingPaused(const std::function<void()> &showDialog)
{
    const bool wasPolling = m_statusTimer.isActive();
    m_statusTimer.stop();
    showDialog();
    if (wasPolling)
        m_statusTimer.start();
    else
        m_statusTimer.stop();
}

void MainForm::restoreSettings()
{
    RestoreFormSettings(this);
    m_controls.StatusCheck->setChecked(true);
}

// Closing ends the program at once, also from inside a wait: the operation under way is told
// to stop, the port closes so that every wait ends at its next pass, and exit() ends the
// dialogs' own loops; the stack unwinds and the event loop returns.
void MainForm::closeEvent(QCloseEvent *event)
{
    m_terminal.close();
    SaveFormSettings(this);
    m_transaction.endForExit();
    emit closing();
    event->accept();
    // exit, not quit: quit first closes every window, and one that a running operation
    // still uses may refuse.
    QCoreApplication::exit(0);
}

void MainForm::Timer1_Timer()
{
    // Pending events first, then the run itself (the pump runs it after the pass).
    m_transaction.pump().runPending();
}

void MainForm::runReceiveLoop()
{
    if (m_inReceiveRun)
        return;
    m_inReceiveRun = true;
    m_controls.DataShape->setColour(lampColour(m_receive.run()));
    m_inReceiveRun = false;
}

void MainForm::holdPolling(bool hold)
{
    m_pollingHolds = qMax(0, m_pollingHolds + (hold ? 1 : -1));
}

void MainForm::StatusTimer_Timer()
{
    if (m_pollingHolds > 0)
        return;
    if ((m_status == Idle || m_status == NoResponse) && m_queryStatus)
        m_queryStatus();
}

void MainForm::StatusCheck_Click()
{
    if (m_controls.StatusCheck->isChecked())
        m_statusTimer.start();
    else
        m_statusTimer.stop();
}

// The receive loop has closed the port. Said once per loss, in the operator's terms.
void MainForm::portLost()
{
    const QString port =
        QStringLiteral("COM %1 (%2)").arg(m_comm.portNumber()).arg(m_comm.deviceName());
    Disconnect();
    m_dialogs.ShowErrorMessage(
        QStringLiteral("The connection to the Orvantis on %1 was lost. Check the cable and the "
                       "instrument's power, then use Connect... to connect again.")
            .arg(port));
}
