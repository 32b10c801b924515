#include "testkit/ModalDriver.h"
#include "ui/widgets/QuestionBoxDialogs.h"
#include "ui/widgets/YesNoCancelForm.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

namespace
{

const char *const kButtons[] = {"YesButton", "NoButton", "Cancel_Button"};

QPushButton *button(QWidget *box, int index)
{
    return box->findChild<QPushButton *>(QLatin1String(kButtons[index]));
}

// What the box showed, read while it was up.
struct Shown {
    QString shownButtons;
    QStringList captions;
    QString focus;
    bool questionIcon = false;
    bool infoIcon = false;
    QList<QRect> geometry;
    QSize size;
};

Shown readBox(QWidget *box)
{
    Shown shown;
    for (int i = 0; i < 3; ++i) {
        shown.shownButtons += button(box, i)->isHidden() ? '0' : '1';
        shown.captions << button(box, i)->text();
        shown.geometry << button(box, i)->geometry();
    }
    shown.focus = box->focusWidget() ? box->focusWidget()->objectName() : QString();
    shown.questionIcon = !box->findChild<QLabel *>("QuestionIcon")->isHidden();
    shown.infoIcon = !box->findChild<QLabel *>("InfoIcon")->isHidden();
    shown.size = box->size();
    return shown;
}

} // namespace

class TestYesNoCancelForm : public QObject
{
    Q_OBJECT

private slots:
    void captionsIconAndFocus_data();
    void captionsIconAndFocus();
    void builtGeometryInPixels_data();
    void builtGeometryInPixels();
    void resultCodes_data();
    void resultCodes();
    void escapeAndOtherKeysWithoutThirdButtonDoNothing();
    void longQuestionWidensAboutCentreAndGrowsDown();
    void accessKeyOnlyWhileAButtonHasFocus();
};

void TestYesNoCancelForm::captionsIconAndFocus_data()
{
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<QString>("shownButtons");
    QTest::addColumn<bool>("questionIcon");
    QTest::addColumn<QString>("focus");

    QTest::newRow("Yes/No") << QStringList{"Yes", "No", ""} << 1 << "110" << true << "YesButton";
    QTest::newRow("Yes/Cancel, default third")
        << QStringList{"Yes", "", "Cancel"} << -1 << "101" << true << "Cancel_Button";
    QTest::newRow("OK/Cancel, default second")
        << QStringList{"OK", "Cancel", ""} << 0 << "110" << true << "NoButton";
    QTest::newRow("lone OK") << QStringList{"OK", "", ""} << 1 << "100" << false << "YesButton";
    QTest::newRow("hidden default falls to first shown")
        << QStringList{"Yes", "", "Cancel"} << 0 << "101" << true << "YesButton";
    QTest::newRow("unknown default code")
        << QStringList{"Yes", "No", "Cancel"} << 7 << "111" << true << "YesButton";
    QTest::newRow("no buttons") << QStringList{"", "", ""} << 1 << "000" << false << "";
}

void TestYesNoCancelForm::captionsIconAndFocus()
{
    QFETCH(QStringList, captions);
    QFETCH(int, defaultButton);
    QFETCH(QString, shownButtons);
    QFETCH(bool, questionIcon);
    QFETCH(QString, focus);

    Shown shown;
    whenModalShown([&shown](QWidget *box) {
        shown = readBox(box);
        box->close();
    });
    QCOMPARE(ShowQuestionBox("Go on?", captions[0], captions[1], captions[2], defaultButton), -1);

    QCOMPARE(shown.shownButtons, shownButtons);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(shown.captions[i], captions[i].isEmpty() ? QString() : "&" + captions[i]);
    QCOMPARE(shown.questionIcon, questionIcon);
    QCOMPARE(shown.infoIcon, !questionIcon);
    QCOMPARE(shown.focus, focus);
}

void TestYesNoCancelForm::builtGeometryInPixels_data()
{
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QList<int>>("lefts");

    QTest::newRow("three buttons")
        << QStringList{"Yes", "No", "Cancel"} << QList<int>{62, 171, 280};
    // Right edge 360 twips (24 pixels) from the interior's right edge.
    QTest::newRow("lone first") << QStringList{"OK", "", ""} << QList<int>{260, 369, 369};
}

void TestYesNoCancelForm::builtGeometryInPixels()
{
    QFETCH(QStringList, captions);
    QFETCH(QList<int>, lefts);

    Shown shown;
    QRect label;
    QRect questionIcon;
    QPoint centre;
    QSize frameSlack;
    QString title;
    bool fixedSize = false;
    whenModalShown([&](QWidget *box) {
        shown = readBox(box);
        label = box->findChild<QLabel *>("Question_text")->geometry();
        questionIcon = box->findChild<QLabel *>("QuestionIcon")->geometry();
        centre = box->frameGeometry().center();
        frameSlack = (box->frameGeometry().size() - box->size()) / 2 + QSize(1, 1);
        title = box->windowTitle();
        fixedSize = box->minimumSize() == box->maximumSize();
        box->close();
    });
    ShowQuestionBox("Proceed?", captions[0], captions[1], captions[2], 1);

    QCOMPARE(title, QString("Orvantis Console"));
    QVERIFY(fixedSize);
    QCOMPARE(shown.size, QSize(381, 126));
    QCOMPARE(label.topLeft(), QPoint(56, 8));
    QCOMPARE(label.width(), 313);
    QCOMPARE(questionIcon, QRect(8, 8, 33, 33));
    const QList<int> widths{97, 97, 89};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(shown.geometry[i], QRect(lefts[i], 97, widths[i], 25));
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    // The frame is unknown until the window is shown: allow for its width.
    QVERIFY(qAbs(centre.x() - screenCentre.x()) <= frameSlack.width());
    QVERIFY(qAbs(centre.y() - screenCentre.y()) <= frameSlack.height());
}

void TestYesNoCancelForm::resultCodes_data()
{
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("result");

    const QStringList three{"Yes", "No", "Cancel"};
    const QStringList yesNo{"Yes", "No", ""};
    const QStringList yesCancel{"Yes", "", "Cancel"};
    QTest::newRow("click first") << three << 1 << "click:YesButton" << 1;
    QTest::newRow("click second") << three << 1 << "click:NoButton" << 0;
    QTest::newRow("click third") << three << 1 << "click:Cancel_Button" << -1;
    QTest::newRow("y presses Yes") << yesNo << 0 << "key:y" << 1;
    QTest::newRow("Y presses Yes") << yesNo << 0 << "key:Y" << 1;
    QTest::newRow("n presses No") << yesNo << 1 << "key:n" << 0;
    QTest::newRow("y with focus on Cancel") << yesCancel << -1 << "key:y" << 1;
    QTest::newRow("c presses Cancel") << yesCancel << 1 << "key:C" << -1;
    QTest::newRow("o presses lone OK") << QStringList{"OK", "", ""} << 1 << "key:o" << 1;
    QTest::newRow("Enter on focused third") << yesCancel << -1 << "enter" << -1;
    QTest::newRow("Enter on focused second") << three << 0 << "enter" << 0;
    QTest::newRow("space on focused second") << yesNo << 0 << "key: " << 0;
    QTest::newRow("Escape presses shown third") << yesCancel << 1 << "escape" << -1;
    QTest::newRow("close box") << three << 1 << "close" << -1;
    QTest::newRow("close box without buttons") << QStringList{"", "", ""} << 1 << "close" << -1;
}

void TestYesNoCancelForm::resultCodes()
{
    QFETCH(QStringList, captions);
    QFETCH(int, defaultButton);
    QFETCH(QString, action);
    QFETCH(int, result);

    whenModalShown([action](QWidget *box) {
        QWidget *target = box->focusWidget() ? box->focusWidget() : box;
        if (action.startsWith("click:"))
            QTest::mouseClick(box->findChild<QPushButton *>(action.mid(6)), Qt::LeftButton);
        else if (action.startsWith("key:"))
            QTest::keyClick(target, action.at(4).toLatin1());
        else if (action == "enter")
            QTest::keyClick(target, Qt::Key_Return);
        else if (action == "escape")
            QTest::keyClick(target, Qt::Key_Escape);
        if (box->isVisible())
            box->close();
    });
    QCOMPARE(ShowQuestionBox("Sure?", captions[0], captions[1], captions[2], defaultButton),
             result);
}

void TestYesNoCancelForm::escapeAndOtherKeysWithoutThirdButtonDoNothing()
{
    bool openAfterEscape = false;
    bool openAfterX = false;
    whenModalShown([&](QWidget *box) {
        QTest::keyClick(box->focusWidget(), Qt::Key_Escape);
        openAfterEscape = box->isVisible();
        QTest::keyClick(box->focusWidget(), 'x');
        openAfterX = box->isVisible();
        QTest::keyClick(box->focusWidget(), 'N');
    });
    QCOMPARE(ShowQuestionBox("Overwrite?", "Yes", "No", "", 1), 0);
    QVERIFY(openAfterEscape);
    QVERIFY(openAfterX);
}

void TestYesNoCancelForm::longQuestionWidensAboutCentreAndGrowsDown()
{
    QuestionBoxLayout layout;
    QPoint centre;
    QSize frameSlack;
    QSize size;
    QRect labelPixels;
    int labelTextHeight = 0;
    QList<QRect> buttons;
    whenModalShown([&](QWidget *box) {
        auto *form = qobject_cast<YesNoCancelForm *>(box);
        layout = form->layoutTwips();
        centre = box->frameGeometry().center();
        frameSlack = (box->frameGeometry().size() - box->size()) / 2 + QSize(1, 1);
        size = box->size();
        labelPixels = form->Question_text->geometry();
        labelTextHeight = form->Question_text->heightForWidth(labelPixels.width());
        buttons = {form->YesButton->geometry(), form->NoButton->geometry(),
                   form->Cancel_Button->geometry()};
        box->close();
    });
    ShowQuestionBox(QString("The instrument reports a long condition. ").repeated(40), "Yes", "No",
                    "Cancel", 1);

    QVERIFY(size.width() > 381);
    QVERIFY(size.height() > 126);
    QVERIFY(layout.label.width() <= 8000);
    QVERIFY(layout.label.width() == 8000 || layout.label.width() / 2.0 >= layout.label.height());
    QCOMPARE(layout.interior.width(), 840 + layout.label.width() + 120);
    QCOMPARE(layout.interior.height(), 120 + layout.label.height() + 120 + 375);
    QCOMPARE(labelPixels.height(), labelTextHeight);
    for (const QRect &geometry : buttons)
        QVERIFY(qAbs(size.height() - 4 - (geometry.bottom() + 1)) <= 1);
    // Widened about the old centre (the screen's), grown downwards from the old top.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(qAbs(centre.x() - screen.center().x()) <= frameSlack.width());
    QVERIFY(qAbs((centre.y() - size.height() / 2) - (screen.center().y() - 126 / 2)) <=
            frameSlack.height());
}

void TestYesNoCancelForm::accessKeyOnlyWhileAButtonHasFocus()
{
    QWidget window;
    auto *edit = new QLineEdit(&window);
    auto *check = new QCheckBox("Check", &window);
    auto *plain = new QPushButton("Plain", &window);
    auto *first = new QPushButton("&Send", &window);
    auto *second = new QPushButton("Re&try", &window);
    auto *later = new QPushButton("&Stop", &window);
    QSignalSpy firstClicks(first, &QPushButton::clicked);
    QSignalSpy secondClicks(second, &QPushButton::clicked);
    QSignalSpy laterClicks(later, &QPushButton::clicked);
    Q_UNUSED(plain);
    window.show();

    edit->setFocus();
    QCOMPARE(HandleAccessKey(&window, 's'), qint16('s'));
    QCOMPARE(firstClicks.count(), 0);

    check->setFocus();
    QCOMPARE(HandleAccessKey(&window, 'p'), qint16('p')); // "Plain" has no access letter
    QCOMPARE(HandleAccessKey(&window, 'S'), qint16(0));   // the first match only
    QCOMPARE(firstClicks.count(), 1);
    QCOMPARE(laterClicks.count(), 0);
    QCOMPARE(HandleAccessKey(&window, 't'), qint16(0));
    QCOMPARE(secondClicks.count(), 1);
}

QTEST_MAIN(TestYesNoCancelForm)
#include "tst_yesnocancelform.moc"
