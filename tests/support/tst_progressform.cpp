#include "ui/widgets/ProgressForm.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestProgressForm : public QObject
{
    Q_OBJECT

private slots:
    void builtModelessWithFlagDown();
    void stopRaisesTheFlagAndTheWindowStays_data();
    void stopRaisesTheFlagAndTheWindowStays();
};

void TestProgressForm::builtModelessWithFlagDown()
{
    ProgressForm form;
    QVERIFY(!form.CancelFlag);
    QVERIFY(!form.isModal());
    QVERIFY(form.windowFlags().testFlag(Qt::Tool));
    QCOMPARE(form.StopButton->text(), QString("Stop"));
    QCOMPARE(form.StopButton->geometry(), QRect(264, 96, 89, 25));
}

void TestProgressForm::stopRaisesTheFlagAndTheWindowStays_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Stop clicked") << "click";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("close box") << "close";
}

void TestProgressForm::stopRaisesTheFlagAndTheWindowStays()
{
    QFETCH(QString, how);
    QWidget owner;
    owner.show();
    ProgressForm form(&owner);
    form.setWindowTitle("Cal Check");
    QSignalSpy stops(&form, &ProgressForm::stopRequested);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!form.CancelFlag);

    if (how == "click")
        QTest::mouseClick(form.StopButton, Qt::LeftButton);
    else if (how == "escape")
        QTest::keyClick(form.focusWidget() ? form.focusWidget() : &form, Qt::Key_Escape);
    else
        form.close();

    QVERIFY(form.CancelFlag);
    QCOMPARE(stops.count(), 1);
    // Only the owner ends the work and the window.
    QVERIFY(form.isVisible());
    form.CancelFlag = false;
    QTest::mouseClick(form.StopButton, Qt::LeftButton);
    QVERIFY(form.CancelFlag);
}

QTEST_MAIN(TestProgressForm)
#include "tst_progressform.moc"
