#include "app/cli/CalCheckNotes.h"

#include "app/cli/CliOutput.h"

void CalCheckNotes::setMessage(const QString &text)
{
    if (text == m_message)
        return;
    m_message = text;
    m_output.note(text);
}

void CalCheckNotes::setMaximum(Bar bar, int maximum)
{
    if (bar == ProgressBar)
        m_maximum = maximum;
}

void CalCheckNotes::setValue(Bar bar, int value)
{
    if (bar == ProgressBar && m_maximum > 0 && value > 0)
        m_output.progress(tr("%1 of %2").arg(value).arg(m_maximum));
}
