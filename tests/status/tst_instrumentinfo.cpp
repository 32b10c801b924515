#include "link/InstrumentInfo.h"
#include "support/TaggedValue.h"

#include <QTest>

class TestInstrumentInfo : public QObject
{
    Q_OBJECT

private slots:
    void taggedValueIsLineAfterTag_data();
    void taggedValueIsLineAfterTag();
    void parsesIdentification_data();
    void parsesIdentification();
    void everyParseOverwritesAllValues();
    void depthRoundsHalvesToEven_data();
    void depthRoundsHalvesToEven();
    void firmwareTextIsShortest_data();
    void firmwareTextIsShortest();
};

void TestInstrumentInfo::taggedValueIsLineAfterTag_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("tag");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("crlf line") << QByteArray("Model: X1\r\n") << QByteArray("model:")
                               << QByteArray("X1");
    QTest::newRow("tag in other case")
        << QByteArray("SERIAL: 0042\r\n") << QByteArray("Serial:") << QByteArray("0042");
    QTest::newRow("value keeps case")
        << QByteArray("x model: AbC\r\n") << QByteArray("MODEL:") << QByteArray("AbC");
    QTest::newRow("one character no blank q=3")
        << QByteArray("model:X\r\n") << QByteArray("model:") << QByteArray();
    QTest::newRow("one character blank q=4")
        << QByteArray("model: X\r\n") << QByteArray("model:") << QByteArray("X");
    QTest::newRow("lf only drops last character")
        << QByteArray("model: XY\n") << QByteArray("model:") << QByteArray("X");
    QTest::newRow("no terminator")
        << QByteArray("model: X1") << QByteArray("model:") << QByteArray();
    QTest::newRow("missing tag") << QByteArray("serial: 1\r\n") << QByteArray("model:")
                                 << QByteArray();
    QTest::newRow("first occurrence")
        << QByteArray("model: A1\r\nmodel: B2\r\n") << QByteArray("model:") << QByteArray("A1");
    QTest::newRow("inner blanks kept") << QByteArray("configuration:  UV  VIS  \r\n")
                                       << QByteArray("configuration:") << QByteArray("UV  VIS");
    QTest::newRow("tab kept") << QByteArray("model:\tX1\r\n") << QByteArray("model:")
                              << QByteArray("\tX1");
}

void TestInstrumentInfo::taggedValueIsLineAfterTag()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, tag);
    QFETCH(QByteArray, expected);
    QCOMPARE(GetTaggedValue(text, tag, QByteArray("\n")), expected);
    QCOMPARE(GetTaggedValue(QString::fromLatin1(text), QString::fromLatin1(tag), "\n"),
             QString::fromLatin1(expected));
}

void TestInstrumentInfo::parsesIdentification_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("configuration");
    QTest::addColumn<int>("depth");
    QTest::addColumn<float>("firmware");

    QTest::newRow("full reply")
        << QByteArray("id\r\nModel: Orv-2\r\nSerial: SN0042\r\nConfiguration: UV-VIS 2\r\n"
                      "Depth: 600 m\r\nFirmware version 2.60\r\nOrvantis>")
        << true << "Orv-2"
        << "SN0042"
        << "UV-VIS 2" << 600 << 2.6f;
    QTest::newRow("tags ignore case")
        << QByteArray("Model: X1\r\nSERIAL: 0042\r\nfirmware 3\r\n") << true << "X1"
        << "0042"
        << "" << 0 << 3.0f;
    QTest::newRow("old firmware caps depth")
        << QByteArray("serial: 7\r\ndepth: 600 m\r\nfirmware: 2.50\r\n") << true << ""
        << "7"
        << "" << 330 << 2.5f;
    QTest::newRow("no firmware caps depth")
        << QByteArray("serial: 7\r\ndepth: 1000\r\n") << true << ""
        << "7"
        << "" << 330 << 0.0f;
    QTest::newRow("2.504 in single precision is not old")
        << QByteArray("serial: 7\r\ndepth: 600\r\nfirmware 2.504\r\n") << true << ""
        << "7"
        << "" << 600 << 2.504f;
    QTest::newRow("2.503 is old") << QByteArray("serial: 7\r\ndepth: 600\r\nfirmware 2.503\r\n")
                                  << true << ""
                                  << "7"
                                  << "" << 330 << 2.503f;
    QTest::newRow("no serial") << QByteArray("model: X1\r\ndepth: 600\r\nfirmware 3.1\r\n") << false
                               << "X1"
                               << ""
                               << "" << 600 << 3.1f;
    QTest::newRow("serial without line end")
        << QByteArray("firmware 3\r\nserial: 0042") << false << ""
        << ""
        << "" << 0 << 3.0f;
    QTest::newRow("depth half rounds to even")
        << QByteArray("serial: 1\r\ndepth: 600.5\r\nfirmware 3\r\n") << true << ""
        << "1"
        << "" << 600 << 3.0f;
    QTest::newRow("firmware after letter")
        << QByteArray("serial: 1\r\nfirmware: V2.51 build 7\r\n") << true << ""
        << "1"
        << "" << 0 << 2.51f;
    QTest::newRow("empty reply") << QByteArray() << false << ""
                                 << ""
                                 << "" << 330 << 0.0f;
}

void TestInstrumentInfo::parsesIdentification()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, found);
    QFETCH(QString, model);
    QFETCH(QString, serial);
    QFETCH(QString, configuration);
    QFETCH(int, depth);
    QFETCH(float, firmware);

    InstrumentIdentity identity;
    const QByteArray unchanged = reply;
    QCOMPARE(ParseInstrumentInfo(reply, identity), found);
    QCOMPARE(reply, unchanged);
    QCOMPARE(identity.InstrumentModel, model);
    QCOMPARE(identity.InstrumentSerial, serial);
    QCOMPARE(identity.InstrumentConfiguration, configuration);
    QCOMPARE(int(identity.InstrumentMaxDepth), depth);
    QCOMPARE(identity.InstrumentFirmware, firmware);
}

void TestInstrumentInfo::everyParseOverwritesAllValues()
{
    InstrumentIdentity identity;
    QVERIFY(ParseInstrumentInfo("model: A1\r\nserial: 9\r\nconfiguration: C\r\ndepth: 900\r\n"
                                "firmware 3.0\r\n",
                                identity));
    QVERIFY(!ParseInstrumentInfo("garbage from another device\r\n", identity));
    QVERIFY(identity.InstrumentModel.isEmpty());
    QVERIFY(identity.InstrumentSerial.isEmpty());
    QVERIFY(identity.InstrumentConfiguration.isEmpty());
    QCOMPARE(identity.InstrumentFirmware, 0.0f);
    QCOMPARE(identity.InstrumentMaxDepth, kShallowMaxDepth);
}

void TestInstrumentInfo::depthRoundsHalvesToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("2.51") << 2.51 << 3;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("-3.5") << -3.5 << -4;
    QTest::newRow("too deep") << 1e9 << 32767;
    QTest::newRow("too negative") << -1e9 << -32768;
}

void TestInstrumentInfo::depthRoundsHalvesToEven()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(int(RoundToDepth(value)), expected);
}

void TestInstrumentInfo::firmwareTextIsShortest_data()
{
    QTest::addColumn<float>("firmware");
    QTest::addColumn<QString>("expected");
    QTest::newRow("2.51") << 2.51f << "2.51";
    QTest::newRow("3") << 3.0f << "3";
    QTest::newRow("2.6") << 2.6f << "2.6";
    QTest::newRow("10") << 10.0f << "10";
    QTest::newRow("0") << 0.0f << "0";
    QTest::newRow("0.001") << 0.001f << "0.001";
}

void TestInstrumentInfo::firmwareTextIsShortest()
{
    QFETCH(float, firmware);
    QFETCH(QString, expected);
    QCOMPARE(FirmwareText(firmware), expected);
}

QTEST_GUILESS_MAIN(TestInstrumentInfo)
#include "tst_instrumentinfo.moc"
