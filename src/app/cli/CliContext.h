#pragma once

#include "app/cli/SignalWatch.h"

#include <functional>

class CliOutput;
class CommandLine;
class CommandLineDialogs;
class InstrumentSession;

// What a command runs with: its command line, the connected session, the operator as the
// command line stands for one, the output, and the signals that end it.
struct CliContext {
    const CommandLine &line;
    InstrumentSession &session;
    CommandLineDialogs &dialogs;
    CliOutput &output;
    const SignalWatch &signalWatch;
    // What the first SIGINT, SIGTERM or SIGPIPE does to the command under way. Unless a command
    // says otherwise, the session ends as for an exit: the stop the operation declared goes to the
    // Orvantis and the port closes, so that every wait ends at once.
    std::function<void()> onInterrupt;

    bool interrupted() const { return signalWatch.count() > 0; }
};
