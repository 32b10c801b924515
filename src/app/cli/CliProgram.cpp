#include "app/cli/CliProgram.h"

#include "app/cli/CliContext.h"
#include "app/cli/CliOutput.h"
#include "app/cli/CommandLine.h"
#include "app/cli/CommandLineDialogs.h"
#include "app/cli/CommandTable.h"
#include "app/cli/ConnectionStep.h"
#include "app/cli/SignalWatch.h"
#include "link/QtCommPort.h"
#include "session/InstrumentSession.h"
#include "session/SessionEventRecorder.h"

#include <QJsonObject>

#include <cstdio>

namespace
{
void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}
} // namespace

ExitStatus CliProgram::check(const CommandLine &line, CliOutput &output)
{
    const auto check = line.definition().check;
    return check ? check(line, output) : ExitStatus::Done;
}

ExitStatus CliProgram::runCommand(CliContext &context)
{
    return context.line.definition().run(context);
}

int CliProgram::run()
{
    CommandLine line(commandTable());
    switch (line.parse(m_arguments)) {
    case CommandLine::Outcome::Help:
        print(stdout, line.helpText());
        return int(ExitStatus::Done);
    case CommandLine::Outcome::Bad: {
        CliOutput output(line.json(), line.quiet());
        output.error(line.errorText());
        return output.finish(ExitStatus::Usage);
    }
    case CommandLine::Outcome::Run:
        break;
    }
    CliOutput output(line.json(), line.quiet());
    const ExitStatus checked = check(line, output);
    if (checked != ExitStatus::Done)
        return output.finish(checked);

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
    // The leaving goes into the event log; a run --detach left has closed the port already.
    if (session.isOpen())
        session.Disconnect();
    return output.finish(status);
}
