#pragma once

#include "app/console/ConsoleBinding.h"
#include "link/QtCommPort.h"
#include "testkit/ScriptedOperator.h"
#include "testkit/Ser2NetProcess.h"
#include "testkit/SimProcess.h"

#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class FileTransferForm;

// The whole program (ConsoleBinding) on orvantis-sim over real pseudo-terminals and
// QSerialPort, or over a ser2net in front of the instrument's pty, with a scripted operator
// answering its dialogs.
class SimConsole
{
public:
    // Starts orvantis-sim with `arguments` as the instrument on port `instrumentPort`, and a
    // silent one on each port before it; ok() is false (reason in error()) without a pty.
    // With "--link PATH" among the arguments the port is PATH, as a stable device name. With
    // `server`, the instrument's port is the address of a ser2net in front of its pty (at the
    // instrument's --baud), and `before` names the ports before it.
    explicit SimConsole(const QStringList &arguments, int instrumentPort = 1,
                        std::optional<Ser2NetProcess::Accepter> server = std::nullopt,
                        const QStringList &before = {});
    ~SimConsole();
    SimConsole(const SimConsole &) = delete;
    SimConsole &operator=(const SimConsole &) = delete;

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }

    // Start-up without the modal dialog, then the port search. True when connected.
    bool connect();
    // ok() and connect(); otherwise the running test fails with the reason.
    bool startedAndConnected();
    // TransferFilesButton clicked; the open file manager, or null.
    FileTransferForm *openFiles();
    // Row of `name` in the file manager's grid, -1 when absent.
    int rowOf(const QString &name) const;
    // Clicks a cell of `row` in the file manager's grid.
    void clickRow(int row);

    // Runs `action` once, from within whatever wait is going on, as soon as `condition`
    // holds (checked every few milliseconds).
    void when(std::function<bool()> condition, std::function<void()> action);
    bool fired() const { return m_fired; }

    ConsoleBinding &c() { return *console; }
    InstrumentSession &session() { return console->session; }
    const MainFormControls &controls() const { return console->form.controls(); }
    int status() const { return int(console->session.Status()); }
    // Turns "Automatic status updates" off as the operator does, so that only the test
    // talks to the instrument.
    void stopPolling();

    SimProcess sim;
    Ser2NetProcess ser2net;
    std::vector<std::unique_ptr<SimProcess>> silentPorts;
    std::unique_ptr<QtCommPort> comm;
    ScriptedOperator dialogs;
    std::unique_ptr<ConsoleBinding> console;

private:
    QTimer m_watch;
    std::function<bool()> m_condition;
    std::function<void()> m_action;
    bool m_fired = false;
    bool m_ok = false;
    QString m_error;
};
