#pragma once

#include "app/console/ConsoleBinding.h"
#include "link/QtCommPort.h"
#include "testkit/ScriptedOperator.h"
#include "testkit/Ser2NetProcess.h"
#include "testkit/SessionProbe.h"
#include "testkit/SimProcess.h"
#include "testkit/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class FileTransferForm;
class QAbstractButton;
class QTableWidget;

// How a SimRig is built: RigOptions({"--fast", "--stable"}).polled().
struct RigOptions {
    RigOptions(QStringList switches = {QStringLiteral("--fast")}) : simulator(std::move(switches))
    {
    }
    // On port `number`; each port before it on the next of `devices`, or a silent simulator.
    RigOptions &onPort(int number, QStringList devices = {})
    {
        before = std::move(devices);
        return set(port, number);
    }
    RigOptions &behind(Ser2NetProcess::Accepter accepter) { return set(network, accepter); }
    RigOptions &linkedName() { return set(linked, true); }
    RigOptions &unconnected() { return set(connect, false); }
    RigOptions &polled() { return set(polling, true); }
    template <typename Field, typename Value> RigOptions &set(Field &field, Value value)
    {
        field = std::move(value);
        return *this;
    }

    // orvantis-sim's switches; the rig adds --disk, --record, --record-input (and --link).
    QStringList simulator;
    int port = 1;
    QStringList before;
    // A real ser2net in front of the instrument's pty, at the instrument's --baud.
    std::optional<Ser2NetProcess::Accepter> network;
    // Behind a link in the rig's folder, as a USB adapter's stable name: where the device
    // comes back after an unplug.
    bool linked = false;
    // start() starts the console up and searches; false leaves that to connect().
    bool connect = true;
    // "Automatic status updates" left on; off by default, so only the test talks to it.
    bool polling = false;
};

// One test's instrument and program: orvantis-sim on a real pseudo-terminal, with what it
// heard and what it sent recorded and its flash disk in a folder, and the whole console on
// it through QtCommPort, with a scripted operator, settings and a folder of its own (the
// download folder among them). The helpers act as the operator does, finding controls by the
// captions the operator reads.
class SimRig
{
public:
    explicit SimRig(RigOptions options = {});
    ~SimRig();
    SimRig(const SimRig &) = delete;
    SimRig &operator=(const SimRig &) = delete;

    // Starts the simulators and the console and, unless told not to, connects. False, with
    // the reason in error(), without a pty, ser2net or a connection.
    bool start();
    // Start-up without the modal search dialog, then the search; the download folder is
    // local() and polling as the options say. False when no instrument was found.
    bool connect();
    QString error() const { return m_error; }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    // The instrument's flash disk, and the download folder.
    QString disk(const QString &name = QString()) const
    {
        return QDir(path(QStringLiteral("disk"))).filePath(name);
    }
    QString local(const QString &name = QString()) const
    {
        return QDir(path(QStringLiteral("local"))).filePath(name);
    }
    // What the instrument heard and what it sent so far, in order.
    QByteArray heard() const { return fileBytes(path(QStringLiteral("heard.bin"))); }
    QByteArray sent() const { return fileBytes(path(QStringLiteral("sent.bin"))); }
    // What it heard after `from` bytes.
    QByteArray heardSince(qsizetype from) const { return heard().mid(from); }

    ConsoleBinding &c() { return *console; }
    InstrumentSession &session() { return console->session; }
    Line &line() { return console->session.line(); }
    const MainFormControls &controls() const { return console->form.controls(); }
    StatusCode status() const { return console->session.Status(); }

    // The main window's button or check box with `caption` clicked, or its menu item with
    // `caption` triggered; the test fails when there is none.
    void click(const QString &caption);
    void trigger(const QString &caption);
    // "New File..." with the operator choosing `path`; true when the data file is open.
    bool openDataFile(const QString &path);
    // "Start Periodic" with the minimum period `seconds`, samples sent to the computer.
    void startPeriodic(const QString &seconds = QStringLiteral("1"));
    void stopPolling();
    // "Set Rate" to `rate` in the rate dialog opened from the menu, once it has read the
    // start-up rate; true when the dialog closed itself.
    bool setRate(const QString &rate);

    // "Manage Orvantis Files...": the file manager, or null.
    FileTransferForm *openFiles();
    // The file manager's grid, found by its name; its row of `name` (-1 when absent), a
    // click on a row, on the row of `name`, and on the file manager's button `caption`.
    QTableWidget *grid() const;
    int rowOf(const QString &name) const;
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {});
    void select(const QString &name) { clickRow(rowOf(name)); }
    void clickFiles(const QString &caption);

    // Runs `action` once, from within whatever wait is going on, as soon as `condition`
    // holds (looked at every few milliseconds).
    void when(std::function<bool()> condition, std::function<void()> action);
    bool fired() const { return m_fired; }

    SimProcess sim;
    Ser2NetProcess ser2net;
    std::vector<std::unique_ptr<SimProcess>> silentPorts;
    std::unique_ptr<QtCommPort> comm;
    ScriptedOperator dialogs;
    std::unique_ptr<ConsoleBinding> console;

private:
    RigOptions m_options;
    QTemporaryDir m_dir;
    QTimer m_watch;
    std::function<bool()> m_condition;
    std::function<void()> m_action;
    bool m_fired = false;
    QString m_error;
};

// A widget's button or check box with `caption` (ampersands aside), or null.
QAbstractButton *buttonCaptioned(const QWidget *window, const QString &caption);
// A panel's lamps (IndicatorLamp, bottom to top) as lampLetters() writes them.
template <typename Lamps> QString lamps(const Lamps &bottomToTop)
{
    std::array<LampColour, 3> colours{};
    for (int row = 0; row < 3; ++row)
        colours[size_t(row)] = bottomToTop[size_t(row)]->colour();
    return lampLetters(colours);
}
// The control that the label reading `caption` names (its buddy), or null.
QWidget *labelledControl(const QWidget *window, const QString &caption);
// The modal window's button with `caption`, or null.
QAbstractButton *modalButton(const QString &caption);
// Shown controls of `window` that cover each other ("A/B") or are too small for their text
// ("A cut"); a control left out of its layout lands on another.
QStringList coveredControls(QWidget *window);
