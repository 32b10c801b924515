#include "features/files/DirListing.h"
#include "features/files/DirSort.h"
#include "features/files/ParseDirDate.h"

#include <QDate>
#include <QtTest>

namespace
{
double dayNumber(int year, int month, int day)
{
    return double(QDate(year, month, day).toJulianDay() - QDate(1899, 12, 30).toJulianDay());
}

// A listing line: name in 1-12, size right-aligned to 27, date from 29.
QByteArray listingLine(const QByteArray &name, const QByteArray &size, const QByteArray &date)
{
    return name.leftJustified(12, ' ', true) + size.rightJustified(15, ' ', true) + ' ' + date;
}
} // namespace

class DirListingTest : public QObject
{
    Q_OBJECT

private slots:
    void dayNumberOfDirectoryDates_data();
    void dayNumberOfDirectoryDates();
    void lineSplitsAtFixedPositions_data();
    void lineSplitsAtFixedPositions();
    void replyKeepsOnlyFileLines();
    void replyWithoutLineEndGivesNoRows();
    void headerClicksToggleOnlyOnTheSameColumn();
    void headerPositionPicksTheColumn();
    void keysSortNumbersAsNumbers_data();
    void keysSortNumbersAsNumbers();
    void captionsMarkTheSortedColumn();
};

void DirListingTest::dayNumberOfDirectoryDates_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("example") << QByteArray("12-04-09 14:35") << 40151.6076388889;
    QTest::newRow("year 79 is 2079") << QByteArray("01-01-79 00:00") << dayNumber(2079, 1, 1);
    QTest::newRow("year 80 is 1980") << QByteArray("01-01-80 00:00") << dayNumber(1980, 1, 1);
    QTest::newRow("year 99") << QByteArray("12-31-99 23:59")
                             << dayNumber(1999, 12, 31) + 23.0 / 24 + 59.0 / 1440;
    QTest::newRow("month 13 rolls into next year")
        << QByteArray("13-01-09 00:00") << dayNumber(2010, 1, 1);
    QTest::newRow("day 30 of February rolls into March")
        << QByteArray("02-30-09 06:00") << dayNumber(2009, 3, 2) + 0.25;
    QTest::newRow("unreadable parts count as 0")
        << QByteArray("ab-cd-ef gh:ij") << dayNumber(1999, 11, 30);
    QTest::newRow("no time") << QByteArray("07-04-10") << dayNumber(2010, 7, 4);
    QTest::newRow("empty") << QByteArray() << dayNumber(1999, 11, 30);
}

void DirListingTest::dayNumberOfDirectoryDates()
{
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    QVERIFY2(qAbs(ParseDirDate(text) - expected) < 1e-9,
             qPrintable(QString::number(ParseDirDate(text), 'g', 17)));
}

void DirListingTest::lineSplitsAtFixedPositions_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("cells");
    QTest::newRow("example") << listingLine("DATA0001.RAW", "1,234,567", "12-04-09 14:35")
                             << QStringList{"DATA0001.RAW", "12-04-09 14:35",    "1,234,567",
                                            "RAW",          " 40151.6076388889", "    1234567"};
    QTest::newRow("name without dot")
        << listingLine("README", "512", "01-02-03 04:05")
        << QStringList{
               "README",
               "01-02-03 04:05",
               "512",
               "",
               QStringLiteral(" %1").arg(dayNumber(2003, 1, 2) + 4.0 / 24 + 5.0 / 1440, 0, 'g', 15),
               "          512"};
    QTest::newRow("short name keeps its extension")
        << listingLine("A.B", "12,345", "03-04-05 06:07")
        << QStringList{
               "A.B",
               "03-04-05 06:07",
               "12,345",
               "B",
               QStringLiteral(" %1").arg(dayNumber(2005, 3, 4) + 6.0 / 24 + 7.0 / 1440, 0, 'g', 15),
               "       12345"};
    QTest::newRow("volume line split the same way")
        << QByteArray(" Volume in drive A is FLASH")
        << QStringList{"Volume in d",
                       "",
                       "rive A is FLASH",
                       "",
                       QStringLiteral(" %1").arg(dayNumber(1999, 11, 30)),
                       "ve A is FLASH"};
}

void DirListingTest::lineSplitsAtFixedPositions()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, cells);
    QCOMPARE(DirListing::parseLine(line).cells(), cells);
}

void DirListingTest::replyKeepsOnlyFileLines()
{
    const QByteArray reply = "Directory of A:\r\n" + listingLine("B.TXT", "10", "01-01-10 10:00") +
                             "\r\n" + "garbage line\r\n" +
                             listingLine("C.RAW", "2,000", "01-02-10 10:00") + "\r\n" +
                             "     2 file(s)   123,456 bytes free\r\n" + "Orvantis";
    bool freeLineSeen = false;
    const QList<DirListing::Row> rows = DirListing::parse(reply, &freeLineSeen);
    QVERIFY(freeLineSeen);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0).name, QStringLiteral("B.TXT"));
    QCOMPARE(rows.at(1).name, QStringLiteral("garbage line"));
    QCOMPARE(rows.at(2).name, QStringLiteral("C.RAW"));
    QCOMPARE(rows.at(2).sizeKey.trimmed(), QStringLiteral("2000"));

    bool noFreeLine = true;
    QCOMPARE(DirListing::parse("Directory of A:\r\nOrvantis", &noFreeLine).size(), 0);
    QVERIFY(!noFreeLine);
}

void DirListingTest::replyWithoutLineEndGivesNoRows()
{
    QVERIFY(
        DirListing::parse(listingLine("DATA0001.RAW", "1,234,567", "12-04-09 14:35")).isEmpty());
    QVERIFY(DirListing::parse(QByteArray()).isEmpty());
}

void DirListingTest::headerClicksToggleOnlyOnTheSameColumn()
{
    // After start-up the remembered column is 0: a first click on "Name" reverses.
    DirSort sort;
    int lastClicked = 0;
    sort.headerClicked(0, lastClicked);
    QCOMPARE(sort.SortColumn, 0);
    QCOMPARE(sort.SortKeyColumn, 0);
    QVERIFY(!sort.SortAscending);
    QCOMPARE(lastClicked, 0);

    // A first click on "Date Modified" keeps the direction; a second one reverses.
    DirSort byDate;
    int lastClickedForDate = 0;
    byDate.headerClicked(1, lastClickedForDate);
    QCOMPARE(byDate.SortKeyColumn, 4);
    QVERIFY(byDate.SortAscending);
    byDate.headerClicked(1, lastClickedForDate);
    QVERIFY(!byDate.SortAscending);
    byDate.headerClicked(2, lastClickedForDate);
    QCOMPARE(byDate.SortKeyColumn, 5);
    QVERIFY(!byDate.SortAscending);
    QCOMPARE(lastClickedForDate, 2);
}

void DirListingTest::headerPositionPicksTheColumn()
{
    const QList<int> widths{100, 120, 90};
    QCOMPARE(DirSort::columnAt(0, widths), 0);
    QCOMPARE(DirSort::columnAt(99, widths), 0);
    QCOMPARE(DirSort::columnAt(100, widths), 1);
    QCOMPARE(DirSort::columnAt(219, widths), 1);
    QCOMPARE(DirSort::columnAt(309, widths), 2);
    QCOMPARE(DirSort::columnAt(310, widths), 3);
    QCOMPARE(DirSort::columnAt(5000, widths), 3);
}

void DirListingTest::keysSortNumbersAsNumbers_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("ascending");
    QTest::addColumn<QStringList>("order");
    // Rows: name, -, -, type, date key, size key.
    QTest::newRow("size ascending") << 2 << true << QStringList{"b", "c", "a", "d"};
    QTest::newRow("size descending") << 2 << false << QStringList{"d", "a", "c", "b"};
    QTest::newRow("date ascending") << 1 << true << QStringList{"c", "d", "a", "b"};
    QTest::newRow("name descending, case blind") << 0 << false << QStringList{"d", "c", "b", "a"};
    QTest::newRow("type ascending, ties keep order")
        << 3 << true << QStringList{"a", "b", "d", "c"};
}

void DirListingTest::keysSortNumbersAsNumbers()
{
    QFETCH(int, column);
    QFETCH(bool, ascending);
    QFETCH(QStringList, order);
    QList<QStringList> rows{{"a", "", "", "RAW", " 40151.6", "      100"},
                            {"b", "", "", "raw", " 40152", "        9"},
                            {"c", "", "", "TXT", " 39000.5", "       10"},
                            {"d", "", "", "RAW", " 40000", "  1000000"}};
    // Names with mixed case to show the text comparison ignores it.
    rows[1][0] = "B";
    order.replaceInStrings("b", "B");
    DirSort::sortRows(rows, column, ascending);
    QStringList names;
    for (const QStringList &row : rows)
        names << row.first();
    QCOMPARE(names, order);
}

void DirListingTest::captionsMarkTheSortedColumn()
{
    QCOMPARE(DirSort::headerCaptions(1, true),
             (QStringList{"Name", "Date Modified   ^", "Size", "Type"}));
    QCOMPARE(DirSort::headerCaptions(2, false),
             (QStringList{"Name", "Date Modified", "Size   v", "Type"}));
}

QTEST_GUILESS_MAIN(DirListingTest)
#include "tst_dirlisting.moc"
