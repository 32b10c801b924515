#pragma once

#include "app/cli/ExitStatus.h"

#include <QList>
#include <QString>
#include <QStringList>

class CliOutput;
class CommandLine;
struct CliContext;

// An option of the command line: its names ("o", "output": -o and --output), what it does,
// and the name of its value (empty for a switch).
struct CliOption {
    QStringList names;
    QString description;
    QString valueName;
};

// One command of the command line: its name, what it takes, the text of its help, and what
// runs it.
struct CommandDefinition {
    QString name;
    // Its arguments and options as the usage line shows them: "NAME... [-d DIR]".
    QString synopsis;
    // One line for the list of commands.
    QString summary;
    // The paragraph of its own help.
    QString description;
    QString example;
    QList<CliOption> options;
    int minArguments = 0;
    // -1: any number.
    int maxArguments = 0;
    // Its checks that need no instrument (none when null); Done when it may go ahead.
    ExitStatus (*check)(const CommandLine &, CliOutput &) = nullptr;
    // The command itself, on the connected session.
    ExitStatus (*run)(CliContext &) = nullptr;
};
