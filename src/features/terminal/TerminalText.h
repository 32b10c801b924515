#pragma once

#include <QString>

// The terminal window's text: what the receive loop shows of the serial traffic. When an
// addition would take it past kMaxLength, the text keeps what stands from its kKeepFrom-th
// character on (the first kKeepFrom - 1 go), followed by the addition; and it never ends
// longer than kMaxLength, whatever came before, so one large run does not slow every run
// after it.
class TerminalText
{
public:
    static constexpr int kMaxLength = 32000;
    static constexpr int kKeepFrom = kMaxLength / 2;

    void append(const QString &display);
    const QString &text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }
    void clear() { m_text.clear(); }

private:
    QString m_text;
};
