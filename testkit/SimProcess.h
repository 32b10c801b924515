#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The orvantis-sim executable run for a test: started with its options, it serves the
// simulated instrument on a pseudo-terminal whose device path it prints first. Stopped
// (SIGTERM, then kill) when the object goes.
class SimProcess
{
public:
    SimProcess() = default;
    ~SimProcess() { stop(); }
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // Starts orvantis-sim with `arguments` and waits up to `timeoutMs` for its device path.
    // False, with the reason in errorString(), when it could not start or got no pty.
    bool start(const QStringList &arguments = {}, int timeoutMs = 10000);
    QString devicePath() const { return m_devicePath; }
    QString errorString() const { return m_error; }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }

    // Ends it in an orderly way (its link is removed).
    void stop();
    // Ends it at once: the line vanishes as when a cable is pulled.
    void kill();
    // Sends it `signalNumber` (SIGUSR1 switches its answers to "st" off and on). False when
    // it is not running.
    bool sendSignal(int signalNumber);
    // Has it send `bytes` of sample lines, at the line rate or flat out. False when it is
    // not running.
    bool stream(int bytes, bool flatOut);
    // What it has written to its standard error so far.
    QByteArray standardError();

    QProcess &process() { return m_process; }
    // Ends `process` in an orderly way (SIGTERM), or kills it when it does not end.
    static void endProcess(QProcess &process);

private:
    QProcess m_process;
    QString m_devicePath;
    QString m_error;
    QByteArray m_stderr;
};
