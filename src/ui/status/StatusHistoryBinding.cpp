#include "ui/status/StatusHistoryBinding.h"

#include "ui/mainwindow/MainForm.h"
#include "ui/status/StatusBinding.h"
#include "ui/status/StatusHistoryWindow.h"

#include <QAction>
#include <QMenu>

StatusHistoryBinding::StatusHistoryBinding(MainForm &form, StatusBinding &status,
                                           OperatorDialogs &dialogs)
    : QObject(&form), m_form(form), m_dialogs(dialogs),
      m_menuItem(form.controls().CommunicationMenu->addAction(QStringLiteral("Status History...")))
{
    m_menuItem->setObjectName(QStringLiteral("StatusHistoryMenuItem"));
    connect(m_menuItem, &QAction::triggered, this, &StatusHistoryBinding::showWindow);
    connect(&status, &StatusBinding::statusLineSeen, this, [this](const QByteArray &line) {
        m_history.record(line, QDateTime::currentDateTimeUtc());
    });
}

void StatusHistoryBinding::showWindow()
{
    if (!m_window)
        m_window = new StatusHistoryWindow(m_history, m_dialogs, &m_form);
    m_window->setExportFolder(m_form.state().DefaultDataFolder);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
