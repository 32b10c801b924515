// What the operator sees when the instrument or the program says more than the windows
// were built for: a status line whose last field is the ambient temperature, and a second
// error raised while the first is on screen.
#include "testkit/StatusFormRig.h"
#include "testkit/TestSettings.h"
#include "ui/widgets/ErrorForm.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class OperatorWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void ambientAsLastFieldKeepsTheWindowsSize_data();
    void ambientAsLastFieldKeepsTheWindowsSize();
    void secondErrorWaitsForTheFirst();

private:
    QTemporaryDir m_dir;
};

void OperatorWindowsTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.path());
}

void OperatorWindowsTest::ambientAsLastFieldKeepsTheWindowsSize_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("caption");
    QTest::newRow("five fields") << QByteArray("st:1011,0.00,1,0.0,21.5\r\n") << "Ambient: 21.5";
    QTest::newRow("six fields") << QByteArray("st:1011,0.00,1,0.0,21.5,12.1\r\n")
                                << "Ambient: 21.5";
    QTest::newRow("a long last field")
        << QByteArray("st:1011,0.00,1,0.0,21.5 C at the housing sensor, probe 2 of 2\r\n")
        << "Ambient: 21.5 C at the housing sensor";
}

void OperatorWindowsTest::ambientAsLastFieldKeepsTheWindowsSize()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, caption);
    StatusFormRig rig;
    rig.form->show();
    rig.form->layout()->activate();
    const QSize size = rig.form->size();

    rig.port.feed(line);
    QTRY_COMPARE(rig.form->controls().AmbientTempLabel->text(), caption);
    rig.form->layout()->activate();
    QCOMPARE(rig.form->size(), size);
}

void OperatorWindowsTest::secondErrorWaitsForTheFirst()
{
    int beeps = 0;
    ErrorForm::setBeepHook([&beeps] { ++beeps; });
    QStringList seen;
    bool secondReturned = false;
    // Inside the first message's wait, something fails again.
    QTimer::singleShot(0, this, [&] {
        // Inside the second message's wait: the operator reads and presses OK, twice.
        QTimer::singleShot(0, this, [&] {
            ErrorForm *form = ErrorForm::instance();
            seen << form->msgText->text();
            form->Cancel->click();
            seen << form->msgText->text() << (form->isVisible() ? "shown" : "hidden")
                 << (secondReturned ? "returned" : "waiting");
            form->Cancel->click();
        });
        ErrorForm::ShowErrorMessage(QStringLiteral("second"));
        secondReturned = true;
    });
    ErrorForm::ShowErrorMessage(QStringLiteral("first"));
    ErrorForm::setBeepHook({});

    QCOMPARE(seen, (QStringList{"first", "second", "shown", "waiting"}));
    QVERIFY(secondReturned);
    QVERIFY(!ErrorForm::instance()->isVisible());
    QCOMPARE(beeps, 2);
}

QTEST_MAIN(OperatorWindowsTest)
#include "tst_operatorwindows.moc"
