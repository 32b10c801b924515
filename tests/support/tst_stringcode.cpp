#include "support/StringCode.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>

class TestStringCode : public QObject
{
    Q_OBJECT

private slots:
    void extractNumberReadsFirstDigitRun_data();
    void extractNumberReadsFirstDigitRun();
    void fromFirstNumberTakesPointThenMinus_data();
    void fromFirstNumberTakesPointThenMinus();
    void parseNumberReadsFirstNumber_data();
    void parseNumberReadsFirstNumber();
    void leadingNumberFollowsReadingRules_data();
    void leadingNumberFollowsReadingRules();
    void leadingNumberIgnoresUserLocale();
    void getFieldSearchesCommaFromSecondCharacter_data();
    void getFieldSearchesCommaFromSecondCharacter();
    void nextLineSplitsLinesThenStops();
    void nextLineNeedsControlCharacterBeforeLastPosition_data();
    void nextLineNeedsControlCharacterBeforeLastPosition();
    void longTextsHaveNoPositionLimit();
    void nullHelpers();
};

void TestStringCode::extractNumberReadsFirstDigitRun_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint32>("expected");
    QTest::newRow("port entry") << QByteArray("COM 12  (/dev/ttyUSB3)") << 12;
    QTest::newRow("no digits") << QByteArray("COM") << 0;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("rate") << QByteArray("9600") << 9600;
    QTest::newRow("settings") << QByteArray("57600,n,8,1") << 57600;
    QTest::newRow("sign ignored") << QByteArray("-42") << 42;
}

void TestStringCode::extractNumberReadsFirstDigitRun()
{
    QFETCH(QByteArray, text);
    QFETCH(qint32, expected);
    QCOMPARE(ExtractNumber(text), expected);
    QCOMPARE(ExtractNumber(QString::fromLatin1(text)), expected);
}

void TestStringCode::fromFirstNumberTakesPointThenMinus_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("plain") << QByteArray("abc 12 x") << QByteArray("12 x");
    QTest::newRow("minus") << QByteArray("T=-12.5C") << QByteArray("-12.5C");
    QTest::newRow("point") << QByteArray("v.5") << QByteArray(".5");
    QTest::newRow("minus point") << QByteArray("x-.5") << QByteArray("-.5");
    QTest::newRow("point minus") << QByteArray("x.-5") << QByteArray("-5");
    QTest::newRow("letter before") << QByteArray("V2.6") << QByteArray("2.6");
    QTest::newRow("no digit") << QByteArray("-.x") << QByteArray();
}

void TestStringCode::fromFirstNumberTakesPointThenMinus()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(FromFirstNumber(text), expected);
}

void TestStringCode::parseNumberReadsFirstNumber_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("empty") << QByteArray() << 0.0;
    QTest::newRow("unit letter") << QByteArray("Ambient -12.5V") << -12.5;
    QTest::newRow("two rates") << QByteArray("baud: 57600,9600") << 57600.0;
    QTest::newRow("changing") << QByteArray("Changing baud rate to 19200 now") << 19200.0;
    QTest::newRow("cut at blank") << QByteArray("depth: 600 m 7") << 600.0;
    QTest::newRow("line feed skipped") << QByteArray("1\n2 3") << 12.0;
    QTest::newRow("exponent") << QByteArray("x 1.5E3") << 1500.0;
    QTest::newRow("no digits") << QByteArray("none") << 0.0;
}

void TestStringCode::parseNumberReadsFirstNumber()
{
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    QCOMPARE(ParseNumber(text), expected);
}

void TestStringCode::leadingNumberFollowsReadingRules_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("blanks tabs lf anywhere") << QByteArray(" \t1 2\n3.5") << 123.5;
    QTest::newRow("sign after blank") << QByteArray(" - 7") << -7.0;
    QTest::newRow("plus") << QByteArray("+7") << 7.0;
    QTest::newRow("second point stops") << QByteArray("1.2.3") << 1.2;
    QTest::newRow("leading point") << QByteArray(".25") << 0.25;
    QTest::newRow("E exponent") << QByteArray("2E3") << 2000.0;
    QTest::newRow("D exponent") << QByteArray("2D-2") << 0.02;
    QTest::newRow("bare exponent letter") << QByteArray("2E") << 2.0;
    QTest::newRow("hex") << QByteArray("&H1F") << 31.0;
    QTest::newRow("hex lower") << QByteArray(" &hff") << 255.0;
    QTest::newRow("octal") << QByteArray("&O17") << 15.0;
    QTest::newRow("octal stops at 8") << QByteArray("&O78") << 7.0;
    QTest::newRow("other ampersand") << QByteArray("&X1") << 0.0;
    QTest::newRow("CR stops") << QByteArray("4\r5") << 4.0;
    QTest::newRow("letter first") << QByteArray("a1") << 0.0;
    QTest::newRow("sign only") << QByteArray("-") << 0.0;
    QTest::newRow("too large") << QByteArray("1E999") << 0.0;
}

void TestStringCode::leadingNumberFollowsReadingRules()
{
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    QCOMPARE(LeadingNumber(text), expected);
}

void TestStringCode::leadingNumberIgnoresUserLocale()
{
    // The application runs in the user's locale; one with a decimal comma must not change
    // how instrument numbers read. Build such a locale when the system has none installed.
    QTemporaryDir localeFolder;
    bool switched = setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    if (!switched && localeFolder.isValid()) {
        QProcess::execute(QStringLiteral("localedef"),
                          {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                           QStringLiteral("UTF-8"), localeFolder.filePath("de_DE.UTF-8")});
        qputenv("LOCPATH", QFile::encodeName(localeFolder.path()));
        switched = setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
        qunsetenv("LOCPATH");
    }
    const double value = LeadingNumber(QByteArray("2.5"));
    setlocale(LC_NUMERIC, "C");
    if (!switched)
        QSKIP("no locale with a decimal comma could be made (localedef missing)");
    QCOMPARE(value, 2.5);
}

void TestStringCode::getFieldSearchesCommaFromSecondCharacter_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("field");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray letters("a,,b");
    QTest::newRow("letter comma comma letter 0") << letters << 0 << QByteArray("a");
    QTest::newRow("letter comma comma letter 1") << letters << 1 << QByteArray(",b");
    QTest::newRow("letter comma comma letter 2") << letters << 2 << QByteArray();
    const QByteArray status("1,0,1,1,23.5");
    QTest::newRow("status field 4") << status << 4 << QByteArray("23.5");
    QTest::newRow("status field 5") << status << 5 << QByteArray();
    QTest::newRow("negative") << status << -1 << QByteArray();
    QTest::newRow("leading comma") << QByteArray(",x,y") << 0 << QByteArray(",x");
    QTest::newRow("trailing comma") << QByteArray("x,") << 1 << QByteArray();
    QTest::newRow("no comma") << QByteArray("whole") << 0 << QByteArray("whole");
}

void TestStringCode::getFieldSearchesCommaFromSecondCharacter()
{
    QFETCH(QByteArray, text);
    QFETCH(int, field);
    QFETCH(QByteArray, expected);
    QCOMPARE(GetField(text, field), expected);
}

void TestStringCode::nextLineSplitsLinesThenStops()
{
    QByteArray text("first line\r\nsecond\r\n");
    QCOMPARE(NextLine(text), QByteArray("first line"));
    QCOMPARE(text, QByteArray("second\r\n"));
    QCOMPARE(NextLine(text), QByteArray("second"));
    QCOMPARE(text, QByteArray());
    QCOMPARE(NextLine(text), QByteArray());
    QCOMPARE(text, QByteArray());
}

void TestStringCode::nextLineNeedsControlCharacterBeforeLastPosition_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("rest");
    QTest::newRow("no control") << QByteArray("no end") << QByteArray() << QByteArray("no end");
    QTest::newRow("only last") << QByteArray("tail\n") << QByteArray() << QByteArray("tail\n");
    QTest::newRow("run of controls")
        << QByteArray("a\r\n\x03\r\nb") << QByteArray("a") << QByteArray("b");
    QTest::newRow("starts with control")
        << QByteArray("\r\nb\r\n") << QByteArray() << QByteArray("b\r\n");
    QTest::newRow("high characters are text")
        << QByteArray("\xe9t\xe9\r\n") << QByteArray("\xe9t\xe9") << QByteArray();
}

void TestStringCode::nextLineNeedsControlCharacterBeforeLastPosition()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, rest);
    QCOMPARE(NextLine(text), line);
    QCOMPARE(text, rest);
}

void TestStringCode::longTextsHaveNoPositionLimit()
{
    const QByteArray filler(40000, 'x');
    QByteArray text = filler + "\r\n" + filler + ",7";
    QCOMPARE(GetField(text, 1), QByteArray("7"));
    QCOMPARE(ParseNumber(filler + "-3.25"), -3.25);
    QCOMPARE(ExtractNumber(filler + "99"), 99);
    QCOMPARE(NextLine(text).size(), filler.size());
    QCOMPARE(FirstWord(filler + " y"), filler);
}

void TestStringCode::nullHelpers()
{
    QCOMPARE(PadWithNulls("ab", 4), QByteArray("ab\0\0", 4));
    QCOMPARE(AppendNull("ab"), QByteArray("ab\0", 3));
    QCOMPARE(TrimAtNull(QByteArray("ab\0cd", 5)), QByteArray("ab"));
    QCOMPARE(TrimAtNull("abc"), QByteArray("abc"));
    QCOMPARE(StripCommas("1,234,567"), QByteArray("1234567"));
    QVERIFY(IsDigit("7x"));
    QVERIFY(!IsDigit(""));
    QVERIFY(!IsDigit("x7"));
}

QTEST_GUILESS_MAIN(TestStringCode)
#include "tst_stringcode.moc"
