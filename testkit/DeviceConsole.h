#pragma once

#include "app/ConsoleBinding.h"
#include "link/QtCommPort.h"
#include "testkit/ScriptedOperator.h"
#include "testkit/SimProcess.h"

#include <QByteArray>
#include <QString>

// The whole program over one orvantis-sim's pseudo-terminal (port 1), with a scripted
// operator unless the test brings its own.
class DeviceConsole
{
public:
    explicit DeviceConsole(const QString &device, OperatorDialogs *dialogs = nullptr);

    // The connection search, as the "Connecting" dialog runs it.
    bool connect() { return binding.search.SearchForInstrument(); }
    // Turns "Automatic status updates" off (as the operator's click), so that only the test
    // talks to the instrument.
    void stopPolling();

    const MainFormControls &controls() const { return binding.form.controls(); }
    int status() const { return binding.form.Status(); }

    // The whole of a file; empty when it cannot be read.
    static QByteArray fileBytes(const QString &path);

    ScriptedOperator scripted;
    QtCommPort comm;
    ConsoleBinding binding;
};
