#pragma once

#include "InstrumentIdentity.h"

#include <QByteArray>

bool ParseInstrumentInfo(const QByteArray &reply, InstrumentIdentity &identity);
