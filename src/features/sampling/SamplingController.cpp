#include "features/sampling/SamplingController.h"

#include "features/sampling/AcquireCommand.h"
#include "link/SendAbort.h"
#include "link/StopOnExit.h"
#include "support/SettingsKeys.h"

SamplingController::SamplingController(ProgramState &state, CommPort &port, LinkStatus &status,
                                       CommandTransaction &transaction, OperatorDialogs &dialogs,
                                       QObject *parent)
    : QObject(parent), m_state(state), m_port(port), m_status(status), m_transaction(transaction),
      m_dialogs(dialogs)
{
}

void SamplingController::setStatusTimerAccess(std::function<bool()> isEnabled,
                                              std::function<void(bool)> setEnabled)
{
    m_statusTimerEnabled = std::move(isEnabled);
    m_setStatusTimerEnabled = std::move(setEnabled);
}

QByteArray SamplingController::SampleOnce(const SamplingSettings &settings)
{
    if (m_state.DataFileNumber() == 0)
        setSavingWarning(true);
    const bool timerWasEnabled = m_statusTimerEnabled && m_statusTimerEnabled();

    const StopOnExit stop(m_transaction, kThreeEtx);
    const QByteArray reply =
        m_transaction.SendCommand(BuildAcquireCommand(settings), "\r", ">", kSampleTimeoutSeconds);

    if (m_setStatusTimerEnabled && m_statusTimerEnabled)
        m_setStatusTimerEnabled(timerWasEnabled);
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
    // Stays on until "Stop": the instrument keeps sending samples that nothing saves.
    if (m_state.DataFileNumber() == 0)
        setSavingWarning(true);
    const QByteArray acquire = BuildAcquireCommand(settings);
    m_periodic = true;
    m_status.SetStatus(LinkStatus::PeriodicSampling);
    const StopOnExit stop(m_transaction, kThreeEtx);
    m_transaction.SendCommand(BuildStartCommand(period, acquire), "start", ">",
                              kStartTimeoutSeconds);
    return true;
}

void SamplingController::Stop()
{
    // Not a transaction: nothing is waited for and ReceiveBuffer keeps what has arrived.
    m_port.write(kThreeEtx);
    m_periodic = false;
    m_status.SetStatus(LinkStatus::Idle);
    setSavingWarning(false);
}

int SamplingController::statusFor(int requested)
{
    if (requested == LinkStatus::NotConnected)
        m_periodic = false;
    if (requested == LinkStatus::PeriodicSampling && !m_periodic)
        return LinkStatus::Idle;
    return requested;
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
    return QStringLiteral(
        "Flash file names are limited to 8 characters (extension is added automatically)");
}

QString SamplingController::badPeriodMessage()
{
    return QStringLiteral("The minimum period must be a number of seconds, such as 10 or 2.5. "
                          "Periodic sampling was not started.");
}

void SamplingController::setSavingWarning(bool on)
{
    m_savingWarning = on;
    emit savingWarningChanged(on);
}
