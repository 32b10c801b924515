#include "app/cli/CommandLine.h"

#include "link/PortTable.h"
#include "session/PortSearch.h"
#include "support/Version.h"

namespace
{
const QString kPort = QStringLiteral("port");
const QString kRate = QStringLiteral("rate");
const QString kJson = QStringLiteral("json");
const QString kQuiet = QStringLiteral("quiet");
const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");

QList<CliOption> globalOptions()
{
    return {
        {{kPort},
         CommandLine::tr("Port number 1-16 (ORVANTIS_PORTS, as in the console) or a device such "
                         "as /dev/ttyUSB0. Default: the port of the last connection, then every "
                         "port."),
         QStringLiteral("N|DEVICE")},
        {{kRate},
         CommandLine::tr("The link's rate: 9600, 57600 or 115200; only this rate is tried, on "
                         "the port named or in the search. Default: the rate of the last "
                         "connection, then every rate."),
         QStringLiteral("RATE")},
        {{kJson},
         CommandLine::tr("One JSON document on standard output, whatever the outcome (usage "
                         "errors too), with \"exitStatus\" and, on failure, \"error\"; run "
                         "writes one JSON object per line instead."),
         QString()},
        {{QStringLiteral("q"), kQuiet},
         CommandLine::tr("No progress or notes on standard error."),
         QString()},
        {{QStringLiteral("h"), kHelp}, CommandLine::tr("This help."), QString()},
        {{kVersion}, CommandLine::tr("The program's version."), QString()},
    };
}

const CliOption *optionNamed(const QList<CliOption> &options, const QString &name)
{
    for (const CliOption &option : options) {
        if (option.names.contains(name))
            return &option;
    }
    return nullptr;
}

QString dashed(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// The global options that take a value as the next word.
bool takesNextWord(const QString &word)
{
    return word == QLatin1String("--port") || word == QLatin1String("--rate");
}

// Index of the command word: the first word that is neither an option nor an option's value.
int commandIndex(const QStringList &arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &word = arguments.at(i);
        if (word == QLatin1String("--"))
            return i + 1 < arguments.size() ? i + 1 : -1;
        if (!word.startsWith(QLatin1Char('-')) || word == QLatin1String("-"))
            return i;
        if (takesNextWord(word))
            ++i;
    }
    return -1;
}

// `text` in lines that fit beside `indent` characters, the lines after the first indented
// by as many blanks.
QString wrapped(const QString &text, int indent)
{
    constexpr int kWidth = 79;
    QStringList lines;
    QString line;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && indent + line.size() + 1 + word.size() > kWidth) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    lines << line;
    return lines.join(QLatin1Char('\n') + QString(indent, QLatin1Char(' ')));
}

QString optionLines(const QList<CliOption> &options)
{
    QStringList lines;
    for (const CliOption &option : options) {
        QStringList names;
        for (const QString &name : option.names)
            names << dashed(name);
        QString left = names.join(QStringLiteral(", "));
        if (!option.valueName.isEmpty())
            left += QLatin1Char(' ') + option.valueName;
        const QString start = QStringLiteral("  %1  ").arg(left, -18);
        lines << start + wrapped(option.description, int(start.size()));
    }
    return lines.join(QLatin1Char('\n'));
}

// "--set=VALUE" as two words: --set is a switch whose value, when there is one, is the
// command's argument.
QStringList splitSetValue(QStringList words)
{
    for (int i = 0; i < words.size(); ++i) {
        if (words.at(i).startsWith(QLatin1String("--set="))) {
            const QString value = words.at(i).mid(6);
            words[i] = QStringLiteral("--set");
            words.insert(i + 1, value);
        }
    }
    return words;
}

QString exitStatusText()
{
    return CommandLine::tr(
        "Exit status: 0 done; 1 the Orvantis refused or the operation failed; 2 usage error, "
        "nothing sent;\n3 no Orvantis (not found, port unusable or in use by another program, "
        "connection lost,\nor for run lost longer than --max-outage);\n130 interrupted by SIGINT "
        "or SIGTERM (or standard output closed), after "
        "stopping the Orvantis.");
}
} // namespace

QString CommandLine::version()
{
    return QStringLiteral("orvantis ") + QLatin1String(kProductVersion);
}

const CommandDefinition *CommandLine::findCommand(const QString &name) const
{
    for (const CommandDefinition &definition : m_commands) {
        if (definition.name == name)
            return &definition;
    }
    return nullptr;
}

QString CommandLine::commandNames() const
{
    QStringList names;
    for (const CommandDefinition &definition : m_commands)
        names << definition.name;
    return names.join(QStringLiteral(", "));
}

QString CommandLine::overallHelp() const
{
    QStringList commands;
    for (const CommandDefinition &definition : m_commands)
        commands << QStringLiteral("  %1  %2").arg(definition.name, -10).arg(definition.summary);
    return tr("Usage: orvantis [--port N|DEVICE] [--rate 9600|57600|115200] [--json] [--quiet] "
              "COMMAND [ARGS]\n\n"
              "The Orvantis from the command line, for scripts and unattended collection. It "
              "uses the\nsettings of Orvantis Console: the port and rate of the last "
              "connection are tried first.\n\nCommands:\n%1\n\nOptions:\n%2\n\n%3\n\n"
              "\"orvantis COMMAND --help\" explains a command, with an example.\n")
        .arg(commands.join(QLatin1Char('\n')), optionLines(globalOptions()), exitStatusText());
}

QString CommandLine::commandHelp(const CommandDefinition &definition)
{
    QString text =
        tr("Usage: orvantis [options] %1 %2\n\n%3\n")
            .arg(definition.name, definition.synopsis, wrapped(definition.description, 0));
    if (!definition.options.isEmpty())
        text += tr("\nOptions:\n") + optionLines(definition.options) + QLatin1Char('\n');
    text += tr("\nEvery command also takes --port, --rate, --json and --quiet "
               "(see orvantis --help).\n\nExample:\n  ") +
            definition.example + QLatin1Char('\n');
    return text;
}

CommandLine::Outcome CommandLine::bad(const QString &error)
{
    m_error = error;
    return Outcome::Bad;
}

CommandLine::Outcome CommandLine::help(const QString &text)
{
    m_help = text;
    return Outcome::Help;
}

CommandLine::Outcome CommandLine::parse(const QStringList &words)
{
    QStringList rest = splitSetValue(words);
    // A usage error is a JSON document too when --json is among the options.
    const qsizetype optionsEnd = rest.indexOf(QStringLiteral("--"));
    for (const QString &word : rest.mid(0, optionsEnd < 0 ? rest.size() : optionsEnd))
        m_json = m_json || word == QLatin1String("--json") || word.startsWith("--json=");
    const int at = commandIndex(rest);
    QString name;
    if (at > 0)
        name = rest.takeAt(at);
    const bool helpWord = name == QLatin1String("help");
    if (helpWord && at < rest.size() && !rest.at(at).startsWith(QLatin1Char('-')))
        name = rest.takeAt(at);
    m_definition = findCommand(name);
    QList<CliOption> options = globalOptions();
    if (m_definition)
        options += m_definition->options;
    const bool parsed = readWords(rest.mid(1), options);
    m_json = isSet(kJson);
    m_quiet = isSet(kQuiet);
    if (isSet(kVersion))
        return help(version() + QLatin1Char('\n'));
    // Help about a command that does not exist would hide the mistake.
    if (!m_definition && !name.isEmpty() && !(helpWord && name == QLatin1String("help")))
        return bad(tr("\"%1\" is not a command; \"orvantis --help\" lists them.").arg(name));
    if (helpWord || isSet(kHelp))
        return help(m_definition ? commandHelp(*m_definition) : overallHelp());
    if (name.isEmpty())
        return bad(tr("no command given; the commands: %1 (\"orvantis --help\" "
                      "explains them).")
                       .arg(commandNames()));
    if (!parsed)
        return bad(m_error + tr(" (\"orvantis %1 --help\" explains the command)").arg(name));
    const qsizetype count = arguments().size();
    if (count < m_definition->minArguments)
        return bad(tr("%1 needs %2 (\"orvantis %1 --help\").")
                       .arg(name, m_definition->synopsis.section(QLatin1Char(' '), 0, 0)));
    if (m_definition->maxArguments >= 0 && count > m_definition->maxArguments)
        return bad(tr("%1 does not take \"%2\" (\"orvantis %1 --help\").")
                       .arg(name, arguments().value(m_definition->maxArguments)));
    return readGlobals() ? Outcome::Run : Outcome::Bad;
}

bool CommandLine::readWords(const QStringList &words, const QList<CliOption> &options)
{
    bool optionsEnded = false;
    for (int i = 0; i < words.size(); ++i) {
        const QString &word = words.at(i);
        if (optionsEnded || word == QLatin1String("-") || !word.startsWith(QLatin1Char('-'))) {
            m_arguments << word;
            continue;
        }
        if (word == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        QString name = word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = name.indexOf(QLatin1Char('='));
        const QString attached = equals < 0 ? QString() : name.mid(equals + 1);
        name.truncate(equals < 0 ? name.size() : equals);
        const CliOption *option = optionNamed(options, name);
        if (!option) {
            m_error = tr("unknown option %1").arg(word);
            return false;
        }
        QString value;
        if (option->valueName.isEmpty() && equals >= 0) {
            m_error = tr("%1 takes no value").arg(dashed(name));
            return false;
        }
        if (!option->valueName.isEmpty()) {
            if (equals < 0 && i + 1 >= words.size()) {
                m_error = tr("%1 needs its %2").arg(dashed(name), option->valueName);
                return false;
            }
            value = equals < 0 ? words.at(++i) : attached;
        }
        for (const QString &each : option->names)
            m_values[each] << value;
    }
    return true;
}

bool CommandLine::readGlobals()
{
    m_json = isSet(kJson);
    m_quiet = isSet(kQuiet);
    m_port = value(kPort);
    if (isSet(kPort) && m_port.isEmpty()) {
        m_error = tr("--port needs a port number (1-16) or a device.");
        return false;
    }
    bool isNumber = false;
    const int number = m_port.toInt(&isNumber);
    if (isNumber && (number < PortTable::kFirstPort || number > PortTable::kLastPort)) {
        m_error = tr("--port %1 is not a port number: they go from %2 to %3.")
                      .arg(m_port)
                      .arg(PortTable::kFirstPort)
                      .arg(PortTable::kLastPort);
        return false;
    }
    if (isSet(kRate)) {
        const QString rate = value(kRate);
        if (!PortSearch::kBaudRates.contains(rate)) {
            m_error = tr("--rate %1 is not a rate of the Orvantis: %2.")
                          .arg(rate, PortSearch::kBaudRates.join(QStringLiteral(", ")));
            return false;
        }
        m_rate = rate.toInt();
    }
    return true;
}

int CommandLine::portNumber() const
{
    bool isNumber = false;
    const int number = m_port.toInt(&isNumber);
    return isNumber ? number : 0;
}

bool CommandLine::isSet(const QString &option) const
{
    return m_values.contains(option);
}

QString CommandLine::value(const QString &option) const
{
    // An option given twice counts as given last.
    return m_values.value(option).value(m_values.value(option).size() - 1);
}
