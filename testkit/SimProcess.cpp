#include "testkit/SimProcess.h"

#include <QDeadlineTimer>

#include <csignal>

bool SimProcess::start(const QStringList &arguments, int timeoutMs)
{
    stop();
    m_devicePath.clear();
    m_error.clear();
    m_stderr.clear();
    m_process.setProgram(QStringLiteral(ORVANTIS_SIM_PATH));
    m_process.setArguments(arguments);
    m_process.start();
    if (!m_process.waitForStarted(timeoutMs)) {
        m_error = QStringLiteral("orvantis-sim did not start (%1): %2")
                      .arg(QStringLiteral(ORVANTIS_SIM_PATH), m_process.errorString());
        return false;
    }
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (m_process.state() == QProcess::NotRunning || deadline.hasExpired())
            break;
        m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    if (!m_process.canReadLine()) {
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
    m_devicePath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    return true;
}

void SimProcess::stop()
{
    endProcess(m_process);
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
    const qint64 pid = m_process.processId();
    sigval value{};
    value.sival_int = bytes;
    return isRunning() && pid > 0 &&
           ::sigqueue(pid_t(pid), SIGRTMIN + (flatOut ? 1 : 0), value) == 0;
}

bool SimProcess::sendSignal(int signalNumber)
{
    const qint64 pid = m_process.processId();
    return isRunning() && pid > 0 && ::kill(pid_t(pid), signalNumber) == 0;
}
