#include "session/CommandTransaction.h"

#include <QLatin1StringView>
#include <utility>

namespace
{
// Position of the first case-blind occurrence of `marker`, or -1.
qsizetype findIgnoringCase(const QByteArray &text, const QByteArray &marker)
{
    return QLatin1StringView(text).indexOf(QLatin1StringView(marker), 0, Qt::CaseInsensitive);
}
} // namespace

CommandTransaction::CommandTransaction(ProgramState &state, CommPort &port, LinkStatus &status)
    : m_state(state), m_port(port), m_status(status)
{
}

QByteArray CommandTransaction::SendCommand(const QByteArray &command, const QByteArray &startMarker,
                                           const QByteArray &endMarker, float timeoutSeconds)
{
    QByteArray &buffer = m_state.ReceiveBuffer;
    m_framed = false;
    if (command.isEmpty()) {
        if (buffer.size() > ProgramState::kReceiveBufferCap)
            buffer.remove(0, buffer.size() - ProgramState::kReceiveBufferCap);
    } else {
        buffer.clear();
    }
    if (!m_port.isOpen())
        return QByteArray();

    const StatusCode previous = m_status.SetStatus(StatusCode::CommandInProgress);
    if (!command.isEmpty())
        m_port.write(command);

    m_afterReply.clear();
    float start = m_state.clock.timeOfDay();
    bool startFound = startMarker.isEmpty();
    // Local until the end: a command sent from within this wait sets the member too.
    bool framed = false;
    qsizetype startPos = 0;
    for (;;) {
        if (!startFound) {
            startPos = findIgnoringCase(buffer, startMarker);
            startFound = startPos >= 0;
        }
        if (!endMarker.isEmpty() && startFound) {
            const qsizetype endPos = buffer.indexOf(endMarker, startPos);
            if (endPos >= 0) {
                m_afterReply = buffer.mid(endPos + endMarker.size());
                buffer = buffer.mid(startPos, endPos - startPos);
                framed = true;
                break;
            }
        }
        m_pump.passUntil(start + timeoutSeconds - m_state.clock.timeOfDay());
        const float now = m_state.clock.timeOfDay();
        if (now < start)
            start -= Clock::kSecondsPerDay;
        if (start + timeoutSeconds <= now)
            break;
        // A port that went away during the wait will not bring the reply.
        if (!m_port.isOpen())
            break;
    }
    const QByteArray result = buffer;
    m_framed = framed;
    // A line lost during the wait is the session's to handle: the code goes back unless
    // that has already happened (status 0 after a disconnect), so that a reconnection finds
    // what was going on.
    if (m_port.isOpen() || m_status.Status() == StatusCode::CommandInProgress)
        m_status.SetStatus(previous);
    return result;
}

void CommandTransaction::endForExit()
{
    if (!m_stopOnExit.isEmpty())
        m_port.write(m_stopOnExit);
    if (m_port.isOpen())
        m_port.close();
}

QByteArray CommandTransaction::exchangeStopOnExit(QByteArray stop)
{
    return std::exchange(m_stopOnExit, std::move(stop));
}

void CommandTransaction::Pause(float seconds)
{
    float start = m_state.clock.timeOfDay();
    const bool wasOpen = m_port.isOpen();
    while (m_state.clock.timeOfDay() < start + seconds) {
        m_pump.passUntil(start + seconds - m_state.clock.timeOfDay());
        // The program is ending (or the line went): nothing is left to wait for.
        if (wasOpen && !m_port.isOpen())
            return;
        if (m_state.clock.timeOfDay() < start)
            start -= Clock::kSecondsPerDay;
    }
}
