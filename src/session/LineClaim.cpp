#include "session/LineClaim.h"

#include "link/CommPort.h"

#include <utility>

LineClaim &LineClaim::operator=(LineClaim &&other) noexcept
{
    if (this != &other) {
        m_gate->release(m_token);
        m_gate = other.m_gate;
        m_token = std::exchange(other.m_token, LineGate::kRefused);
    }
    return *this;
}

QString LineClaim::settings() const
{
    return m_gate->port().settings();
}

int LineClaim::portNumber() const
{
    return m_gate->port().portNumber();
}

QString LineClaim::deviceName() const
{
    return m_gate->port().deviceName();
}

bool LineClaim::canSetRate() const
{
    return m_gate->port().canSetRate();
}

void LineClaim::setRate(int rate)
{
    if (granted())
        m_gate->port().setSettings(QString::number(rate) + QStringLiteral(",n,8,1"));
}
