#pragma once

#include "features/sampling/SamplingSettings.h"
#include "session/PeriodicRunInfo.h"

#include <QByteArray>
#include <QString>

// The instrument's "Acquire auto" command and the "start" command that repeats it.

// "Acquire auto,<average>,1,<flash name>,0,-1[,<destination>]" and CR. The instrument takes
// 7 characters of the flash name, one fewer than the name box allows; the destination is
// left out when the sample is neither stored nor sent.
QByteArray BuildAcquireCommand(const SamplingSettings &settings);

// "start" + the period with a blank in its sign position + " " + the acquire command.
QByteArray BuildStartCommand(double minimumPeriod, const QByteArray &acquireCommand);

// The periodic run these settings start: its start command, the period as that command
// writes it, and where its samples go.
PeriodicRunInfo BuildPeriodicRun(const SamplingSettings &settings, double minimumPeriod);

// Reads the minimum period as typed; false when the text is not a number (empty, letters),
// which cannot be put into the start command.
bool ReadMinimumPeriod(const QString &text, double *seconds);
