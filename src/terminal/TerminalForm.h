#pragma once

#include "TerminalText.h"

#include <QMainWindow>

class QPlainTextEdit;

// The terminal window: shows what the receive loop hands it of the serial traffic. The
// text is kept whether or not the window is on screen.
class TerminalForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TerminalForm(QWidget *parent = nullptr);

    // Adds one run's display text under the 32000-character rule and scrolls to the end.
    void appendDisplay(const QString &display);
    const TerminalText &terminalText() const { return m_text; }
    QPlainTextEdit *Text() const { return m_view; }

private:
    TerminalText m_text;
    QPlainTextEdit *m_view;
};
