#include "link/PortReader.h"

#include <QDeadlineTimer>

#include <utility>

QByteArray PortReader::take()
{
    QMutexLocker lock(&m_mutex);
    return std::exchange(m_received, QByteArray());
}

qint64 PortReader::waiting()
{
    QMutexLocker lock(&m_mutex);
    return m_received.size();
}

bool PortReader::failed()
{
    QMutexLocker lock(&m_mutex);
    return m_failed;
}

QString PortReader::failureText()
{
    QMutexLocker lock(&m_mutex);
    return m_failureText;
}

void PortReader::wakeOnArrival(const std::function<void()> &wake)
{
    QMutexLocker lock(&m_mutex);
    if (!m_received.isEmpty()) {
        lock.unlock();
        wake();
        return;
    }
    m_wake = wake;
}

void PortReader::beginCall()
{
    ++m_callsPending;
    QMutexLocker lock(&m_mutex);
    m_napEnd.wakeAll();
}

void PortReader::endCall()
{
    --m_callsPending;
}

void PortReader::startSession()
{
    QMutexLocker lock(&m_mutex);
    m_received.clear();
    m_failed = false;
    m_failureText.clear();
}

void PortReader::endSession()
{
    QMutexLocker lock(&m_mutex);
    m_received.clear();
    m_wake = nullptr;
}

void PortReader::received(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    std::function<void()> wake;
    {
        QMutexLocker lock(&m_mutex);
        m_received += bytes;
        wake = std::exchange(m_wake, nullptr);
    }
    if (wake)
        wake();
}

void PortReader::napAfter(qint64 bytesRead, bool writing)
{
    if (bytesRead >= kFullRead || writing)
        return;
    QMutexLocker lock(&m_mutex);
    if (m_callsPending == 0)
        m_napEnd.wait(&m_mutex, QDeadlineTimer(kNapMs));
}

void PortReader::fail(const QString &why, const QByteArray &rest)
{
    std::function<void()> wake;
    {
        QMutexLocker lock(&m_mutex);
        if (m_failed)
            return;
        m_failed = true;
        m_failureText = why;
        m_received += rest;
        wake = std::exchange(m_wake, nullptr);
    }
    if (wake)
        wake();
}
