#pragma once

#include "ui/eventlog/EventLogWindow.h"

#include <QObject>
#include <QPointer>

class EventLog;
class MainForm;
class QAction;

// "Event Log..." in the "Communication" menu (EventLogMenuItem): opens the event log's
// window, built the first time it is asked for and owned by the main window, whose closing
// keeps the window's place.
class EventLogBinding : public QObject
{
    Q_OBJECT
public:
    EventLogBinding(EventLog &log, MainForm &form);

    QAction *menuItem() const { return m_menuItem; }
    // Null until the window is first opened.
    EventLogWindow *window() const { return m_window; }
    void showWindow();

private:
    EventLog &m_log;
    MainForm &m_form;
    QAction *m_menuItem;
    QPointer<EventLogWindow> m_window;
};
