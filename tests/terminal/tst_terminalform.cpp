#include "link/ProgramState.h"
#include "support/TerminalOpenSetting.h"
#include "support/Twips.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/ScriptedOperator.h"
#include "testkit/TestSettings.h"
#include "ui/mainwindow/MainForm.h"
#include "ui/terminal/TerminalForm.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSpontaneKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTestEventList>

class TestTerminalForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void typedCharactersGoToThePortOnly_data();
    void typedCharactersGoToThePortOnly();
    void typingOnAClosedPortSendsNothing();
    void keysWithoutCharacterActOnTheView_data();
    void keysWithoutCharacterActOnTheView();
    void appendKeepsTheNewestTextWithTheCaretAtTheEnd_data();
    void appendKeepsTheNewestTextWithTheCaretAtTheEnd();
    void contextMenuCopiesWhileCtrlCGoesToThePort();

    void operatorCloseHidesAndRecordsNotOpen();
    void shutdownWithTerminalShowingRecordsOpen();
    void placeAndSizeComeBackFromSectionTerminal();
    void minimisedTerminalAtCloseKeepsThePreviousPlace();
    void activationBringsTheWindowBackOnScreen();
    void programEndRecordsWhetherTheTerminalWasShowing_data();
    void programEndRecordsWhetherTheTerminalWasShowing();

private:
    static void closeByOperator(TerminalForm &terminal);
    static QString stored(const QString &key);
    QTemporaryDir m_folder;
};

void TestTerminalForm::initTestCase()
{
    QVERIFY(m_folder.isValid());
    useTemporarySettings(m_folder.path());
}

void TestTerminalForm::init()
{
    QSettings().clear();
}

// The window system's close command, as the operator gives it with the title bar.
void TestTerminalForm::closeByOperator(TerminalForm &terminal)
{
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    // notify() delivers it as it stands; sendEvent() would take the spontaneous mark off.
    QCoreApplication::instance()->notify(&terminal, &close);
}

QString TestTerminalForm::stored(const QString &key)
{
    return QSettings().value(QStringLiteral("Terminal/") + key).toString();
}

void TestTerminalForm::typedCharactersGoToThePortOnly_data()
{
    QTest::addColumn<QTestEventList>("keys");
    QTest::addColumn<QByteArray>("sent");

    QTestEventList command;
    command.addKeyClicks(QStringLiteral("st"));
    command.addKeyClick(Qt::Key_Return);
    QTest::newRow("st and Enter") << command << QByteArray("st\r");
    QTestEventList mixed;
    mixed.addKeyClicks(QStringLiteral("Dir /V,1?"));
    QTest::newRow("capitals, digits, punctuation") << mixed << QByteArray("Dir /V,1?");
    QTestEventList keypadEnter;
    keypadEnter.addKeyClick(Qt::Key_Enter, Qt::KeypadModifier);
    QTest::newRow("keypad Enter") << keypadEnter << QByteArray("\r");

    const struct {
        const char *name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        char byte;
    } single[] = {
        {"Backspace", Qt::Key_Backspace, Qt::NoModifier, 8},
        {"Escape", Qt::Key_Escape, Qt::NoModifier, 27},
        {"Tab", Qt::Key_Tab, Qt::NoModifier, 9},
        {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, 1},
        {"Ctrl+C", Qt::Key_C, Qt::ControlModifier, 3},
        {"Ctrl+V", Qt::Key_V, Qt::ControlModifier, 22},
        {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, 26},
        {"Ctrl+Shift+Z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, 26},
    };
    for (const auto &row : single) {
        QTestEventList keys;
        keys.addKeyClick(row.key, row.modifiers);
        QTest::newRow(row.name) << keys << QByteArray(1, row.byte);
    }
}

void TestTerminalForm::typedCharactersGoToThePortOnly()
{
    QFETCH(QTestEventList, keys);
    QFETCH(QByteArray, sent);
    MemoryCommPort port;
    QVERIFY(port.open());
    TerminalForm terminal;
    terminal.setPort(&port);
    terminal.appendDisplay(QStringLiteral("Orvantis>"));

    keys.simulate(terminal.Text());

    QCOMPARE(port.written(), sent);
    QCOMPARE(terminal.terminalText().text(), QStringLiteral("Orvantis>"));
    QCOMPARE(terminal.Text()->toPlainText(), QStringLiteral("Orvantis>"));
}

void TestTerminalForm::typingOnAClosedPortSendsNothing()
{
    TerminalForm unwired;
    QTest::keyClicks(unwired.Text(), QStringLiteral("st\r"));
    QVERIFY(unwired.Text()->toPlainText().isEmpty());

    MemoryCommPort port;
    TerminalForm terminal;
    terminal.setPort(&port);
    QTest::keyClicks(terminal.Text(), QStringLiteral("st"));
    QTest::keyClick(terminal.Text(), Qt::Key_Return);
    QTest::keyClick(terminal.Text(), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(port.written().isEmpty());
    QVERIFY(terminal.Text()->toPlainText().isEmpty());
}

void TestTerminalForm::keysWithoutCharacterActOnTheView_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("caretMoves");
    QTest::newRow("Up") << int(Qt::Key_Up) << Qt::KeyboardModifiers() << true;
    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << Qt::KeyboardModifiers() << true;
    QTest::newRow("Home") << int(Qt::Key_Home) << Qt::KeyboardModifiers() << true;
    QTest::newRow("Ctrl+Home") << int(Qt::Key_Home) << Qt::KeyboardModifiers(Qt::ControlModifier)
                               << true;
    QTest::newRow("Shift+Up") << int(Qt::Key_Up) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                              << true;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << Qt::KeyboardModifiers() << false;
    QTest::newRow("F1") << int(Qt::Key_F1) << Qt::KeyboardModifiers() << false;
    QTest::newRow("Shift") << int(Qt::Key_Shift) << Qt::KeyboardModifiers() << false;
}

void TestTerminalForm::keysWithoutCharacterActOnTheView()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, caretMoves);
    MemoryCommPort port;
    QVERIFY(port.open());
    TerminalForm terminal;
    terminal.setPort(&port);
    QString lines;
    for (int i = 0; i < 200; ++i)
        lines += QStringLiteral("line %1\r\n").arg(i);
    lines += QStringLiteral("Orvantis>");
    terminal.appendDisplay(lines);
    terminal.show();
    QVERIFY(QTest::qWaitForWindowExposed(&terminal));
    const QString shown = terminal.Text()->toPlainText();
    const int caret = terminal.Text()->textCursor().position();

    QTest::keyClick(terminal.Text(), Qt::Key(key), modifiers);

    QVERIFY(port.written().isEmpty());
    QCOMPARE(terminal.Text()->toPlainText(), shown);
    QCOMPARE(terminal.Text()->textCursor().position() != caret, caretMoves);
    // The view follows the caret.
    QVERIFY(terminal.Text()->viewport()->rect().intersects(terminal.Text()->cursorRect()));
}

void TestTerminalForm::appendKeepsTheNewestTextWithTheCaretAtTheEnd_data()
{
    // The text keeps what stands from its 16000th character on, then the piece; never more
    // than 32000 characters.
    QTest::addColumn<int>("oldLength");
    QTest::addColumn<int>("pieceLength");
    QTest::addColumn<int>("kept");
    QTest::newRow("10 short of the limit") << 31990 << 20 << 16011;
    QTest::newRow("exactly the limit") << 31980 << 20 << 32000;
    QTest::newRow("cut leaves the piece whole") << 20000 << 20000 << 24001;
    QTest::newRow("cut still too long") << 31990 << 31000 << 32000;
    QTest::newRow("one piece too long") << 0 << 32001 << 32000;
}

void TestTerminalForm::appendKeepsTheNewestTextWithTheCaretAtTheEnd()
{
    QFETCH(int, oldLength);
    QFETCH(int, pieceLength);
    QFETCH(int, kept);
    TerminalForm terminal;
    QString old;
    for (int i = 0; i < oldLength; ++i)
        old += QChar(u'a' + i % 26);
    terminal.appendDisplay(old);
    QString piece;
    for (int i = 0; i < pieceLength; ++i)
        piece += QChar(u'A' + i % 26);

    terminal.appendDisplay(piece);

    const QString expected = (old + piece).right(kept);
    QCOMPARE(terminal.terminalText().text(), expected);
    // A long piece right after another is a stream: the view catches up within a second.
    QTRY_COMPARE(terminal.Text()->toPlainText(), expected);
    QVERIFY(terminal.Text()->textCursor().atEnd());
}

void TestTerminalForm::contextMenuCopiesWhileCtrlCGoesToThePort()
{
    MemoryCommPort port;
    QVERIFY(port.open());
    TerminalForm terminal;
    terminal.setPort(&port);
    terminal.appendDisplay(QStringLiteral("st:1011\r\n"));
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));
    QCOMPARE(terminal.Text()->contextMenuPolicy(), Qt::ActionsContextMenu);
    QVERIFY(terminal.Text()->actions().contains(terminal.copyAction()));
    QVERIFY(terminal.Text()->actions().contains(terminal.selectAllAction()));
    QVERIFY(!terminal.copyAction()->isEnabled());

    terminal.selectAllAction()->trigger();
    QVERIFY(terminal.copyAction()->isEnabled());
    QTest::keyClick(terminal.Text(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(port.written(), QByteArray("\x03"));
    QCOMPARE(clipboard->text(), QStringLiteral("before"));

    terminal.copyAction()->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("st:1011\n"));
}

void TestTerminalForm::operatorCloseHidesAndRecordsNotOpen()
{
    TerminalForm terminal;
    terminal.appendDisplay(QStringLiteral("Orvantis>"));
    terminal.show();
    QVERIFY(QTest::qWaitForWindowExposed(&terminal));

    closeByOperator(terminal);
    QVERIFY(!terminal.isVisible());
    QCOMPARE(stored(QStringLiteral("Open")), QStringLiteral("False"));
    QCOMPARE(terminal.terminalText().text(), QStringLiteral("Orvantis>"));

    // The program ends later: the terminal was not showing, so it stays closed next time.
    terminal.close();
    QCOMPARE(stored(QStringLiteral("Open")), QStringLiteral("False"));
}

void TestTerminalForm::shutdownWithTerminalShowingRecordsOpen()
{
    TerminalForm terminal;
    terminal.show();
    QVERIFY(QTest::qWaitForWindowExposed(&terminal));
    QVERIFY(terminal.close());
    QCOMPARE(stored(QStringLiteral("Open")), QStringLiteral("True"));
    QVERIFY(!stored(QStringLiteral("Top")).isEmpty());
    QVERIFY(!stored(QStringLiteral("Width")).isEmpty());

    TerminalForm neverShown;
    QVERIFY(neverShown.close());
    QCOMPARE(stored(QStringLiteral("Open")), QStringLiteral("False"));
}

void TestTerminalForm::placeAndSizeComeBackFromSectionTerminal()
{
    const QRect place(QPoint(120, 90), QSize(500, 300));
    {
        TerminalForm terminal;
        terminal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&terminal));
        terminal.move(place.topLeft());
        terminal.resize(place.size());
        QTRY_COMPARE(terminal.pos(), place.topLeft());
        closeByOperator(terminal);
    }
    // 15 twips per pixel at 96 dpi.
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    QCOMPARE(stored(QStringLiteral("Left")), Twips::toText(Twips::fromPixels(120, dpi)));
    QCOMPARE(stored(QStringLiteral("Height")), Twips::toText(Twips::fromPixels(300, dpi)));

    TerminalForm again;
    QCOMPARE(again.pos(), place.topLeft());
    QCOMPARE(again.size(), place.size());
}

void TestTerminalForm::minimisedTerminalAtCloseKeepsThePreviousPlace()
{
    {
        TerminalForm terminal;
        terminal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&terminal));
        terminal.move(100, 80);
        QTRY_COMPARE(terminal.pos(), QPoint(100, 80));
        terminal.close();
    }
    {
        TerminalForm terminal;
        terminal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&terminal));
        terminal.move(300, 200);
        QTRY_COMPARE(terminal.pos(), QPoint(300, 200));
        terminal.showMinimized();
        QVERIFY(terminal.windowState() & Qt::WindowMinimized);
        terminal.close();
        QCOMPARE(stored(QStringLiteral("Open")), QStringLiteral("True"));
    }
    TerminalForm next;
    QCOMPARE(next.pos(), QPoint(100, 80));
}

void TestTerminalForm::activationBringsTheWindowBackOnScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    const float screenHeight = Twips::fromPixels(screen.height(), dpi);
    const int expectedTop =
        Twips::toPixels(static_cast<float>(0.9 * double(screenHeight)), dpi) + screen.top();
    QSettings().setValue(QStringLiteral("Terminal/Top"), Twips::toText(0.95f * screenHeight));

    TerminalForm terminal;
    QCOMPARE(terminal.pos().y(), expectedTop);
    terminal.show();
    QVERIFY(QTest::qWaitForWindowExposed(&terminal));
    terminal.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&terminal));

    // Moved away while active, then activated again.
    terminal.move(-40, screen.top() + screen.height() - 5);
    QTRY_COMPARE(terminal.pos(), QPoint(-40, screen.top() + screen.height() - 5));
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    terminal.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&terminal));
    QTRY_COMPARE(terminal.pos(), QPoint(screen.left(), expectedTop));
}

void TestTerminalForm::programEndRecordsWhetherTheTerminalWasShowing_data()
{
    QTest::addColumn<bool>("show");
    QTest::addColumn<bool>("closeByOperator");
    QTest::addColumn<QString>("open");
    QTest::newRow("showing") << true << false << "True";
    QTest::newRow("closed by the operator first") << true << true << "False";
    QTest::newRow("never shown") << false << false << "False";
}

void TestTerminalForm::programEndRecordsWhetherTheTerminalWasShowing()
{
    QFETCH(bool, show);
    QFETCH(bool, closeByOperator);
    QFETCH(QString, open);
    ProgramState state;
    MemoryCommPort port;
    ScriptedOperator dialogs;
    TerminalForm terminal;
    terminal.setPort(&port);
    MainForm form(state, port, dialogs, terminal);
    form.show();
    if (show) {
        form.ShowTerminal();
        QVERIFY(QTest::qWaitForWindowExposed(&terminal));
    }
    if (closeByOperator)
        TestTerminalForm::closeByOperator(terminal);

    QVERIFY(form.close());

    QCOMPARE(stored(QStringLiteral("Open")), open);
    QCOMPARE(TerminalOpenSetting::wasOpen(), open == QLatin1String("True"));
    QVERIFY(!terminal.isVisible());
}

QTEST_MAIN(TestTerminalForm)
#include "tst_terminalform.moc"
