#include "app/cli/CliProgram.h"

#include "app/cli/CalCheckCommand.h"
#include "app/cli/CliContext.h"
#include "app/cli/CliOutput.h"
#include "app/cli/CommandLine.h"
#include "app/cli/CommandLineDialogs.h"
#include "app/cli/ConnectionStep.h"
#include "app/cli/FileCommands.h"
#include "app/cli/InstrumentCommands.h"
#include "app/cli/PeriodicRun.h"
#include "app/cli/SamplingCommands.h"
#include "app/cli/SignalWatch.h"
#include "link/QtCommPort.h"
#include "session/InstrumentSession.h"
#include "session/SessionEventRecorder.h"

#include <QJsonObject>

#include <cstdio>

namespace
{
using Check = ExitStatus (*)(const CommandLine &, CliOutput &);
using Run = ExitStatus (*)(CliContext &);

struct Command {
    const char *name;
    Check check;
    Run run;
};

ExitStatus runPeriodic(CliContext &context)
{
    return PeriodicRun(context).run();
}

const Command kCommands[] = {
    {"find", nullptr, InstrumentCommands::find},
    {"info", nullptr, InstrumentCommands::info},
    {"status", nullptr, InstrumentCommands::status},
    {"sample", SamplingCommands::checkSample, SamplingCommands::sample},
    {"run", PeriodicRun::check, runPeriodic},
    {"ls", nullptr, FileCommands::list},
    {"get", FileCommands::checkGet, FileCommands::get},
    {"put", FileCommands::checkPut, FileCommands::put},
    {"rm", FileCommands::checkRemove, FileCommands::remove},
    {"clock", InstrumentCommands::checkClock, InstrumentCommands::clock},
    {"baud", InstrumentCommands::checkBaud, InstrumentCommands::baud},
    {"cal-check", CalCheckCommand::check, CalCheckCommand::run},
    {"send", InstrumentCommands::checkSend, InstrumentCommands::send},
};

const Command *commandNamed(const QString &name)
{
    for (const Command &command : kCommands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// With --json a failure is a document too, so that a script reads one either way; on one
// line, as run's samples are.
int finish(CliOutput &output, ExitStatus status)
{
    if (status != ExitStatus::Done && output.json() && !output.lastError().isEmpty())
        output.jsonLine({{QStringLiteral("error"), output.lastError()},
                         {QStringLiteral("exitStatus"), int(status)}});
    return int(status);
}
} // namespace

ExitStatus CliProgram::check(const CommandLine &line, CliOutput &output)
{
    const Command *command = commandNamed(line.command());
    return command && command->check ? command->check(line, output) : ExitStatus::Done;
}

ExitStatus CliProgram::runCommand(CliContext &context)
{
    const Command *command = commandNamed(context.line.command());
    return command ? command->run(context) : ExitStatus::Usage;
}

int CliProgram::run()
{
    CommandLine line;
    switch (line.parse(m_arguments)) {
    case CommandLine::Outcome::Help:
        print(stdout, line.helpText());
        return int(ExitStatus::Done);
    case CommandLine::Outcome::Bad:
        print(stderr, QStringLiteral("orvantis: %1\n").arg(line.errorText()));
        return int(ExitStatus::Usage);
    case CommandLine::Outcome::Run:
        break;
    }
    CliOutput output(line.json(), line.quiet());
    const ExitStatus checked = check(line, output);
    if (checked != ExitStatus::Done)
        return finish(output, checked);

    SignalWatch signalWatch;
    const PortTable table = ConnectionStep::portTable(line);
    QtCommPort comm(table);
    CommandLineDialogs dialogs(output);
    InstrumentSession session(comm, table, dialogs);
    // The console's event log, in the same folder: a night's collection leaves its lines.
    session.eventLog().setFolder(EventLog::defaultFolder());
    const SessionEventRecorder events(session, session.eventLog());
    ConnectionStep connection(session, output);
    CliContext context{line, session, dialogs, output, signalWatch, {}};
    context.onInterrupt = [&] {
        connection.cancel();
        session.endForExit();
    };
    QObject::connect(&signalWatch, &SignalWatch::signalled, [&] {
        // A second signal does not wait for the command's own way of stopping.
        if (signalWatch.count() == 1 && context.onInterrupt)
            context.onInterrupt();
        else
            session.endForExit();
    });

    ExitStatus status = connection.connect(line);
    if (status == ExitStatus::Done && !context.interrupted()) {
        const auto endForExit = [&session] { session.endForExit(); };
        context.onInterrupt = endForExit;
        status = runCommand(context);
        // What the command set for a signal may refer to what it has left behind.
        context.onInterrupt = endForExit;
    }
    // Messages the session queued (a lost line's) are said before the end.
    session.runPendingEvents();
    if (context.interrupted())
        status = ExitStatus::Interrupted;
    else if (status != ExitStatus::Done && !session.isOpen())
        status = ExitStatus::NoInstrument;
    return finish(output, status);
}
