#pragma once

#include <QString>

// The terminal window's text: what the receive loop shows of the serial traffic. It never
// grows past kMaxLength by more than one addition: when an addition would overflow, the text
// keeps what stands from position kMaxLength / 2 on.
class TerminalText
{
public:
    static constexpr int kMaxLength = 32000;

    void append(const QString &display);
    const QString &text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }
    void clear() { m_text.clear(); }

private:
    QString m_text;
};
