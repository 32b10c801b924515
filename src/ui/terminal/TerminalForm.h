#pragma once

#include "features/terminal/TerminalText.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>

class Line;
class QAction;
class QPlainTextEdit;

// The terminal window: shows what the receive loop hands it of the serial traffic, and
// writes every character the operator types straight to the port, outside any command.
// The instrument's echo is what makes typed text visible; typing never changes the text.
//
// The window lives until the program ends. The operator's close command hides it; a close
// by the program (QWidget::close() at shut-down) really closes it. Either way its place
// and size go to section "Terminal", and "Open" records whether it was showing at that
// moment, so it comes back at the next start only when the program ended with it on screen.
class TerminalForm : public QMainWindow
{
    Q_OBJECT
public:
    // Restores the place and size of the last run.
    explicit TerminalForm(QWidget *parent = nullptr);

    // The line typed characters go to; none, a closed port or a line that another
    // operation owns sends nothing.
    void setLine(Line *line) { m_line = line; }

    // Adds one run's display text under the 32000-character rule and scrolls to the end.
    // While the instrument streams, the view catches up with the text once a second:
    // repainting a window full of text costs far more than the text itself.
    void appendDisplay(const QString &display);
    const TerminalText &terminalText() const { return m_text; }
    QPlainTextEdit *Text() const { return m_view; }

    // Context-menu items: with Ctrl+C going to the instrument, copying is offered here.
    QAction *copyAction() const { return m_copyAction; }
    QAction *selectAllAction() const { return m_selectAllAction; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool handleKey(QEvent *event);
    // Brings the view in line with the text.
    void showText();

    TerminalText m_text;
    QPlainTextEdit *m_view;
    QAction *m_copyAction;
    QAction *m_selectAllAction;
    Line *m_line = nullptr;
    bool m_everShown = false;
    // How much of the text the view holds; -1 after a cut, when it must be shown afresh.
    qsizetype m_shown = 0;
    QElapsedTimer m_sinceShown;
    QTimer m_catchUp;
};
