#include "support/StringQueue.h"

#include <QTest>

class TestStringQueue : public QObject
{
    Q_OBJECT

private slots:
    void fullQueueKeepsNewestStrings_data();
    void fullQueueKeepsNewestStrings();
    void sizeCountsAcrossWrapAround();
    void clearEmptiesQueue();
    void newLimitDropsStringsButKeepsPositions();
    void shrinkingLimitKeepsQueueUsable();
    void limitBelowOneActsAsOne();
};

namespace
{
QStringList numbered(int from, int to)
{
    QStringList items;
    for (int i = from; i <= to; ++i)
        items << QStringLiteral("s%1").arg(i);
    return items;
}

QStringList drain(StringQueue &queue, int count)
{
    QStringList items;
    for (int i = 0; i < count; ++i)
        items << queue.GetNext();
    return items;
}
} // namespace

void TestStringQueue::fullQueueKeepsNewestStrings_data()
{
    QTest::addColumn<int>("added");
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("empty") << 0 << QStringList();
    QTest::newRow("below limit") << 5 << numbered(1, 5);
    QTest::newRow("exactly full") << 9 << numbered(1, 9);
    QTest::newRow("one over") << 10 << numbered(2, 10);
    QTest::newRow("twelve") << 12 << numbered(4, 12);
    QTest::newRow("many laps") << 95 << numbered(87, 95);
}

void TestStringQueue::fullQueueKeepsNewestStrings()
{
    QFETCH(int, added);
    QFETCH(QStringList, kept);
    StringQueue queue;
    for (const QString &item : numbered(1, added))
        queue.Add(item);
    QCOMPARE(queue.size(), kept.size());
    QCOMPARE(drain(queue, int(kept.size())), kept);
    QCOMPARE(queue.size(), 0);
    QCOMPARE(queue.GetNext(), QString());
    QCOMPARE(queue.GetNext(), QString());
}

void TestStringQueue::sizeCountsAcrossWrapAround()
{
    StringQueue queue;
    for (const QString &item : numbered(1, 8))
        queue.Add(item);
    drain(queue, 7);
    for (const QString &item : numbered(9, 12))
        queue.Add(item); // write position has wrapped past the end
    QCOMPARE(queue.size(), 5);
    QCOMPARE(drain(queue, 6), (numbered(8, 12) << QString()));
}

void TestStringQueue::clearEmptiesQueue()
{
    StringQueue queue;
    for (const QString &item : numbered(1, 12))
        queue.Add(item);
    queue.Clear();
    QCOMPARE(queue.size(), 0);
    QCOMPARE(queue.GetNext(), QString());
    queue.Add("again");
    QCOMPARE(queue.GetNext(), QStringLiteral("again"));
}

void TestStringQueue::newLimitDropsStringsButKeepsPositions()
{
    StringQueue queue;
    for (const QString &item : numbered(1, 3))
        queue.Add(item);
    queue.setMaxSize(20);
    // The strings are gone, the positions are not: three empty slots remain to be read.
    QCOMPARE(queue.size(), 3);
    QCOMPARE(drain(queue, 3), QStringList(3, QString()));
    for (const QString &item : numbered(1, 25))
        queue.Add(item);
    QCOMPARE(queue.size(), 19);
    QCOMPARE(drain(queue, 19), numbered(7, 25));
}

void TestStringQueue::shrinkingLimitKeepsQueueUsable()
{
    StringQueue queue;
    for (const QString &item : numbered(1, 8))
        queue.Add(item); // positions now at 0 and 8
    queue.setMaxSize(4);
    QVERIFY(queue.size() >= 0 && queue.size() <= 3);
    queue.Clear();
    for (const QString &item : numbered(1, 6))
        queue.Add(item);
    QCOMPARE(queue.size(), 3);
    QCOMPARE(drain(queue, 4), (numbered(4, 6) << QString()));
}

void TestStringQueue::limitBelowOneActsAsOne()
{
    StringQueue queue;
    queue.setMaxSize(0);
    queue.Add("x");
    QCOMPARE(queue.size(), 0);
    QCOMPARE(queue.GetNext(), QString());
    queue.setMaxSize(-3);
    queue.Add("y");
    QCOMPARE(queue.GetNext(), QString());
}

QTEST_GUILESS_MAIN(TestStringQueue)
#include "tst_stringqueue.moc"
