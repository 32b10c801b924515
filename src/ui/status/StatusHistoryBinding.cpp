#include "ui/status/StatusHistoryBinding.h"

#include "features/status/StatusMonitor.h"
#include "session/InstrumentSession.h"
#include "ui/status/StatusHistoryWindow.h"

#include <QAction>
#include <QMenu>

StatusHistoryBinding::StatusHistoryBinding(StatusMonitor &status, const InstrumentSession &session,
                                           OperatorDialogs &dialogs, QMenu *CommunicationMenu,
                                           QWidget *window)
    : QObject(window), m_session(session), m_dialogs(dialogs), m_mainWindow(window),
      m_menuItem(CommunicationMenu->addAction(tr("Status History...")))
{
    m_menuItem->setObjectName(QStringLiteral("StatusHistoryMenuItem"));
    connect(m_menuItem, &QAction::triggered, this, &StatusHistoryBinding::showWindow);
    connect(&status, &StatusMonitor::statusLineSeen, this, [this](const QByteArray &line) {
        m_history.record(line, QDateTime::currentDateTimeUtc());
    });
}

void StatusHistoryBinding::showWindow()
{
    if (!m_window)
        m_window = new StatusHistoryWindow(m_history, m_dialogs, m_mainWindow);
    m_window->setExportFolder(m_session.DefaultDataFolder());
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
