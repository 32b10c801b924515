#pragma once

#include "app/cli/ExitStatus.h"

#include <QString>

class CliOutput;
class CommandLine;
class InstrumentSession;
struct CliContext;
struct SamplingSettings;

// One sample, and what sample, run and cal-check share: the Sampling panel's choices from
// the options, and the data file named by -o.
namespace SamplingCommands
{
ExitStatus checkSample(const CommandLine &line, CliOutput &output);
ExitStatus sample(CliContext &context);

// The Sampling panel's choices from --average and --flash; Usage when they cannot be sent.
ExitStatus readSettings(const CommandLine &line, CliOutput &output, SamplingSettings *settings);
// -o FILE: Usage when it is required and missing, its folder does not exist, or it holds
// data already and neither --keep (append) nor --force (replace) says what to do with it.
// "-o -" is standard output.
ExitStatus checkOutputFile(const CommandLine &line, CliOutput &output, bool required);
// Opens the session's data file on -o FILE, replaced or (--keep) appended to, or on standard
// output for "-o -"; false (said) when it cannot be opened.
bool openDataFile(InstrumentSession &session, CliOutput &output, const CommandLine &line);
void closeDataFile(InstrumentSession &session);
} // namespace SamplingCommands
