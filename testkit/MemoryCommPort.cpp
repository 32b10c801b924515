#include "testkit/MemoryCommPort.h"

bool MemoryCommPort::open()
{
    m_open = true;
    m_failed = false;
    return true;
}

void MemoryCommPort::close()
{
    m_open = false;
    m_input.clear();
    m_readPos = 0;
}

bool MemoryCommPort::write(const QByteArray &bytes)
{
    if (!m_open || m_failed)
        return false;
    m_written.append(bytes);
    if (m_responder)
        m_responder(bytes);
    return true;
}

QByteArray MemoryCommPort::readWaiting()
{
    const QByteArray waiting = m_input.mid(m_readPos);
    m_input.clear();
    m_readPos = 0;
    return waiting;
}

void MemoryCommPort::fail(const QString &text)
{
    m_failed = true;
    m_failureText = text;
}
