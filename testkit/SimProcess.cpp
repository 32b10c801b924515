#include "testkit/SimProcess.h"

#include <QDeadlineTimer>

#include <csignal>

SimProcess::SimProcess()
{
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                     [this] { takeOutputLines(); });
}

bool SimProcess::start(const QStringList &arguments, int timeoutMs)
{
    stop();
    m_devicePath.clear();
    m_error.clear();
    m_stderr.clear();
    m_unplugs = 0;
    m_process.setProgram(QStringLiteral(ORVANTIS_SIM_PATH));
    m_process.setArguments(arguments);
    m_process.start();
    if (!m_process.waitForStarted(timeoutMs)) {
        m_error = QStringLiteral("orvantis-sim did not start (%1): %2")
                      .arg(QStringLiteral(ORVANTIS_SIM_PATH), m_process.errorString());
        return false;
    }
    if (!waitForDevice(timeoutMs)) {
        const bool running = isRunning();
        const QString said = QString::fromLocal8Bit(standardError()).trimmed();
        m_error =
            running
                ? QStringLiteral("orvantis-sim printed no device path within %1 ms").arg(timeoutMs)
                : QStringLiteral("orvantis-sim ended without a device path (no "
                                 "pseudo-terminal?), exit code %1")
                      .arg(m_process.exitCode());
        if (!said.isEmpty())
            m_error += QStringLiteral(": ") + said;
        stop();
        return false;
    }
    return true;
}

void SimProcess::takeOutputLines()
{
    while (m_process.canReadLine()) {
        const QString line = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        if (line == QLatin1String("unplugged")) {
            m_devicePath.clear();
            ++m_unplugs;
        } else if (!line.isEmpty()) {
            m_devicePath = line;
        }
    }
}

bool SimProcess::waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    takeOutputLines();
    while (!condition() && isRunning() && !deadline.hasExpired()) {
        m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        takeOutputLines();
    }
    return condition();
}

bool SimProcess::waitForDevice(int timeoutMs)
{
    return waitFor([this] { return !m_devicePath.isEmpty(); }, timeoutMs);
}

bool SimProcess::unplug(int forMs, int timeoutMs)
{
    const int before = m_unplugs;
    return queueSignal(SIGRTMIN + 2, forMs) &&
           waitFor([this, before] { return m_unplugs > before; }, timeoutMs);
}

bool SimProcess::isSampling()
{
    const QByteArray said = standardError();
    return said.lastIndexOf("periodic sampling started") >
           said.lastIndexOf("periodic sampling stopped");
}

void SimProcess::endProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

void SimProcess::kill()
{
    if (!isRunning())
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

QByteArray SimProcess::standardError()
{
    m_stderr += m_process.readAllStandardError();
    return m_stderr;
}

bool SimProcess::stream(int bytes, bool flatOut)
{
    return queueSignal(SIGRTMIN + (flatOut ? 1 : 0), bytes);
}

bool SimProcess::queueSignal(int signalNumber, int value)
{
    const qint64 pid = m_process.processId();
    sigval payload{};
    payload.sival_int = value;
    return isRunning() && pid > 0 && ::sigqueue(pid_t(pid), signalNumber, payload) == 0;
}

bool SimProcess::sendSignal(int signalNumber)
{
    const qint64 pid = m_process.processId();
    return isRunning() && pid > 0 && ::kill(pid_t(pid), signalNumber) == 0;
}
