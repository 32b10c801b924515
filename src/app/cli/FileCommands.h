#pragma once

#include "app/cli/ExitStatus.h"

class CliOutput;
class CommandLine;
struct CliContext;

// The instrument's memory: list, download, upload and delete, with the file manager's rules.
namespace FileCommands
{
ExitStatus list(CliContext &context);

ExitStatus checkGet(const CommandLine &line, CliOutput &output);
ExitStatus get(CliContext &context);

ExitStatus checkPut(const CommandLine &line, CliOutput &output);
ExitStatus put(CliContext &context);

ExitStatus checkRemove(const CommandLine &line, CliOutput &output);
ExitStatus remove(CliContext &context);
} // namespace FileCommands
