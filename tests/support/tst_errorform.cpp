#include "testkit/ModalDriver.h"
#include "ui/widgets/ErrorForm.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

class TestErrorForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsTheMessageAndBeepsEachTime();
    void dismissKeepsTheWindowForTheNextMessage_data();
    void dismissKeepsTheWindowForTheNextMessage();
    void closeBoxDestroysAndNextMessageBuildsAgain();
    void longTextIsCutNotGrown();
    void centredOnOwnerOnceThenKeepsItsPlace();

private:
    int m_beeps = 0;
};

void TestErrorForm::init()
{
    m_beeps = 0;
    ErrorForm::setBeepHook([this] { ++m_beeps; });
}

void TestErrorForm::cleanup()
{
    ErrorForm::setBeepHook({});
    delete ErrorForm::instance();
}

void TestErrorForm::showsTheMessageAndBeepsEachTime()
{
    QStringList texts;
    QList<QWidget *> windows;
    auto readAndDismiss = [&](QWidget *window) {
        windows << window;
        texts << window->findChild<QLabel *>("msgText")->text();
        QTest::mouseClick(window->findChild<QPushButton *>("Cancel"), Qt::LeftButton);
    };

    whenModalShown(readAndDismiss);
    ErrorForm::ShowErrorMessage("Port 3 is in use.");
    QCOMPARE(m_beeps, 1);
    whenModalShown(readAndDismiss);
    ErrorForm::ShowErrorMessage("No response.");

    QCOMPARE(m_beeps, 2);
    QCOMPARE(texts, QStringList({"Port 3 is in use.", "No response."}));
    QCOMPARE(windows[0], windows[1]);
    QCOMPARE(windows[0], ErrorForm::instance());
    QVERIFY(!ErrorForm::instance()->isVisible());
}

void TestErrorForm::dismissKeepsTheWindowForTheNextMessage_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void TestErrorForm::dismissKeepsTheWindowForTheNextMessage()
{
    QFETCH(int, key);
    whenModalShown([key](QWidget *window) {
        QWidget *target = window->focusWidget() ? window->focusWidget() : window;
        QTest::keyClick(target, Qt::Key(key));
        if (window->isVisible())
            window->close(); // a failure, but never leave the test waiting
    });
    ErrorForm::ShowErrorMessage("File not found.");
    QVERIFY(ErrorForm::instance());
    QVERIFY(!ErrorForm::instance()->isVisible());
}

void TestErrorForm::closeBoxDestroysAndNextMessageBuildsAgain()
{
    QPointer<QWidget> first;
    whenModalShown([&first](QWidget *window) {
        first = window;
        window->close();
    });
    ErrorForm::ShowErrorMessage("Lost the instrument.");
    QVERIFY(!ErrorForm::instance());
    QTRY_VERIFY(first.isNull());

    QPointer<QWidget> second;
    QString title;
    whenModalShown([&](QWidget *window) {
        second = window;
        title = window->windowTitle();
        window->findChild<QPushButton *>("Cancel")->click();
    });
    ErrorForm::ShowErrorMessage("Again.");
    QVERIFY(second);
    QCOMPARE(second.data(), ErrorForm::instance());
    QCOMPARE(title, QString("Orvantis Console"));
    QCOMPARE(m_beeps, 2);
}

void TestErrorForm::longTextIsCutNotGrown()
{
    ErrorForm form;
    form.msgText->setText(QString("A very long message that keeps going. ").repeated(60));
    QCOMPARE(form.size(), QSize(390, 142));
    QCOMPARE(form.msgText->geometry(), QRect(64, 12, 313, 93));
    QVERIFY(form.Cancel->isDefault());
}

void TestErrorForm::centredOnOwnerOnceThenKeepsItsPlace()
{
    QWidget owner;
    owner.setGeometry(100, 120, 600, 400);
    QPoint firstCentre;
    whenModalShown([&firstCentre](QWidget *window) {
        firstCentre = window->geometry().center();
        window->move(window->pos() + QPoint(30, 40));
        window->findChild<QPushButton *>("Cancel")->click();
    });
    ErrorForm::ShowErrorMessage("First.", &owner);
    QVERIFY(qAbs(firstCentre.x() - owner.frameGeometry().center().x()) <= 8);
    QVERIFY(qAbs(firstCentre.y() - owner.frameGeometry().center().y()) <= 20);

    QPoint secondPos;
    const QPoint moved = ErrorForm::instance()->pos();
    whenModalShown([&secondPos](QWidget *window) {
        secondPos = window->pos();
        window->findChild<QPushButton *>("Cancel")->click();
    });
    ErrorForm::ShowErrorMessage("Second.", &owner);
    QCOMPARE(secondPos, moved);
}

QTEST_MAIN(TestErrorForm)
#include "tst_errorform.moc"
