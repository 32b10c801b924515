#include "app/cli/StopCommand.h"

#include "app/cli/CliContext.h"
#include "app/cli/CliOutput.h"
#include "features/sampling/SampleLedger.h"
#include "session/InstrumentSession.h"
#include "session/SendAbort.h"

#include <QElapsedTimer>

namespace StopCommand
{

ExitStatus run(CliContext &context)
{
    Line &line = context.session.line();
    QElapsedTimer waited;
    waited.start();
    line.SendCommand(kThreeEtx, QByteArray(), SampleLedger::kPrompt.toByteArray(), kAnswerSeconds);
    const bool answered = line.lastReplyFramed();
    if (context.interrupted())
        return ExitStatus::Interrupted;
    context.session.eventLog().append(
        EventCategory::Operation,
        answered
            ? QCoreApplication::translate("StopCommand",
                                          "Stop (three ETX): the Orvantis answered at its prompt.")
            : QCoreApplication::translate("StopCommand", "Stop (three ETX): no prompt within %1 s.")
                  .arg(kAnswerSeconds));
    // Finding the Orvantis sends three ETX too (the search's probe), so a run left sampling
    // has stopped before this stop goes out: said as it is.
    const QJsonObject document{{QStringLiteral("answered"), answered},
                               {QStringLiteral("seconds"),
                                answered ? QJsonValue(waited.elapsed() / 1000.0) : QJsonValue()}};
    if (answered) {
        context.output.result(
            document,
            {QCoreApplication::translate(
                 "StopCommand", "The Orvantis answered the stop at its prompt: it is stopped."),
             QCoreApplication::translate("StopCommand",
                                         "(Finding it had sent three ETX already, which stop "
                                         "whatever it was doing.)")});
        return ExitStatus::Done;
    }
    context.output.result(document, {});
    context.output.error(
        QCoreApplication::translate("StopCommand",
                                    "the Orvantis did not show its prompt within %1 s after "
                                    "three ETX")
            .arg(kAnswerSeconds));
    return ExitStatus::Failed;
}

} // namespace StopCommand
