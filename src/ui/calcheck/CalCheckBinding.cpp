#include "ui/calcheck/CalCheckBinding.h"

#include "ui/calcheck/CalCheckProgressWindow.h"
#include "ui/sampling/SamplingBinding.h"
#include "ui/status/StatusBinding.h"

#include <QWidget>

CalCheckBinding::CalCheckBinding(InstrumentSession &session, OperatorDialogs &dialogs,
                                 SamplingBinding &sampling, StatusBinding &status, QWidget *window)
    : QObject(window)
{
    CalCheckHooks hooks;
    hooks.OpenNewFile = [&sampling] { return sampling.OpenNewFile(); };
    hooks.ParseStatus = [&status](const QByteArray &reply) { return status.ParseStatus(reply); };
    hooks.createProgress = [window]() -> std::unique_ptr<CalCheckProgress> {
        return std::make_unique<CalCheckProgressWindow>(window);
    };
    m_calCheck = std::make_unique<CalCheck>(session, dialogs, std::move(hooks));
}
