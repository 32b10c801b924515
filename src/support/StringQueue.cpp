#include "support/StringQueue.h"

StringQueue::StringQueue()
{
    setMaxSize(kDefaultMaxSize);
}

qint16 StringQueue::advance(qint16 index) const
{
    const int next = index + 1;
    return qint16(next >= m_maxSize ? 0 : next);
}

void StringQueue::Add(const QString &it)
{
    m_items[m_writeIndex] = it;
    m_writeIndex = advance(m_writeIndex);
    if (m_writeIndex == m_readIndex) {
        m_items[m_readIndex].clear();
        m_readIndex = advance(m_readIndex);
    }
}

qint32 StringQueue::size() const
{
    const qint32 difference = m_writeIndex - m_readIndex;
    return difference < 0 ? difference + m_maxSize : difference;
}

QString StringQueue::GetNext()
{
    if (m_readIndex == m_writeIndex)
        return QString();
    QString next;
    next.swap(m_items[m_readIndex]);
    m_readIndex = advance(m_readIndex);
    return next;
}

void StringQueue::setMaxSize(qint16 n)
{
    m_maxSize = qMax<qint16>(n, 1);
    m_items = QVector<QString>(m_maxSize + 1);
    // The positions are kept, but one beyond the new limit would address a slot the queue
    // never wraps back from; fold it back into range instead.
    m_readIndex = qint16(m_readIndex % m_maxSize);
    m_writeIndex = qint16(m_writeIndex % m_maxSize);
}

void StringQueue::Clear()
{
    while (size() > 0)
        GetNext();
}
