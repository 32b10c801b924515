#include "ui/eventlog/EventLogBinding.h"

#include "ui/mainwindow/MainForm.h"

#include <QAction>
#include <QMenu>

EventLogBinding::EventLogBinding(EventLog &log, MainForm &form)
    : QObject(&form), m_log(log), m_form(form),
      m_menuItem(form.controls().CommunicationMenu->addAction(tr("Event Log...")))
{
    m_menuItem->setObjectName(QStringLiteral("EventLogMenuItem"));
    connect(m_menuItem, &QAction::triggered, this, &EventLogBinding::showWindow);
    // The program's end closes no other window: the place is kept here.
    connect(&form, &MainForm::closing, this, [this] {
        if (m_window && m_window->isVisible())
            m_window->savePosition();
    });
}

void EventLogBinding::showWindow()
{
    if (!m_window)
        m_window = new EventLogWindow(m_log, &m_form);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
