#include "ui/terminal/TerminalForm.h"

#include "features/terminal/TerminalKeys.h"
#include "session/Line.h"
#include "support/SettingsKeys.h"
#include "support/TerminalOpenSetting.h"
#include "ui/widgets/FormSettings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace
{
// Interior of 9555 x 5415 twips at 15 twips per pixel.
constexpr int kWidth = 637;
constexpr int kHeight = 361;
// A run this long is a stream, not an echo or a reply.
constexpr qsizetype kStreamRun = 512;
constexpr qint64 kCatchUpMs = 1000;

QFont terminalFont()
{
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(9.75);
    return font;
}
} // namespace

TerminalForm::TerminalForm(QWidget *parent)
    : QMainWindow(parent), m_view(new QPlainTextEdit(this)),
      m_copyAction(new QAction(tr("Copy"), m_view)),
      m_selectAllAction(new QAction(tr("Select All"), m_view))
{
    setObjectName(QStringLiteral("TerminalForm"));
    setWindowTitle(tr("Orvantis Console Terminal"));
    m_catchUp.setSingleShot(true);
    connect(&m_catchUp, &QTimer::timeout, this, &TerminalForm::showText);
    // The main window carries the application's icon; this window shows the same.
    setWindowIcon(QApplication::windowIcon());

    m_view->setObjectName(QStringLiteral("Text"));
    // Only the receive loop writes the text; the operator can still move the caret,
    // select and scroll.
    m_view->setReadOnly(true);
    m_view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_view->setFont(terminalFont());
    m_view->installEventFilter(this);
    // The view fills the interior at every size.
    setCentralWidget(m_view);
    setFocusProxy(m_view);

    m_copyAction->setObjectName(QStringLiteral("CopyAction"));
    m_copyAction->setEnabled(false);
    m_selectAllAction->setObjectName(QStringLiteral("SelectAllAction"));
    connect(m_copyAction, &QAction::triggered, m_view, &QPlainTextEdit::copy);
    connect(m_selectAllAction, &QAction::triggered, m_view, &QPlainTextEdit::selectAll);
    connect(m_view, &QPlainTextEdit::copyAvailable, m_copyAction, &QAction::setEnabled);
    m_view->addAction(m_copyAction);
    m_view->addAction(m_selectAllAction);
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);

    resize(kWidth, kHeight);
    RestoreFormPosition(this, SettingsKeys::kTerminalSection);
}

void TerminalForm::appendDisplay(const QString &display)
{
    if (display.isEmpty())
        return;
    const qsizetype before = m_text.text().size();
    m_text.append(display);
    if (m_text.text().size() != before + display.size())
        m_shown = -1;
    // A stream (runs of many characters, one after another) is shown once a second; an
    // echo or a reply at once.
    const bool streaming = display.size() >= kStreamRun && m_sinceShown.isValid() &&
                           m_sinceShown.elapsed() < kCatchUpMs;
    if (!streaming)
        showText();
    else if (!m_catchUp.isActive())
        m_catchUp.start(int(kCatchUpMs - m_sinceShown.elapsed()));
}

void TerminalForm::showText()
{
    m_catchUp.stop();
    m_sinceShown.start();
    const QString &text = m_text.text();
    if (m_shown == text.size())
        return;
    if (m_shown < 0) {
        // The front half was dropped: show the kept text afresh.
        m_view->setPlainText(text);
    } else {
        QTextCursor end(m_view->document());
        end.movePosition(QTextCursor::End);
        end.insertText(text.mid(m_shown));
    }
    m_shown = text.size();
    m_view->moveCursor(QTextCursor::End);
    m_view->ensureCursorVisible();
}

bool TerminalForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && handleKey(event))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

// Sees each key before the view does: a key with a character goes to the port and no
// further, whatever shortcut or editing action the view would have made of it.
bool TerminalForm::handleKey(QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const QByteArray bytes = TerminalKeys::bytesFor(key->key(), key->modifiers(), key->text());
    if (bytes.isEmpty())
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Claimed, so that it arrives here as a key press rather than as a shortcut.
        event->accept();
        return true;
    }
    if (m_line && m_line->portOpen())
        m_line->write(bytes);
    return true;
}

void TerminalForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
        !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        KeepFormOnScreen(this);
}

void TerminalForm::showEvent(QShowEvent *event)
{
    m_everShown = true;
    QMainWindow::showEvent(event);
}

void TerminalForm::closeEvent(QCloseEvent *event)
{
    // A window never shown has no place of its own yet: the last stored one stands.
    if (m_everShown)
        SaveFormPosition(this, SettingsKeys::kTerminalSection);
    // The window system's close command is the operator's: the window, its text and its
    // place survive. Any other close is the program's.
    if (event->spontaneous()) {
        event->ignore();
        hide();
    } else {
        event->accept();
    }
    TerminalOpenSetting::save(isVisible());
}
