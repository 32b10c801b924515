#include "features/terminal/TerminalText.h"

void TerminalText::append(const QString &display)
{
    if (m_text.size() + display.size() > kMaxLength)
        m_text = m_text.mid(kMaxLength / 2) + display;
    else
        m_text += display;
}
