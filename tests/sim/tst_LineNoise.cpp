// The simulator's noise: the bursts the console must survive at every awaited reply.
#include "LineNoise.h"

#include <QtTest>

class LineNoiseTest : public QObject
{
    Q_OBJECT

private slots:
    void burstsComeInTurnAndRepeat()
    {
        LineNoise noise;
        const QByteArray everyValue = noise.next();
        const QByteArray loneCr = noise.next();
        const QByteArray longLine = noise.next();
        const QByteArray burst = noise.next();

        QCOMPARE(everyValue.size(), 256);
        for (int value = 0; value < 256; ++value)
            QVERIFY2(everyValue.contains(char(value)), qPrintable(QString::number(value)));
        QVERIFY(loneCr.count('\r') >= 4);
        QVERIFY(!loneCr.contains('\n'));
        QCOMPARE(longLine.size(), LineNoise::kLongLine);
        QVERIFY(!longLine.contains('\r') && !longLine.contains('\n'));
        QCOMPARE(burst.size(), LineNoise::kBurst);

        // The fifth burst is the first kind again, shuffled anew; a second noise source
        // gives the same bytes, so a failing run can be repeated.
        const QByteArray fifth = noise.next();
        QCOMPARE(fifth.size(), 256);
        QVERIFY(fifth != everyValue);
        LineNoise again;
        QCOMPARE(again.next(), everyValue);
    }
};

QTEST_GUILESS_MAIN(LineNoiseTest)
#include "tst_LineNoise.moc"
