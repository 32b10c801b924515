#include "features/terminal/TerminalKeys.h"

#include <QTest>

// What the system reports for a key differs between platforms (Ctrl+A comes with text
// "\x01" on some, "a" on others, none on yet others); the bytes sent must not.
class TestTerminalKeys : public QObject
{
    Q_OBJECT
private slots:
    void bytesForKey_data();
    void bytesForKey();
};

void TestTerminalKeys::bytesForKey_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers ctrl(Qt::ControlModifier);
    const Qt::KeyboardModifiers shift(Qt::ShiftModifier);
    const Qt::KeyboardModifiers altGr(Qt::ControlModifier | Qt::AltModifier);

    QTest::newRow("letter") << int(Qt::Key_S) << none << "s" << QByteArray("s");
    QTest::newRow("capital") << int(Qt::Key_S) << shift << "S" << QByteArray("S");
    QTest::newRow("Latin-1 letter")
        << int(Qt::Key_Eacute) << none << QStringLiteral("\u00e9") << QByteArray("\xe9");
    QTest::newRow("beyond the 8-bit set")
        << int(Qt::Key_unknown) << none << QStringLiteral("\u20ac") << QByteArray("?");
    QTest::newRow("Enter without text") << int(Qt::Key_Return) << none << "" << QByteArray("\r");
    QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << ctrl << "" << QByteArray("\n");
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << "\b" << QByteArray("\b");
    QTest::newRow("Escape") << int(Qt::Key_Escape) << none << "" << QByteArray("\x1b");
    QTest::newRow("Ctrl+A with text a") << int(Qt::Key_A) << ctrl << "a" << QByteArray("\x01");
    QTest::newRow("Ctrl+C without text") << int(Qt::Key_C) << ctrl << "" << QByteArray("\x03");
    QTest::newRow("Ctrl+Z as control text")
        << int(Qt::Key_Z) << ctrl << "\x1a" << QByteArray("\x1a");
    QTest::newRow("Ctrl+[ as Escape")
        << int(Qt::Key_BracketLeft) << ctrl << "\x1b" << QByteArray("\x1b");
    QTest::newRow("Ctrl+1") << int(Qt::Key_1) << ctrl << "1" << QByteArray();
    QTest::newRow("AltGr character") << int(Qt::Key_Q) << altGr << "@" << QByteArray("@");
    QTest::newRow("Alt+F for the menu")
        << int(Qt::Key_F) << Qt::KeyboardModifiers(Qt::AltModifier) << "f" << QByteArray();
    QTest::newRow("Delete with rubout text")
        << int(Qt::Key_Delete) << none << "\x7f" << QByteArray();
    QTest::newRow("arrow") << int(Qt::Key_Down) << none << "" << QByteArray();
    QTest::newRow("function key") << int(Qt::Key_F5) << none << "" << QByteArray();
}

void TestTerminalKeys::bytesForKey()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(TerminalKeys::bytesFor(key, modifiers, text), bytes);
}

QTEST_GUILESS_MAIN(TestTerminalKeys)
#include "tst_terminalkeys.moc"
