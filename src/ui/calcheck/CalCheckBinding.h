#pragma once

#include "features/calcheck/CalCheck.h"

#include <QObject>
#include <memory>

class InstrumentSession;
class OperatorDialogs;
class QWidget;
class SamplingBinding;
class StatusBinding;

// Runs the cal check for "Collect Cal Check Data...", with the main window's OpenNewFile and
// status panels and a progress window owned by `window`.
class CalCheckBinding : public QObject
{
    Q_OBJECT
public:
    CalCheckBinding(InstrumentSession &session, OperatorDialogs &dialogs, SamplingBinding &sampling,
                    StatusBinding &status, QWidget *window);

    CalCheck &calCheck() { return *m_calCheck; }

public slots:
    void run() { m_calCheck->run(); }

private:
    std::unique_ptr<CalCheck> m_calCheck;
};
