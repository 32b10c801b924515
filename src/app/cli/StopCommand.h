#pragma once

#include "app/cli/ExitStatus.h"

struct CliContext;

// The stop command: stops whatever the Orvantis is doing (a run left sampling by run
// --detach, or from the console), with three ETX, and tells whether it answered at its
// prompt.
namespace StopCommand
{
// How long the Orvantis may take to show its prompt after the three ETX.
constexpr float kAnswerSeconds = 2.0f;

ExitStatus run(CliContext &context);
} // namespace StopCommand
