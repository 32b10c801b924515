#pragma once

#include "features/status/StatusQuery.h"
#include "features/status/StatusRateChange.h"
#include "features/status/StatusSwitch.h"
#include "session/Line.h"
#include "support/OperatorDialogs.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// The operator's side of status polling: the poll rate asked for by "Set Status Check
// Rate...", and the thermal and light "Enable" switches.
class StatusPolling
{
    Q_DECLARE_TR_FUNCTIONS(StatusPolling)

public:
    // The timer's interval is a 16-bit count of milliseconds.
    static constexpr int kLongestIntervalSeconds = 65;

    StatusPolling(Line &line, StatusQuery &query);

    // "Set Status Check Rate...": asks the operator, starting from the current interval, and
    // tells the operator when the answer was cut to the longest rate. The caller applies
    // the result to StatusTimer; StatusCheck is left alone either way.
    StatusRateChange askStatusRate(OperatorDialogs &dialogs, int currentIntervalMs);

    // The input box's default: seconds with a blank in the sign position (3000 -> " 3",
    // 2500 -> " 2.5").
    static QString rateDefaultText(int intervalMs);
    // Reads the operator's answer: its leading number, rounded halves to even.
    static StatusRateChange readRateAnswer(const QString &answer);
    static QString clampedRateMessage();

    // An "Enable" box changed value (operator or program): switches the subsystem and
    // queries the status so the panel shows the instrument's answer.
    void switchChanged(StatusSwitch which, bool checked);
    static QByteArray switchCommand(StatusSwitch which, bool checked);

private:
    Line &m_line;
    StatusQuery &m_query;
};
