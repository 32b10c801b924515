#include "ui/processing/ProcessingBinding.h"

#include "ui/mainwindow/MainForm.h"
#include "ui/processing/ProcessingForm.h"

#include <QAction>
#include <QMenu>

#include <memory>

ProcessingBinding::ProcessingBinding(MainForm &form) : QObject(&form), m_form(form)
{
    QMenu *menu = form.controls().OrvantisMenu;
    m_menuItem = menu->addAction(QStringLiteral("Remote Processing..."));
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
    if (!m_window) {
        m_window = new ProcessingForm(m_form.state(), m_form.transaction(), m_form.Comm1(),
                                      m_form.windowIcon(), &m_form);
        holdPollingWhileBusy(m_window);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void ProcessingBinding::holdPollingWhileBusy(ProcessingForm *window)
{
    // Listing and processing never overlap; the hold follows whichever runs, and a window
    // that goes in the middle of one gives its hold back.
    auto held = std::make_shared<bool>(false);
    ProcessingSession *session = &window->session();
    auto follow = [this, session, held] {
        const bool busy = session->isBusy() || session->isProcessing();
        if (busy != *held) {
            *held = busy;
            m_form.holdPolling(busy);
        }
    };
    connect(session, &ProcessingSession::busyChanged, this, follow);
    connect(session, &ProcessingSession::processingChanged, this, follow);
    connect(window, &QObject::destroyed, this, [this, held] {
        if (*held)
            m_form.holdPolling(false);
        *held = false;
    });
}
