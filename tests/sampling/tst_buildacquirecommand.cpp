#include "features/sampling/AcquireCommand.h"

#include <QtTest>

class BuildAcquireCommandTest : public QObject
{
    Q_OBJECT

private slots:
    void acquireCommand_data();
    void acquireCommand();
    void startCommand_data();
    void startCommand();
    void minimumPeriod_data();
    void minimumPeriod();
};

void BuildAcquireCommandTest::acquireCommand_data()
{
    QTest::addColumn<bool>("average");
    QTest::addColumn<QString>("averageSamples");
    QTest::addColumn<bool>("storeInFlash");
    QTest::addColumn<QString>("flashFileName");
    QTest::addColumn<bool>("storeInComputer");
    QTest::addColumn<QByteArray>("command");

    QTest::newRow("design values")
        << false << "10" << false << "" << true << QByteArray("Acquire auto,1,1,\"\",0,-1,2\r");
    QTest::newRow("averaging and flash, name cut to 7")
        << true << "10" << true << "SAMPLE12" << true
        << QByteArray("Acquire auto,10,1,SAMPLE1,0,-1,4\r");
    QTest::newRow("averaging 25") << true << "25" << false << "" << true
                                  << QByteArray("Acquire auto,25,1,\"\",0,-1,2\r");
    QTest::newRow("unchecked averaging sends 1 whatever the text")
        << false << "25" << false << "" << true << QByteArray("Acquire auto,1,1,\"\",0,-1,2\r");
    QTest::newRow("averaging text sent as typed")
        << true << "ab c" << false << "" << true << QByteArray("Acquire auto,ab c,1,\"\",0,-1,2\r");
    QTest::newRow("empty averaging text")
        << true << "" << false << "" << true << QByteArray("Acquire auto,,1,\"\",0,-1,2\r");
    QTest::newRow("flash only") << false << "10" << true << "RUN" << false
                                << QByteArray("Acquire auto,1,1,RUN,0,-1,1\r");
    QTest::newRow("flash with empty name leaves the field empty")
        << false << "10" << true << "" << true << QByteArray("Acquire auto,1,1,,0,-1,4\r");
    QTest::newRow("name of exactly 7") << false << "10" << true << "ABCDEFG" << true
                                       << QByteArray("Acquire auto,1,1,ABCDEFG,0,-1,4\r");
    QTest::newRow("flash name ignored when flash unchecked")
        << false << "10" << false << "SAMPLE12" << true
        << QByteArray("Acquire auto,1,1,\"\",0,-1,2\r");
    QTest::newRow("no destination drops the field and its comma")
        << false << "10" << false << "" << false << QByteArray("Acquire auto,1,1,\"\",0,-1\r");
}

void BuildAcquireCommandTest::acquireCommand()
{
    SamplingSettings settings;
    QFETCH(bool, average);
    QFETCH(QString, averageSamples);
    QFETCH(bool, storeInFlash);
    QFETCH(QString, flashFileName);
    QFETCH(bool, storeInComputer);
    settings.average = average;
    settings.averageSamples = averageSamples;
    settings.storeInFlash = storeInFlash;
    settings.flashFileName = flashFileName;
    settings.storeInComputer = storeInComputer;
    QTEST(BuildAcquireCommand(settings), "command");
}

void BuildAcquireCommandTest::startCommand_data()
{
    QTest::addColumn<double>("period");
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("design") << 10.0 << QByteArray("start 10 Acquire auto,1,1,\"\",0,-1,2\r");
    QTest::newRow("fraction") << 2.5 << QByteArray("start 2.5 Acquire auto,1,1,\"\",0,-1,2\r");
    QTest::newRow("zero") << 0.0 << QByteArray("start 0 Acquire auto,1,1,\"\",0,-1,2\r");
    QTest::newRow("negative has no blank")
        << -3.0 << QByteArray("start-3 Acquire auto,1,1,\"\",0,-1,2\r");
}

void BuildAcquireCommandTest::startCommand()
{
    QFETCH(double, period);
    QTEST(BuildStartCommand(period, BuildAcquireCommand(SamplingSettings())), "command");
}

void BuildAcquireCommandTest::minimumPeriod_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("seconds");
    QTest::newRow("whole") << "10" << true << 10.0;
    QTest::newRow("fraction") << "2.5" << true << 2.5;
    QTest::newRow("blanks around") << " 7 " << true << 7.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("letters") << "ten" << false << 0.0;
    QTest::newRow("number then letters") << "10s" << false << 0.0;
    QTest::newRow("not finite") << "inf" << false << 0.0;
}

void BuildAcquireCommandTest::minimumPeriod()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(double, seconds);
    double read = -1;
    QCOMPARE(ReadMinimumPeriod(text, &read), accepted);
    if (accepted)
        QCOMPARE(read, seconds);
    else
        QCOMPARE(read, -1.0);
}

QTEST_GUILESS_MAIN(BuildAcquireCommandTest)
#include "tst_buildacquirecommand.moc"
