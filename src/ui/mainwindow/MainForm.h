#pragma once

#include "features/status/StatusDisplay.h"
#include "ui/mainwindow/MainFormControls.h"
#include "ui/widgets/Hourglass.h"

#include <QMainWindow>

#include <array>

class InstrumentSession;
class OperatorDialogs;
class TerminalForm;

// The main window. It shows the instrument session: the status code with its enable rules
// (StatusDisplay), the status line, the data file's controls and the receive lamp, all
// brought in line whenever the session's status, data file or line owner changes. Its
// buttons and menu items ask for the program's operations through signals and through the
// bindings of each panel; the window itself neither writes to nor reads from the line.
class MainForm : public QMainWindow
{
    Q_OBJECT
public:
    MainForm(InstrumentSession &session, TerminalForm &terminal, OperatorDialogs &dialogs,
             QWidget *parent = nullptr);
    ~MainForm() override;

    InstrumentSession &session() { return m_session; }
    TerminalForm &terminal() { return m_terminal; }
    const MainFormControls &controls() const { return m_controls; }

    // Start-up: brings back the place and control values of the last run (their change
    // handlers run as for the operator's input, so wire the bindings first), then ticks
    // StatusCheck.
    void restoreSettings();

public slots:
    void ShowTerminal();

signals:
    // The operator asked for the connection dialog (button or menu).
    void connectRequested();
    void setBaudRequested();
    void statusRateRequested();
    void showInfoRequested();
    void setClockRequested();
    void transferFilesRequested();
    void calCheckRequested();
    // Shut-down: the terminal window has closed and the settings are saved.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void wireControls();
    void wireSession();
    void findGovernedControls();
    // Brings every governed control, the status line, the terminal's caption and the
    // pointer in line with the session.
    void showStatus();
    void applyEnable(StatusDisplay::Control control, StatusDisplay::Enable state);
    // "Disconnect": a run storing into the flash may be left sampling (LeavingQuestion).
    void disconnectClicked();

    InstrumentSession &m_session;
    TerminalForm &m_terminal;
    OperatorDialogs &m_dialogs;
    MainFormControls m_controls;
    std::array<QObject *, StatusDisplay::kControlCount> m_governed{};
    Hourglass m_hourglass;
};
