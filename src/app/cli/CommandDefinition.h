#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// An option of the command line: its names ("o", "output": -o and --output), what it does,
// and the name of its value (empty for a switch).
struct CliOption {
    QStringList names;
    QString description;
    QString valueName;
};

// One command of the command line: its name, what it takes, and the text of its help.
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
};

// Every command, in the order the help lists them.
const QList<CommandDefinition> &commandDefinitions();
// The command of that name; nullptr when there is none.
const CommandDefinition *findCommand(const QString &name);
