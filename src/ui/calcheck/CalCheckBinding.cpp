#include "ui/calcheck/CalCheckBinding.h"

#include "ui/calcheck/CalCheckProgressWindow.h"
#include "ui/mainwindow/MainForm.h"
#include "ui/sampling/SamplingBinding.h"
#include "ui/status/StatusBinding.h"

#include <QAction>

CalCheckBinding::CalCheckBinding(MainForm &form, OperatorDialogs &dialogs,
                                 SamplingBinding &sampling, StatusBinding &status)
    : QObject(&form)
{
    QTimer *statusTimer = form.StatusTimer();
    CalCheckHooks hooks;
    hooks.OpenNewFile = [&sampling] { return sampling.OpenNewFile(); };
    hooks.ParseStatus = [&status](const QByteArray &reply) { return status.ParseStatus(reply); };
    hooks.statusTimerEnabled = [statusTimer] { return statusTimer->isActive(); };
    hooks.setStatusTimerEnabled = [statusTimer](bool on) {
        if (on)
            statusTimer->start();
        else
            statusTimer->stop();
    };
    hooks.createProgress = [&form]() -> std::unique_ptr<CalCheckProgress> {
        return std::make_unique<CalCheckProgressWindow>(&form);
    };
    m_calCheck = std::make_unique<CalCheck>(form.state(), form.transaction(), form, dialogs,
                                            std::move(hooks));
    connect(&form, &MainForm::calCheckRequested, this, [this] { m_calCheck->run(); });
}
