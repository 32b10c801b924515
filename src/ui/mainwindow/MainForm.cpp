#include "ui/mainwindow/MainForm.h"

#include "features/sampling/LeavingQuestion.h"
#include "session/InstrumentSession.h"
#include "session/ReceiveLamp.h"
#include "support/SettingsKeys.h"
#include "support/Version.h"
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
#include <QSettings>

namespace
{
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

IndicatorLamp::Colour lampColour(ReceiveLamp lamp)
{
    switch (lamp) {
    case ReceiveLamp::Green:
        return IndicatorLamp::Colour::Green;
    case ReceiveLamp::Yellow:
        return IndicatorLamp::Colour::Yellow;
    case ReceiveLamp::ButtonFace:
        break;
    }
    return IndicatorLamp::Colour::Unlit;
}
} // namespace

MainForm::MainForm(InstrumentSession &session, TerminalForm &terminal, OperatorDialogs &dialogs,
                   QWidget *parent)
    : QMainWindow(parent), m_session(session), m_terminal(terminal), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(tr("Orvantis Console %1").arg(QLatin1String(kProductVersion)));
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
    wireSession();
    m_session.setPolling(m_controls.StatusCheck->isChecked());
    showStatus();
}

void MainForm::wireSession()
{
    InstrumentSession &s = m_session;
    connect(&s, &InstrumentSession::statusChanged, this, &MainForm::showStatus);
    connect(&s, &InstrumentSession::dataFileChanged, this, &MainForm::showStatus);
    connect(&s, &InstrumentSession::lineOwnerChanged, this, &MainForm::showStatus);
    connect(
        &s, &InstrumentSession::lineRefused, m_controls.StatusLabel,
        [this](const QString &note) { m_controls.StatusLabel->setText(note + QLatin1Char(' ')); });
    connect(&s, &InstrumentSession::displayTextReceived, &m_terminal, &TerminalForm::appendDisplay);
    connect(&s, &InstrumentSession::receiveLampChanged, this,
            [this](ReceiveLamp lamp) { m_controls.DataShape->setColour(lampColour(lamp)); });
}

MainForm::~MainForm() = default;

void MainForm::buildMenus()
{
    MainFormControls &c = m_controls;
    c.FileMenu = menuBar()->addMenu(tr("File"));
    c.FileMenu->setObjectName(QStringLiteral("FileMenu"));
    c.ExitMenuItem = addItem(c.FileMenu, tr("Exit"), "ExitMenuItem");

    c.CommunicationMenu = menuBar()->addMenu(tr("Communication"));
    c.CommunicationMenu->setObjectName(QStringLiteral("CommunicationMenu"));
    c.ConnectMenuItem = addItem(c.CommunicationMenu, tr("Connect..."), "ConnectMenuItem");
    c.DisconnectMenuItem = addItem(c.CommunicationMenu, tr("Disconnect"), "DisconnectMenuItem");
    c.SetBaudMenuItem = addItem(c.CommunicationMenu, tr("Set Baud Rate..."), "SetBaudMenuItem");
    c.ShowTerminalMenuItem =
        addItem(c.CommunicationMenu, tr("Show Terminal Window"), "ShowTerminalMenuItem");
    c.StatusRateMenuItem =
        addItem(c.CommunicationMenu, tr("Set Status Check Rate..."), "StatusRateMenuItem");
    c.CommunicationMenu->addSeparator();
    c.ReconnectMenuItem =
        addItem(c.CommunicationMenu, tr("Reconnect automatically"), "ReconnectMenuItem");
    c.ReconnectMenuItem->setCheckable(true);
    c.ReconnectMenuItem->setChecked(m_session.reconnectsAutomatically());

    c.OrvantisMenu = menuBar()->addMenu(tr("Orvantis"));
    c.OrvantisMenu->setObjectName(QStringLiteral("OrvantisMenu"));
    c.ShowInfoMenuItem = addItem(c.OrvantisMenu, tr("Instrument Info..."), "ShowInfoMenuItem");
    c.SetClockMenuItem = addItem(c.OrvantisMenu, tr("Set Clock..."), "SetClockMenuItem");
    c.Divider3 = addDivider(c.OrvantisMenu, "Divider3");
    c.TransferFilesMenuItem =
        addItem(c.OrvantisMenu, tr("Manage Files on Orvantis..."), "TransferFilesMenuItem");
    c.Divider4 = addDivider(c.OrvantisMenu, "Divider4");
    c.CalCheckMenuItem =
        addItem(c.OrvantisMenu, tr("Collect Cal Check Data..."), "CalCheckMenuItem");
}

void MainForm::wireControls()
{
    const MainFormControls &c = m_controls;
    connect(c.ExitMenuItem, &QAction::triggered, this, &QWidget::close);

    connect(c.ConnectButton, &QPushButton::clicked, this, &MainForm::connectRequested);
    connect(c.ConnectMenuItem, &QAction::triggered, this, &MainForm::connectRequested);
    connect(c.DisconnectButton, &QPushButton::clicked, this, &MainForm::disconnectClicked);
    connect(c.DisconnectMenuItem, &QAction::triggered, this, &MainForm::disconnectClicked);
    connect(c.SetBaudButton, &QPushButton::clicked, this, &MainForm::setBaudRequested);
    connect(c.SetBaudMenuItem, &QAction::triggered, this, &MainForm::setBaudRequested);
    connect(c.OpenTerminalButton, &QPushButton::clicked, this, &MainForm::ShowTerminal);
    connect(c.ShowTerminalMenuItem, &QAction::triggered, this, &MainForm::ShowTerminal);
    connect(c.StatusRateMenuItem, &QAction::triggered, this, &MainForm::statusRateRequested);
    // Toggled, not clicked: a value restored from the settings must run the handler too.
    connect(c.StatusCheck, &QCheckBox::toggled, &m_session, &InstrumentSession::setPolling);
    connect(c.ReconnectMenuItem, &QAction::toggled, this, [this](bool on) {
        m_session.setReconnectAutomatically(on);
        QSettings settings;
        settings.beginGroup(SettingsKeys::kConnectionSection);
        settings.setValue(SettingsKeys::kReconnect,
                          on ? SettingsKeys::kTrue : SettingsKeys::kFalse);
    });

    connect(c.ShowInfoMenuItem, &QAction::triggered, this, &MainForm::showInfoRequested);
    connect(c.SetClockMenuItem, &QAction::triggered, this, &MainForm::setClockRequested);
    connect(c.TransferFilesButton, &QPushButton::clicked, this, &MainForm::transferFilesRequested);
    connect(c.TransferFilesMenuItem, &QAction::triggered, this, &MainForm::transferFilesRequested);
    connect(c.CalCheckMenuItem, &QAction::triggered, this, &MainForm::calCheckRequested);
}

void MainForm::showStatus()
{
    StatusDisplay::Input input;
    input.code = int(m_session.Status());
    input.dataFileOpen = m_session.DataFileNumber() != 0;
    input.SerNum = m_session.SerNum();
    input.portNumber = m_session.portNumber();
    input.settings = m_session.settings();
    input.SampleDelayText = m_controls.SampleDelayText->text();
    input.lineOwner = m_session.lineOwner();
    input.statusMsg = m_session.statusNote();
    const StatusDisplay display(input);

    for (int i = 0; i < StatusDisplay::kControlCount; ++i) {
        const auto control = static_cast<StatusDisplay::Control>(i);
        applyEnable(control, display.enable(control));
    }
    if (const auto saving = display.savingLabelText())
        m_controls.SavingLabel->setText(*saving);
    if (const auto caption = display.terminalCaption())
        m_terminal.setWindowTitle(*caption);
    m_hourglass.set(display.hourglass());
    m_controls.StatusLabel->setText(display.labelText());
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

void MainForm::disconnectClicked()
{
    if (const auto run = LeavingQuestion::ask(m_session, m_dialogs))
        m_session.Disconnect(*run);
}

void MainForm::ShowTerminal()
{
    m_terminal.show();
    m_terminal.raise();
    m_terminal.activateWindow();
}

void MainForm::restoreSettings()
{
    RestoreFormSettings(this);
    m_controls.StatusCheck->setChecked(true);
    QSettings settings;
    settings.beginGroup(SettingsKeys::kConnectionSection);
    m_controls.ReconnectMenuItem->setChecked(settings.value(SettingsKeys::kReconnect).toString() !=
                                             SettingsKeys::kFalse);
}

// Closing ends the program at once, also from inside a wait: the operation under way is told
// to stop, the port closes so that every wait ends at its next pass, and exit() ends the
// dialogs' own loops; the stack unwinds and the event loop returns. Only the question about a
// run storing into the flash may keep the program going.
void MainForm::closeEvent(QCloseEvent *event)
{
    const auto run = LeavingQuestion::ask(m_session, m_dialogs);
    if (!run) {
        event->ignore();
        return;
    }
    m_terminal.close();
    SaveFormSettings(this);
    m_session.endForExit(*run);
    emit closing();
    event->accept();
    // exit, not quit: quit first closes every window, and one that a running operation
    // still uses may refuse.
    QCoreApplication::exit(0);
}
