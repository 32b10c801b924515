#include "support/QuestionBoxLayout.h"

#include <QtTest>

// Question text of `chars` units wrapped at a label width: 210 twips a line, each line
// holding `width` units.
static std::function<int(int)> wrapped(int chars)
{
    return [chars](int width) { return (chars + width - 1) / width * 210; };
}

class TestQuestionBoxLayout : public QObject
{
    Q_OBJECT

private slots:
    void fitsTheQuestion_data();
    void fitsTheQuestion();
    void twipsBecomePixelsAtFifteenEach();
};

void TestQuestionBoxLayout::fitsTheQuestion_data()
{
    QTest::addColumn<int>("chars");
    QTest::addColumn<QString>("captioned");
    QTest::addColumn<QRect>("label");
    QTest::addColumn<QSize>("interior");
    QTest::addColumn<double>("leftShift");
    QTest::addColumn<QList<int>>("lefts");

    const QList<int> threeButtons{933, 2568, 4203};
    QTest::newRow("one line, three buttons")
        << 1000 << "111" << QRect(840, 120, 4695, 210) << QSize(5715, 1890) << 0.0 << threeButtons;
    QTest::newRow("one line, lone first button")
        << 1000 << "100" << QRect(840, 120, 4695, 210) << QSize(5715, 1890) << 0.0
        << QList<int>{3900, 5535, 5535};
    QTest::newRow("one line, first and second")
        << 1000 << "110" << QRect(840, 120, 4695, 210) << QSize(5715, 1890) << 0.0
        << QList<int>{2265, 3900, 5535};
    QTest::newRow("one line, first and third")
        << 1000 << "101" << QRect(840, 120, 4695, 210) << QSize(5715, 1890) << 0.0
        << QList<int>{2568, 4203, 4203};
    // 13 lines at 4695 is taller than half the width: the label doubles its height in width
    // (5460, 11 lines), the box widens about its centre and grows downwards.
    QTest::newRow("tall text widens")
        << 60000 << "111" << QRect(840, 120, 5460, 2310) << QSize(6420, 2925) << -352.5
        << QList<int>{1638, 3273, 4908};
    // Doubling would give 9240: capped at 8000.
    QTest::newRow("very long text capped")
        << 100000 << "111" << QRect(840, 120, 8000, 2730) << QSize(8960, 3345) << -1622.5
        << QList<int>{4178, 5813, 7448};
}

void TestQuestionBoxLayout::fitsTheQuestion()
{
    QFETCH(int, chars);
    QFETCH(QString, captioned);
    QFETCH(QRect, label);
    QFETCH(QSize, interior);
    QFETCH(double, leftShift);
    QFETCH(QList<int>, lefts);

    QuestionBoxLayout layout;
    layout.label.setHeight(wrapped(chars)(layout.label.width()));
    const double shift =
        layout.fit(wrapped(chars), {captioned[0] == '1', captioned[1] == '1', captioned[2] == '1'});

    QCOMPARE(layout.label, label);
    QCOMPARE(layout.interior, interior);
    QCOMPARE(shift, leftShift);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(layout.buttons[i].x(), lefts[i]);
        // Buttons follow the bottom edge, 60 above it.
        QCOMPARE(layout.buttons[i].bottom() + 1, interior.height() - 60);
    }
}

void TestQuestionBoxLayout::twipsBecomePixelsAtFifteenEach()
{
    QCOMPARE(QuestionBoxLayout::toPixels(5715), 381);
    QCOMPARE(QuestionBoxLayout::toPixels(1332), 89);
    QCOMPARE(QuestionBoxLayout::toPixels(QRect(933, 1455, 1455, 375)), QRect(62, 97, 97, 25));
}

QTEST_GUILESS_MAIN(TestQuestionBoxLayout)
#include "tst_questionboxlayout.moc"
