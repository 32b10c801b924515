#pragma once

#include "testkit/MemoryCommPort.h"
#include "testkit/ScriptedOperator.h"
#include "ui/mainwindow/MainForm.h"
#include "ui/status/StatusBinding.h"
#include "ui/terminal/TerminalForm.h"

#include <memory>

// The main window over an in-memory port, with its status panels bound, the port open and
// the link idle: where the window tests of the status display start.
struct StatusFormRig {
    StatusFormRig();

    ProgramState state;
    MemoryCommPort port;
    ScriptedOperator dialogs;
    TerminalForm terminal;
    // Declared last so it goes first: it owns the bindings attached to it.
    std::unique_ptr<MainForm> form;
    StatusBinding *status = nullptr;
};
