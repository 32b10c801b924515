#pragma once

#include "app/cli/ExitStatus.h"

#include <QStringList>

class CliOutput;
class CommandLine;
struct CliContext;

// The whole run of the command line: reads it, checks the command's arguments before any
// port is touched, connects, runs the command and says how it ended.
class CliProgram
{
public:
    explicit CliProgram(const QStringList &arguments) : m_arguments(arguments) {}
    int run();

    // The command's checks that need no instrument; Done when it may go ahead.
    static ExitStatus check(const CommandLine &line, CliOutput &output);
    static ExitStatus runCommand(CliContext &context);

private:
    QStringList m_arguments;
};
