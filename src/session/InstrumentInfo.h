#pragma once

#include "session/InstrumentIdentity.h"

#include <QByteArray>
#include <QString>

// Firmware older than this cannot go deeper than kShallowMaxDepth, whatever it reports.
constexpr float kDepthRatedFirmware = 2.504f;
constexpr qint16 kShallowMaxDepth = 330;

// Reads the identification reply of the "id" command into `identity`, overwriting all five
// values (empty or 0 where the reply has none). True when a serial number was found.
bool ParseInstrumentInfo(const QByteArray &reply, InstrumentIdentity &identity);

// Rounds to a whole number, halves to even; out-of-range values stop at the qint16 limits.
qint16 RoundToDepth(double value);

// The firmware version in its shortest decimal form ("2.51", "3").
QString FirmwareText(float firmware);
