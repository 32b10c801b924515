#pragma once

#include "app/cli/ExitStatus.h"

class CliOutput;
class CommandLine;
struct CliContext;

// The commands about the instrument itself: where it is, what it is, its state, its clock,
// its rate, and a command line of one's own.
namespace InstrumentCommands
{
ExitStatus find(CliContext &context);
ExitStatus info(CliContext &context);
ExitStatus status(CliContext &context);

ExitStatus checkClock(const CommandLine &line, CliOutput &output);
ExitStatus clock(CliContext &context);

ExitStatus checkBaud(const CommandLine &line, CliOutput &output);
ExitStatus baud(CliContext &context);

ExitStatus checkSend(const CommandLine &line, CliOutput &output);
ExitStatus send(CliContext &context);
} // namespace InstrumentCommands
