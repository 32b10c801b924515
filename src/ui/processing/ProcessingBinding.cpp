#include "ui/processing/ProcessingBinding.h"

#include "ui/processing/ProcessingForm.h"

#include <QAction>
#include <QMenu>

ProcessingBinding::ProcessingBinding(InstrumentSession &session, QMenu *OrvantisMenu,
                                     QWidget *window)
    : QObject(window), m_session(session), m_mainWindow(window)
{
    QMenu *menu = OrvantisMenu;
    m_menuItem = menu->addAction(tr("Remote Processing..."));
    m_menuItem->setObjectName(QStringLiteral("ProcessingMenuItem"));
    // The status governs the menu as a whole; the item follows it so that a shortcut or a
    // torn-off menu cannot reach it when the rest of the menu is off.
    QAction *governing = menu->menuAction();
    m_menuItem->setEnabled(governing->isEnabled());
    connect(governing, &QAction::enabledChanged, m_menuItem, &QAction::setEnabled);
    connect(m_menuItem, &QAction::triggered, this, &ProcessingBinding::showProcessing);
}

void ProcessingBinding::showProcessing()
{
    if (!m_window)
        m_window = new ProcessingForm(m_session, m_mainWindow->windowIcon(), m_mainWindow);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
