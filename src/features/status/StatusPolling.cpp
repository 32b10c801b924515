#include "features/status/StatusPolling.h"

#include "support/RoundHalfEven.h"
#include "support/StringCode.h"

StatusPolling::StatusPolling(Line &line, StatusQuery &query) : m_line(line), m_query(query)
{
}

StatusRateChange StatusPolling::askStatusRate(OperatorDialogs &dialogs, int currentIntervalMs)
{
    const QString answer =
        dialogs.inputBox(tr("Status Update Rate"), tr("Seconds between status checks"),
                         rateDefaultText(currentIntervalMs));
    const StatusRateChange change = readRateAnswer(answer);
    if (change.clamped)
        dialogs.showMessage(tr("Status Update Rate"), clampedRateMessage());
    return change;
}

QString StatusPolling::rateDefaultText(int intervalMs)
{
    return NumberWithSign(intervalMs / 1000.0);
}

StatusRateChange StatusPolling::readRateAnswer(const QString &answer)
{
    StatusRateChange change;
    if (answer.isEmpty())
        return change;
    const double seconds = roundHalfEven(LeadingNumber(answer));
    if (!(seconds > 0)) {
        change.action = StatusRateChange::TimerOff;
        return change;
    }
    change.action = StatusRateChange::SetInterval;
    if (seconds > kLongestIntervalSeconds) {
        change.clamped = true;
        change.intervalMs = kLongestIntervalSeconds * 1000;
    } else {
        change.intervalMs = int(seconds) * 1000;
    }
    return change;
}

QString StatusPolling::clampedRateMessage()
{
    return tr("Status checks cannot be more than %1 seconds apart. "
              "The rate has been set to %1 seconds.")
        .arg(kLongestIntervalSeconds);
}

QByteArray StatusPolling::switchCommand(StatusSwitch which, bool checked)
{
    QByteArray command = which == StatusSwitch::Thermal ? "tpower," : "lpower,";
    command += checked ? "1\r" : "0\r";
    return command;
}

void StatusPolling::switchChanged(StatusSwitch which, bool checked)
{
    // The reply is not examined: the next status line shows what the instrument did.
    m_line.SendCommand(switchCommand(which, checked), QByteArray(), QByteArray(), 1.0f);
    m_query.QueryStatus();
}
