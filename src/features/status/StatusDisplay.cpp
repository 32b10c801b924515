#include "features/status/StatusDisplay.h"

#include "session/LinkStatus.h"
#include "support/StringCode.h"

StatusDisplay::StatusDisplay(const Input &input)
{
    const int code = input.code;

    // Status 0 has no instrument, whatever serial number is still about.
    const QString SerNum = code == int(StatusCode::NotConnected) ? QString() : input.SerNum;

    set(Control::NewFileButton, !input.dataFileOpen);
    set(Control::StopSavingButton, input.dataFileOpen);
    if (!input.dataFileOpen)
        m_savingLabelText = tr("No file open");

    set(Control::StopSamplingButton, code != int(StatusCode::NotConnected));
    const bool idle = code == int(StatusCode::Idle);
    set(Control::SetBaudButton, idle);
    set(Control::SetBaudMenuItem, idle);
    set(Control::OrvantisMenu, idle);
    set(Control::SetClockMenuItem, idle);

    switch (code) {
    case int(StatusCode::NotConnected):
        set(Control::ConnectButton, true);
        set(Control::ConnectMenuItem, true);
        set(Control::DisconnectButton, false);
        set(Control::DisconnectMenuItem, false);
        set(Control::StartSamplingButton, false);
        set(Control::SampleOnceButton, false);
        m_terminalCaption = tr("Terminal - no connection");
        break;
    case int(StatusCode::PeriodicSampling):
        set(Control::DisconnectButton, false);
        set(Control::StartSamplingButton, false);
        set(Control::SampleOnceButton, false);
        break;
    case int(StatusCode::CommandInProgress):
        set(Control::StartSamplingButton, false);
        set(Control::SampleOnceButton, false);
        break;
    default:
        set(Control::SampleOnceButton, true);
        set(Control::StartSamplingButton, true);
        set(Control::DisconnectButton, true);
        set(Control::DisconnectMenuItem, true);
        set(Control::ConnectButton, false);
        set(Control::ConnectMenuItem, false);
        // Port and rate each keep a sign position: "1234 Terminal - COM 3 -  9600 baud".
        m_terminalCaption = tr("%1 Terminal - COM%2 - %3 baud")
                                .arg(SerNum, NumberWithSign(input.portNumber),
                                     NumberWithSign(LeadingNumber(input.settings)));
        break;
    }

    applyLineOwner(input.lineOwner);
    m_hourglass =
        code == int(StatusCode::CommandInProgress) || code == int(StatusCode::FileTransfer);
    m_statusText = input.statusMsg.isEmpty() ? defaultText(code, SerNum, input.SampleDelayText)
                                             : input.statusMsg;
}

void StatusDisplay::applyLineOwner(LineOperation owner)
{
    const bool free = owner == LineOperation::None;
    for (Control control :
         {Control::StatusCheck, Control::StatusRateMenuItem, Control::TransferFilesButton})
        set(control, free);
    if (!free) {
        for (Control control :
             {Control::SampleOnceButton, Control::StartSamplingButton, Control::SetBaudButton,
              Control::SetBaudMenuItem, Control::OrvantisMenu, Control::SetClockMenuItem})
            set(control, false);
        // Stop ends a reconnection (and the run with it); it sends nothing meanwhile.
        if (owner != LineOperation::Reconnection)
            set(Control::StopSamplingButton, false);
    }
    if (usesDataFile(owner)) {
        set(Control::NewFileButton, false);
        set(Control::StopSavingButton, false);
    }
}

bool StatusDisplay::usesDataFile(LineOperation operation)
{
    return operation == LineOperation::Download || operation == LineOperation::Upload ||
           operation == LineOperation::CalCheck;
}

void StatusDisplay::set(Control control, bool on)
{
    set(control, on ? Enable::On : Enable::Off);
}

QString StatusDisplay::defaultText(int code, const QString &SerNum, const QString &SampleDelayText)
{
    switch (code) {
    case int(StatusCode::NotConnected):
        return tr("No Orvantis connected");
    case int(StatusCode::Idle):
        return tr("Connected to %1").arg(SerNum);
    case int(StatusCode::CommandInProgress):
        return tr("Command in progress");
    case int(StatusCode::FileTransfer):
        return tr("File tranfer in progress");
    case int(StatusCode::PeriodicSampling):
        return tr("Periodic sampling (%1 s)").arg(SampleDelayText);
    case int(StatusCode::NoResponse):
        return tr("NO RESPONSE-CHECK CONNECTIONS");
    default:
        return QString();
    }
}

QString StatusDisplay::controlName(Control control)
{
    switch (control) {
    case Control::ConnectButton:
        return QStringLiteral("ConnectButton");
    case Control::ConnectMenuItem:
        return QStringLiteral("ConnectMenuItem");
    case Control::DisconnectButton:
        return QStringLiteral("DisconnectButton");
    case Control::DisconnectMenuItem:
        return QStringLiteral("DisconnectMenuItem");
    case Control::SampleOnceButton:
        return QStringLiteral("SampleOnceButton");
    case Control::StartSamplingButton:
        return QStringLiteral("StartSamplingButton");
    case Control::StopSamplingButton:
        return QStringLiteral("StopSamplingButton");
    case Control::SetBaudButton:
        return QStringLiteral("SetBaudButton");
    case Control::SetBaudMenuItem:
        return QStringLiteral("SetBaudMenuItem");
    case Control::OrvantisMenu:
        return QStringLiteral("OrvantisMenu");
    case Control::SetClockMenuItem:
        return QStringLiteral("SetClockMenuItem");
    case Control::NewFileButton:
        return QStringLiteral("NewFileButton");
    case Control::StopSavingButton:
        return QStringLiteral("StopSavingButton");
    case Control::StatusCheck:
        return QStringLiteral("StatusCheck");
    case Control::StatusRateMenuItem:
        return QStringLiteral("StatusRateMenuItem");
    case Control::TransferFilesButton:
        return QStringLiteral("TransferFilesButton");
    }
    return QString();
}
