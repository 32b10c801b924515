#include "ui/widgets/IndicatorLamp.h"

#include <QTest>

using Colour = IndicatorLamp::Colour;

class TestIndicatorLamp : public QObject
{
    Q_OBJECT
private slots:
    void coloursAndWords_data();
    void coloursAndWords();
    void unlitTakesTheButtonFace();
};

void TestIndicatorLamp::coloursAndWords_data()
{
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QColor>("fill");
    QTest::newRow("green") << Colour::Green << "green" << QColor(0, 255, 0);
    QTest::newRow("yellow") << Colour::Yellow << "yellow" << QColor(255, 255, 0);
    QTest::newRow("amber") << Colour::Amber << "amber" << QColor(255, 220, 0);
    QTest::newRow("red") << Colour::Red << "red" << QColor(255, 0, 0);
}

void TestIndicatorLamp::coloursAndWords()
{
    QFETCH(Colour, colour);
    QFETCH(QString, word);
    QFETCH(QColor, fill);
    IndicatorLamp lamp(QStringLiteral("ThermalOKShape(1)"));
    lamp.setColour(colour);
    QVERIFY(lamp.isLit());
    QCOMPARE(lamp.accessibleDescription(), word);
    QCOMPARE(lamp.fillColor(), fill);
    QCOMPARE(lamp.accessibleName(), QStringLiteral("ThermalOKShape(1)"));

    // The lamp is seen in its colour on screen too.
    lamp.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lamp));
    const QImage image = lamp.grab().toImage();
    QCOMPARE(image.pixelColor(image.rect().center()), fill);
}

void TestIndicatorLamp::unlitTakesTheButtonFace()
{
    IndicatorLamp lamp(QStringLiteral("DataShape"));
    lamp.setColour(Colour::Red);
    lamp.setColour(Colour::Unlit);
    QVERIFY(!lamp.isLit());
    QCOMPARE(lamp.accessibleDescription(), QStringLiteral("unlit"));
    QCOMPARE(lamp.fillColor(), lamp.palette().color(QPalette::Button));
}

QTEST_MAIN(TestIndicatorLamp)
#include "tst_indicatorlamp.moc"
