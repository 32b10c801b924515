#pragma once

#include "app/cli/CommandDefinition.h"
#include "app/cli/ExitStatus.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringList>

// The command line as the user typed it: the options every command takes (--port, --rate,
// --json, --quiet) anywhere on the line, one command, and that command's own arguments and
// options. Reads it without touching any port.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    // `commands`: what the command line offers (commandTable()).
    explicit CommandLine(const QList<CommandDefinition> &commands) : m_commands(commands) {}

    enum class Outcome {
        Run,  // a command to run
        Help, // help or the version was asked for: print helpText() and end with 0
        Bad   // a usage error: print errorText() and end with 2
    };

    // The words as main() gets them, the program's name first.
    Outcome parse(const QStringList &words);
    QString helpText() const { return m_help; }
    QString errorText() const { return m_error; }

    const CommandDefinition &definition() const { return *m_definition; }
    QString command() const { return m_definition->name; }
    // The command's own arguments, in order.
    QStringList arguments() const { return m_arguments; }
    bool isSet(const QString &option) const;
    QString value(const QString &option) const;

    // --port as typed (a port number 1-16 or a device path); empty without it.
    QString port() const { return m_port; }
    // The port number of --port, or 0 when it names a device.
    int portNumber() const;
    // --rate, or 0 without it.
    int rate() const { return m_rate; }
    bool json() const { return m_json; }
    bool quiet() const { return m_quiet; }

    QString overallHelp() const;
    static QString commandHelp(const CommandDefinition &definition);
    static QString version();

private:
    Outcome bad(const QString &error);
    Outcome help(const QString &text);
    // Reads options and arguments; false with errorText() on an unknown option or a
    // missing value.
    bool readWords(const QStringList &words, const QList<CliOption> &options);
    bool readGlobals();
    const CommandDefinition *findCommand(const QString &name) const;
    QString commandNames() const;

    const QList<CommandDefinition> &m_commands;
    const CommandDefinition *m_definition = nullptr;
    // Each option's values under each of its names; a switch has one empty value.
    QHash<QString, QStringList> m_values;
    QStringList m_arguments;
    QString m_help;
    QString m_error;
    QString m_port;
    int m_rate = 0;
    bool m_json = false;
    bool m_quiet = false;
};
