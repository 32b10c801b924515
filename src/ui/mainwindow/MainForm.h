#pragma once

#include "features/status/StatusDisplay.h"
#include "link/CommPort.h"
#include "link/CommandTransaction.h"
#include "link/FileCapture.h"
#include "link/LinkStatus.h"
#include "link/ProgramState.h"
#include "link/ReceiveLoop.h"
#include "ui/mainwindow/MainFormControls.h"
#include "ui/widgets/Hourglass.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <functional>

class OperatorDialogs;
class TerminalForm;

// The main window: owner of the serial port Comm1, the status code and its display, the
// byte-counted capture, the receive loop (Timer1) and status polling (StatusTimer). Other
// windows reach the instrument through transaction() and change the status through
// SetStatus().
class MainForm : public QMainWindow, public LinkStatus
{
    Q_OBJECT
public:
    static constexpr int kReceiveIntervalMs = 200;
    static constexpr int kStatusIntervalMs = 5000;

    MainForm(ProgramState &state, CommPort &Comm1, OperatorDialogs &dialogs, TerminalForm &terminal,
             QWidget *parent = nullptr);
    ~MainForm() override;

    int Status() const override { return m_status; }
    // Makes `code` current and brings the window in line with it; returns the previous
    // code. An empty `statusMsg` receives the code's standard text.
    int SetStatus(int code, QString *statusMsg = nullptr) override;

    qint64 byteCount() const { return m_capture.byteCount(); }
    float TimeSinceLastByte() const { return m_capture.TimeSinceLastByte(); }
    void PrepForFileCapture(qint64 length) { m_capture.PrepForFileCapture(length); }
    void EndFileCapture() { m_capture.EndFileCapture(); }

    QString SerNum() const { return m_SerNum; }
    void setSerNum(const QString &serialNumber) { m_SerNum = serialNumber; }

    CommPort &Comm1() { return m_comm; }
    ProgramState &state() { return m_state; }
    OperatorDialogs &dialogs() { return m_dialogs; }
    TerminalForm &terminal() { return m_terminal; }
    CommandTransaction &transaction() { return m_transaction; }
    FileCapture &fileCapture() { return m_capture; }
    const MainFormControls &controls() const { return m_controls; }
    QTimer *Timer1() { return &m_timer1; }
    QTimer *StatusTimer() { return &m_statusTimer; }

    // The status parser: receives each status line the receive loop finds, and an empty
    // reply when the connection ends (clears the instrument panels).
    void setParseStatus(std::function<void(const QByteArray &)> parseStatus)
    {
        m_parseStatus = std::move(parseStatus);
    }
    // Told at once, inside the receive run, of each status line that will reach the parser
    // (which runs after the run): the order of lines against commands is known only here.
    void setStatusLineArrived(std::function<void()> arrived)
    {
        m_statusLineArrived = std::move(arrived);
    }
    // The status query run by StatusTimer in status 1 and 5.
    void setQueryStatus(std::function<void()> queryStatus)
    {
        m_queryStatus = std::move(queryStatus);
    }

    // Turns a requested status code into the one made current (periodic sampling uses it so
    // that a wait ending after Stop cannot put status 4 back).
    void setStatusRule(std::function<int(int)> rule) { m_statusRule = std::move(rule); }

    // While this holds (the port search probing ports), a port that goes away is not a lost
    // connection: no message and no status change, the search goes on.
    void setPortLossExpected(std::function<bool()> expected)
    {
        m_portLossExpected = std::move(expected);
    }

    // Start-up: brings back the place and control values of the last run (their change
    // handlers run as for the operator's input, so install the hooks first), then ticks
    // StatusCheck.
    void restoreSettings();

    // Holds status polling off while something reads the line for itself (the processing
    // window's listing or run), without touching StatusTimer: the timer and StatusCheck stay
    // as the operator left them. Holds nest; each true is ended by one false.
    void holdPolling(bool hold);

    // Runs a modal dialog with status polling held off, then gives StatusTimer back the
    // enabled state it had.
    void runWithPollingPaused(const std::function<void()> &showDialog);

public slots:
    // Closes the port (sending nothing) and shows status 0.
    void Disconnect();
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
    void findGovernedControls();
    void applyEnable(StatusDisplay::Control control, StatusDisplay::Enable state);
    void Timer1_Timer();
    // One run of the receive loop; runs inside every wait's pass as well as on Timer1.
    void runReceiveLoop();
    void StatusTimer_Timer();
    void StatusCheck_Click();
    void portLost();

    ProgramState &m_state;
    CommPort &m_comm;
    OperatorDialogs &m_dialogs;
    TerminalForm &m_terminal;
    FileCapture m_capture;
    CommandTransaction m_transaction;
    ReceiveLoop m_receive;
    MainFormControls m_controls;
    std::array<QObject *, StatusDisplay::kControlCount> m_governed{};
    QTimer m_timer1;
    QTimer m_statusTimer;
    int m_status = NotConnected;
    QString m_SerNum;
    Hourglass m_hourglass;
    bool m_inReceiveRun = false;
    int m_pollingHolds = 0;
    std::function<void(const QByteArray &)> m_parseStatus;
    std::function<void()> m_queryStatus;
    std::function<void()> m_statusLineArrived;
    std::function<bool()> m_portLossExpected;
    std::function<int(int)> m_statusRule;
};
