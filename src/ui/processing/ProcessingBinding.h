#pragma once

#include "ui/processing/ProcessingForm.h"

#include <QObject>
#include <QPointer>

class InstrumentSession;
class QAction;
class QMenu;
class QWidget;

// Offers the remote processing window in the main window's "Orvantis" menu. The item is
// enabled whenever that menu is; the window exists once and is made anew after a close.
class ProcessingBinding : public QObject
{
    Q_OBJECT
public:
    ProcessingBinding(InstrumentSession &session, QMenu *OrvantisMenu, QWidget *window);

    QAction *ProcessingMenuItem() const { return m_menuItem; }
    // The open window; null when it is closed.
    ProcessingForm *processingForm() const { return m_window; }

public slots:
    // Shows the window, creating it (and mounting the instrument's disk) when needed.
    void showProcessing();

private:
    InstrumentSession &m_session;
    QWidget *m_mainWindow;
    QAction *m_menuItem = nullptr;
    QPointer<ProcessingForm> m_window;
};
