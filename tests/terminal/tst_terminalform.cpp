#include "terminal/TerminalForm.h"

#include <QPlainTextEdit>
#include <QTest>

class TestTerminalForm : public QObject
{
    Q_OBJECT
private slots:
    void showsWhatIsAppendedWithTheCaretAtTheEnd();
    void overflowKeepsTheBackHalfOnScreen();
};

void TestTerminalForm::showsWhatIsAppendedWithTheCaretAtTheEnd()
{
    TerminalForm terminal;
    terminal.appendDisplay(QStringLiteral("Orvantis>st\r\n"));
    terminal.appendDisplay(QStringLiteral("st:1011\r\n"));
    QCOMPARE(terminal.terminalText().text(), QStringLiteral("Orvantis>st\r\nst:1011\r\n"));
    QPlainTextEdit *view = terminal.Text();
    QCOMPARE(view->toPlainText(), QStringLiteral("Orvantis>st\nst:1011\n"));
    QVERIFY(view->isReadOnly());
    QVERIFY(view->textCursor().atEnd());
}

void TestTerminalForm::overflowKeepsTheBackHalfOnScreen()
{
    TerminalForm terminal;
    const QString old = QString(31990, QLatin1Char('a'));
    terminal.appendDisplay(old);
    const QString piece = QString(20, QLatin1Char('b'));
    terminal.appendDisplay(piece);
    const QString expected = old.mid(TerminalText::kMaxLength / 2) + piece;
    QCOMPARE(terminal.terminalText().text(), expected);
    QCOMPARE(terminal.Text()->toPlainText(), expected);
    QVERIFY(terminal.Text()->textCursor().atEnd());
}

QTEST_MAIN(TestTerminalForm)
#include "tst_terminalform.moc"
