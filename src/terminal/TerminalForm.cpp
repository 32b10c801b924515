#include "TerminalForm.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace
{
// 9555 x 5415 twips at 15 twips per pixel.
constexpr int kWidth = 637;
constexpr int kHeight = 361;
} // namespace

TerminalForm::TerminalForm(QWidget *parent) : QMainWindow(parent), m_view(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("TerminalForm"));
    setWindowTitle(QStringLiteral("Orvantis Console Terminal"));
    m_view->setObjectName(QStringLiteral("Text"));
    m_view->setReadOnly(true);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setCentralWidget(m_view);
    resize(kWidth, kHeight);
}

void TerminalForm::appendDisplay(const QString &display)
{
    if (display.isEmpty())
        return;
    const qsizetype before = m_text.text().size();
    m_text.append(display);
    if (m_text.text().size() == before + display.size()) {
        QTextCursor end(m_view->document());
        end.movePosition(QTextCursor::End);
        end.insertText(display);
    } else {
        // The front half was dropped: show the kept text afresh.
        m_view->setPlainText(m_text.text());
    }
    m_view->moveCursor(QTextCursor::End);
    m_view->ensureCursorVisible();
}
