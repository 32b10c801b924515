#include "features/sampling/SamplingController.h"

#include "features/sampling/AcquireCommand.h"
#include "session/InstrumentSession.h"
#include "session/LoggedOperation.h"
#include "session/SendAbort.h"
#include "support/OperatorDialogs.h"
#include "support/SettingsKeys.h"

SamplingController::SamplingController(InstrumentSession &session, OperatorDialogs &dialogs,
                                       QObject *parent)
    : QObject(parent), m_session(session), m_dialogs(dialogs)
{
}

QByteArray SamplingController::SampleOnce(const SamplingSettings &settings)
{
    Line &line = m_session.line();
    const LoggedOperation logged(m_session.eventLog(), tr("Single sample"));
    if (m_session.DataFileNumber() == 0)
        setSavingWarning(true);
    const StopOnExit stop = line.stopOnExit(kThreeEtx);
    const QByteArray reply =
        line.SendCommand(BuildAcquireCommand(settings), "\r", ">", kSampleTimeoutSeconds);
    // Also after a sample with a file open: the label ends in its normal look either way.
    setSavingWarning(false);
    return reply;
}

bool SamplingController::StartPeriodic(const SamplingSettings &settings)
{
    // Checked first so that a refused start leaves the window exactly as it was.
    double period = 0;
    if (!ReadMinimumPeriod(settings.sampleDelay, &period)) {
        m_dialogs.ShowErrorMessage(badPeriodMessage());
        return false;
    }
    Line &line = m_session.line();
    if (!line.readyToWrite())
        return false;
    // Stays on until "Stop": the instrument keeps sending samples that nothing saves.
    if (m_session.DataFileNumber() == 0)
        setSavingWarning(true);
    const PeriodicRunInfo run = BuildPeriodicRun(settings, period);
    m_session.beginPeriodicRun(run);
    m_session.SetStatus(StatusCode::PeriodicSampling);
    const StopOnExit stop = line.stopOnExit(kThreeEtx);
    line.SendCommand(run.startCommand, "start", ">", kStartTimeoutSeconds);
    return true;
}

void SamplingController::Stop()
{
    // While the line is being brought back, Stop ends that too: the run is over.
    if (m_session.reconnecting()) {
        m_session.Disconnect();
        setSavingWarning(false);
        return;
    }
    // Not a transaction: nothing is waited for and ReceiveBuffer keeps what has arrived.
    Line &line = m_session.line();
    if (!line.readyToWrite())
        return;
    line.write(kThreeEtx);
    m_session.endPeriodicRun();
    m_session.SetStatus(StatusCode::Idle);
    setSavingWarning(false);
}

QString SamplingController::FlashFilenameChanged(const QString &text)
{
    if (text.size() <= kFlashNameLength)
        return text;
    m_dialogs.showMessage(SettingsKeys::kApplication, flashNameMessage());
    return text.left(kFlashNameLength);
}

QString SamplingController::flashNameMessage()
{
    return tr("Flash file names are limited to 8 characters (extension is added automatically)");
}

QString SamplingController::badPeriodMessage()
{
    return tr("The minimum period must be a number of seconds, such as 10 or 2.5. "
              "Periodic sampling was not started.");
}

void SamplingController::setSavingWarning(bool on)
{
    m_savingWarning = on;
    emit savingWarningChanged(on);
}
