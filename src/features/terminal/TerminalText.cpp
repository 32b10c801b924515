#include "features/terminal/TerminalText.h"

void TerminalText::append(const QString &display)
{
    if (m_text.size() + display.size() <= kMaxLength) {
        m_text += display;
        return;
    }
    if (display.size() >= kMaxLength) {
        m_text = display.right(kMaxLength);
        return;
    }
    m_text = m_text.mid(kKeepFrom - 1) + display;
    if (m_text.size() > kMaxLength)
        m_text = m_text.right(kMaxLength);
}
