#pragma once

#include "SimEngine.h"

#include <QByteArray>

// What the tests of the simulator's engine share.
namespace sim_checks
{
inline const QByteArray kPrompt("Orvantis>");

// An engine whose flash disk starts empty.
inline SimOptions quietDisk()
{
    SimOptions options;
    options.seedDisk = false;
    return options;
}

// A file of the engine's flash disk; "<missing>" when there is none of that name.
inline QByteArray fileOf(SimEngine &engine, const QByteArray &name)
{
    QByteArray bytes;
    return engine.disk().read(name, &bytes) ? bytes : QByteArray("<missing>");
}
} // namespace sim_checks
