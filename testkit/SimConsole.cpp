#include "testkit/SimConsole.h"

#include "ui/files/FileTransferForm.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

SimConsole::SimConsole(const QStringList &arguments, int instrumentPort,
                       std::optional<Ser2NetProcess::Accepter> server, const QStringList &before)
{
    QStringList devices = before;
    for (int port = int(devices.size()) + 1; port < instrumentPort; ++port) {
        silentPorts.push_back(std::make_unique<SimProcess>());
        if (!silentPorts.back()->start({"--silent"})) {
            m_error = silentPorts.back()->errorString();
            return;
        }
        devices << silentPorts.back()->devicePath();
    }
    m_ok = sim.start(arguments);
    if (!m_ok) {
        m_error = sim.errorString();
        return;
    }
    if (server) {
        const qsizetype baud = arguments.indexOf(QStringLiteral("--baud"));
        m_ok = ser2net.start(*server, sim.devicePath(),
                             baud < 0 ? 9600 : arguments.value(baud + 1).toInt());
        if (!m_ok) {
            m_error = ser2net.errorString();
            return;
        }
    }
    // Behind its link when it has one: that is where it comes back after an unplug.
    const qsizetype link = arguments.indexOf(QStringLiteral("--link"));
    const QString device =
        link >= 0 && link + 1 < arguments.size() ? arguments.at(link + 1) : sim.devicePath();
    devices << (server ? ser2net.address() : device);
    comm = std::make_unique<QtCommPort>(PortTable(devices));
    console = std::make_unique<ConsoleBinding>(*comm, PortTable(devices), dialogs);
    m_watch.setInterval(5);
    QObject::connect(&m_watch, &QTimer::timeout, [this] {
        if (!m_condition || !m_condition())
            return;
        m_watch.stop();
        m_condition = nullptr;
        m_fired = true;
        // The action may start a wait of its own; this timer must not fire within it.
        const std::function<void()> action = std::move(m_action);
        action();
    });
}

SimConsole::~SimConsole()
{
    m_watch.stop();
    if (console && console->files.window())
        delete console->files.window();
    console.reset();
    comm.reset();
    ser2net.stop();
    sim.stop();
}

bool SimConsole::connect()
{
    console->startUp(false);
    return console->session.SearchForInstrument();
}

void SimConsole::stopPolling()
{
    if (controls().StatusCheck->isChecked())
        controls().StatusCheck->click();
}

bool SimConsole::startedAndConnected()
{
    if (!m_ok)
        QTest::qFail(qPrintable(m_error), __FILE__, __LINE__);
    else if (!connect())
        QTest::qFail("the search did not find orvantis-sim", __FILE__, __LINE__);
    else
        return true;
    return false;
}

FileTransferForm *SimConsole::openFiles()
{
    QTest::mouseClick(console->form.controls().TransferFilesButton, Qt::LeftButton);
    return console->files.window();
}

int SimConsole::rowOf(const QString &name) const
{
    const FileTransferForm *window = console->files.window();
    if (!window)
        return -1;
    for (int row = 0; row < window->fileCount(); ++row) {
        if (window->fileNameAt(row) == name)
            return row;
    }
    return -1;
}

void SimConsole::clickRow(int row)
{
    QTableWidget *grid = console->files.window()->DirGrid();
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

void SimConsole::when(std::function<bool()> condition, std::function<void()> action)
{
    m_condition = std::move(condition);
    m_action = std::move(action);
    m_fired = false;
    m_watch.start();
}
