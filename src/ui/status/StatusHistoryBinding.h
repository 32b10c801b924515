#pragma once

#include "features/status/StatusHistory.h"
#include "ui/status/StatusHistoryWindow.h"

#include <QObject>
#include <QPointer>

class InstrumentSession;
class OperatorDialogs;
class QAction;
class QMenu;
class QWidget;
class StatusMonitor;

// Keeps the session's status history from every line the status binding is given, and
// opens the "Status History" window from the "Communication" menu (StatusHistoryMenuItem).
// The window is built the first time it is asked for.
class StatusHistoryBinding : public QObject
{
    Q_OBJECT
public:
    // The menu item goes into `CommunicationMenu`; the window is owned by `window`.
    StatusHistoryBinding(StatusMonitor &status, const InstrumentSession &session,
                         OperatorDialogs &dialogs, QMenu *CommunicationMenu, QWidget *window);

    StatusHistory &history() { return m_history; }
    QAction *menuItem() const { return m_menuItem; }
    // Null until the window is first opened.
    StatusHistoryWindow *window() const { return m_window; }
    void showWindow();

private:
    const InstrumentSession &m_session;
    OperatorDialogs &m_dialogs;
    QWidget *m_mainWindow;
    StatusHistory m_history;
    QAction *m_menuItem;
    QPointer<StatusHistoryWindow> m_window;
};
