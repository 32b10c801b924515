#include "ui/calcheck/CalCheckProgressWindow.h"

#include <QLabel>
#include <QProgressBar>

CalCheckProgressWindow::CalCheckProgressWindow(QWidget *owner) : m_form(new ProgressForm(owner))
{
    m_form->setAttribute(Qt::WA_DeleteOnClose, false);
}

CalCheckProgressWindow::~CalCheckProgressWindow()
{
    delete m_form.data();
}

QProgressBar *CalCheckProgressWindow::barOf(Bar bar) const
{
    if (!m_form)
        return nullptr;
    return bar == ProgressBar ? m_form->ProgressBar : m_form->ProgressBar2;
}

void CalCheckProgressWindow::setTitle(const QString &title)
{
    if (m_form)
        m_form->setWindowTitle(title);
}

void CalCheckProgressWindow::show()
{
    if (m_form)
        m_form->show();
}

void CalCheckProgressWindow::hide()
{
    if (m_form)
        m_form->hide();
}

void CalCheckProgressWindow::setMessage(const QString &message)
{
    if (m_form)
        m_form->MsgLabel->setText(message);
}

void CalCheckProgressWindow::setMinimum(Bar bar, int value)
{
    if (QProgressBar *b = barOf(bar))
        b->setMinimum(value);
}

void CalCheckProgressWindow::setMaximum(Bar bar, int value)
{
    if (QProgressBar *b = barOf(bar))
        b->setMaximum(value);
}

void CalCheckProgressWindow::setValue(Bar bar, int value)
{
    if (QProgressBar *b = barOf(bar))
        b->setValue(value);
}

void CalCheckProgressWindow::setBarVisible(Bar bar, bool visible)
{
    if (QProgressBar *b = barOf(bar))
        b->setVisible(visible);
}

bool CalCheckProgressWindow::CancelFlag() const
{
    return !m_form || m_form->CancelFlag;
}

void CalCheckProgressWindow::setCancelFlag(bool raised)
{
    if (m_form)
        m_form->CancelFlag = raised;
}
