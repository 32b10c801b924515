#pragma once

#include "features/status/StatusHistory.h"
#include "ui/status/StatusHistoryWindow.h"

#include <QObject>
#include <QPointer>

class MainForm;
class OperatorDialogs;
class QAction;
class StatusBinding;

// Keeps the session's status history from every line the status binding is given, and
// opens the "Status History" window from the "Communication" menu (StatusHistoryMenuItem).
// The window is built the first time it is asked for.
class StatusHistoryBinding : public QObject
{
    Q_OBJECT
public:
    StatusHistoryBinding(MainForm &form, StatusBinding &status, OperatorDialogs &dialogs);

    StatusHistory &history() { return m_history; }
    QAction *menuItem() const { return m_menuItem; }
    // Null until the window is first opened.
    StatusHistoryWindow *window() const { return m_window; }
    void showWindow();

private:
    MainForm &m_form;
    OperatorDialogs &m_dialogs;
    StatusHistory m_history;
    QAction *m_menuItem;
    QPointer<StatusHistoryWindow> m_window;
};
