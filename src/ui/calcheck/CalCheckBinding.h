#pragma once

#include "features/calcheck/CalCheck.h"

#include <QObject>
#include <memory>

class MainForm;
class OperatorDialogs;
class SamplingBinding;
class StatusBinding;

// Runs the cal check from the main window's "Collect Cal Check Data..." item.
class CalCheckBinding : public QObject
{
    Q_OBJECT
public:
    CalCheckBinding(MainForm &form, OperatorDialogs &dialogs, SamplingBinding &sampling,
                    StatusBinding &status);

    CalCheck &calCheck() { return *m_calCheck; }

private:
    std::unique_ptr<CalCheck> m_calCheck;
};
