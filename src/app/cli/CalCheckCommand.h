#pragma once

#include "app/cli/ExitStatus.h"

class CliOutput;
class CommandLine;
struct CliContext;

// The guided cal check without a person: --yes gives the operator's answers, -o FILE the
// file. Without --yes the command says what the procedure would ask, and sends nothing.
namespace CalCheckCommand
{
ExitStatus check(const CommandLine &line, CliOutput &output);
ExitStatus run(CliContext &context);
} // namespace CalCheckCommand
