#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

// The orvantis-sim executable run for a test: started with its options, it serves the
// simulated instrument on a pseudo-terminal whose device path it prints first, and again
// each time the device comes back after an unplug. Stopped (SIGTERM, then kill) when the
// object goes.
class SimProcess
{
public:
    SimProcess();
    ~SimProcess() { stop(); }
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // Starts orvantis-sim with `arguments` and waits up to `timeoutMs` for its device path.
    // False, with the reason in errorString(), when it could not start or got no pty.
    bool start(const QStringList &arguments = {}, int timeoutMs = 10000);
    // The device the instrument is on now; empty while it is unplugged. Follows the
    // simulator whenever events are processed (QTRY_..., a signal spy's wait) or in the
    // waits below.
    QString devicePath() const { return m_devicePath; }
    QString errorString() const { return m_error; }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }

    // Ends it in an orderly way (its link is removed).
    void stop() { endProcess(m_process); }
    // Ends it at once: the line vanishes as when a cable is pulled.
    void kill();
    // Sends it `signalNumber` (SIGUSR1 switches its answers to "st" off and on). False when
    // it is not running.
    bool sendSignal(int signalNumber);
    // Has it send `bytes` of sample lines, at the line rate or flat out. False when it is
    // not running.
    bool stream(int bytes, bool flatOut);
    // Pulls the instrument's USB adapter out for `forMs` (< 0: as its --unplug-for says) and
    // waits until the device is gone: whoever holds it open reads end of file, and its path
    // and the --link are gone. A new device then appears behind the link. False when it is
    // not running or did not unplug within `timeoutMs`.
    bool unplug(int forMs = -1, int timeoutMs = 5000);
    // Waits until a device is there (devicePath() not empty); false after `timeoutMs`.
    bool waitForDevice(int timeoutMs = 10000);
    // Whether the instrument is sampling periodically ("start" under way), as far as its
    // standard error has been read.
    bool isSampling();
    // What it has written to its standard error so far.
    QByteArray standardError();

    QProcess &process() { return m_process; }
    // Ends `process` in an orderly way (SIGTERM), or kills it when it does not end.
    static void endProcess(QProcess &process);

private:
    void takeOutputLines();
    bool queueSignal(int signalNumber, int value);
    bool waitFor(const std::function<bool()> &condition, int timeoutMs);

    QProcess m_process;
    QString m_devicePath;
    QString m_error;
    QByteArray m_stderr;
    int m_unplugs = 0;
};
