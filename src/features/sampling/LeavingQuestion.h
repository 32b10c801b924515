#pragma once

#include "session/PeriodicRunInfo.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

class InstrumentSession;
class OperatorDialogs;

// Leaving (Exit, Disconnect) while the instrument runs a periodic run that stores its samples
// in its own flash memory: the operator may leave it sampling on purpose, as for a
// deployment, or stop it. Any other run is stopped without a question.
class LeavingQuestion
{
    Q_DECLARE_TR_FUNCTIONS(LeavingQuestion)

public:
    // How to leave; nothing when the operator chose to stay (Cancel, or the box closed).
    static std::optional<RunOnLeaving> ask(InstrumentSession &session, OperatorDialogs &dialogs);
    static QString question(const PeriodicRunInfo &run);
};
