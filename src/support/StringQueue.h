#pragma once

#include <QString>
#include <QVector>

// Bounded first-in first-out queue of strings. A full queue drops its oldest string, so it
// holds at most MaxSize - 1 strings (one slot stays free to tell full from empty).
class StringQueue
{
public:
    static constexpr qint16 kDefaultMaxSize = 10;

    StringQueue();

    void Add(const QString &it);
    qint32 size() const;
    // The oldest string, removed from the queue; empty when the queue is empty.
    QString GetNext();
    // Remakes the storage for limit `n` (all strings are lost); the read and write positions
    // stay where they are unless they fall outside the new storage. Limits below 1 count as 1.
    void setMaxSize(qint16 n);
    void Clear();

private:
    qint16 advance(qint16 index) const;

    qint16 m_maxSize = 0;
    QVector<QString> m_items;
    qint16 m_readIndex = 0;
    qint16 m_writeIndex = 0;
};
