#pragma once

#include "features/sampling/DataFileController.h"
#include "features/sampling/SamplingController.h"
#include "ui/mainwindow/MainFormControls.h"

#include <QObject>

class InstrumentSession;
class OperatorDialogs;

// Ties the Sampling and Save to File panels of the main window to their logic.
class SamplingBinding : public QObject
{
    Q_OBJECT
public:
    SamplingBinding(InstrumentSession &session, const MainFormControls &controls,
                    OperatorDialogs &dialogs, QObject *parent = nullptr);

    // Opens a new data file after asking the operator (the main window's OpenNewFile).
    int OpenNewFile() { return m_files.OpenNewFile(); }
    SamplingSettings settings() const;

private:
    void showSavingWarning(bool on);

    const MainFormControls &m_controls;
    SamplingController m_sampling;
    DataFileController m_files;
};
