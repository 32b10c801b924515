#include "features/sampling/LeavingQuestion.h"

#include "session/InstrumentSession.h"
#include "support/OperatorDialogs.h"

std::optional<RunOnLeaving> LeavingQuestion::ask(InstrumentSession &session,
                                                 OperatorDialogs &dialogs)
{
    const PeriodicRunInfo &run = session.periodicRunInfo();
    // With the line lost nothing could stop the run anyway.
    if (!session.periodicRun() || !run.toFlash || !session.isOpen())
        return RunOnLeaving::Stop;
    switch (dialogs.ShowQuestionBox(question(run), LeavingQuestion::tr("Yes"),
                                    LeavingQuestion::tr("No"), LeavingQuestion::tr("Cancel"), -1)) {
    case 1:
        return RunOnLeaving::LeaveSampling;
    case 0:
        return RunOnLeaving::Stop;
    default:
        return std::nullopt;
    }
}

QString LeavingQuestion::question(const PeriodicRunInfo &run)
{
    return LeavingQuestion::tr(
               "The Orvantis is storing a sample every %1 s in its flash memory as %2. "
               "Leave it sampling?")
        .arg(run.period, run.flashName);
}
