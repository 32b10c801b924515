#include "app/cli/CalCheckCommand.h"

#include "app/cli/CalCheckNotes.h"
#include "app/cli/CliContext.h"
#include "app/cli/CliOutput.h"
#include "app/cli/CommandLine.h"
#include "app/cli/CommandLineDialogs.h"
#include "app/cli/SamplingCommands.h"
#include "features/calcheck/CalCheck.h"
#include "features/status/StatusMonitor.h"
#include "session/InstrumentSession.h"

#include <QFileInfo>

namespace CalCheckCommand
{

ExitStatus check(const CommandLine &line, CliOutput &output)
{
    const ExitStatus file = SamplingCommands::checkOutputFile(line, output, true);
    if (file != ExitStatus::Done)
        return file;
    if (line.isSet(QStringLiteral("yes")))
        return ExitStatus::Done;
    output.error(
        QCoreApplication::translate("CalCheckCommand",
                                    "the cal check asks first: \"%1\" Answer it with --yes once it "
                                    "is; nothing was sent.")
            .arg(CalCheck::readyQuestion()));
    return ExitStatus::Usage;
}

ExitStatus run(CliContext &context)
{
    InstrumentSession &session = context.session;
    const QString path = context.line.value(QStringLiteral("output"));
    context.dialogs.setAnswerYes(true);
    bool stop = false;
    context.onInterrupt = [&stop] { stop = true; };
    StatusMonitor monitor(session);
    CalCheckHooks hooks;
    hooks.OpenNewFile = [&] {
        return SamplingCommands::openDataFile(session, context.output, context.line) ? 1 : -1;
    };
    hooks.ParseStatus = [&monitor](const QByteArray &reply) { return monitor.ParseStatus(reply); };
    hooks.createProgress = [&]() -> std::unique_ptr<CalCheckProgress> {
        return std::make_unique<CalCheckNotes>(context.output, stop);
    };
    CalCheck calCheck(session, context.dialogs, std::move(hooks));
    const CalCheck::Outcome outcome = calCheck.run();
    context.output.progress(QString());
    const QJsonObject document{
        {QStringLiteral("file"), path},
        {QStringLiteral("bytes"), QFileInfo(path).size()},
        {QStringLiteral("complete"), outcome == CalCheck::Outcome::Completed}};
    switch (outcome) {
    case CalCheck::Outcome::Completed:
        context.output.result(
            document, {path == QLatin1String("-")
                           ? QCoreApplication::translate(
                                 "CalCheckCommand", "Cal check data written to standard output.")
                           : QCoreApplication::translate("CalCheckCommand",
                                                         "Cal check data in %1 (%2 bytes).")
                                 .arg(path)
                                 .arg(QFileInfo(path).size())});
        return ExitStatus::Done;
    case CalCheck::Outcome::NotStabilized:
        context.output.error(QCoreApplication::translate(
            "CalCheckCommand", "the cal check did not start: the Orvantis is not "
                               "fully stabilized (\"orvantis status\" shows it)"));
        return ExitStatus::Failed;
    case CalCheck::Outcome::Stopped:
        if (!context.interrupted() && session.isOpen())
            context.output.error(QCoreApplication::translate(
                                     "CalCheckCommand", "the cal check stopped; %1 holds what came")
                                     .arg(path));
        return ExitStatus::Failed;
    default:
        context.output.error(
            QCoreApplication::translate("CalCheckCommand", "the cal check did not run"));
        return ExitStatus::Failed;
    }
}

} // namespace CalCheckCommand
