#pragma once

#include "SimOptions.h"

#include <QString>

// How orvantis-sim serves its engine on the pseudo-terminal.
struct RunnerOptions {
    SimOptions engine;
    QString linkPath;        // symlink to the device, made at start, removed at exit
    bool fast = false;       // no pacing at the line rate
    bool garbage = false;    // every byte crosses the line garbled, whatever its rate
    int hangupAfterMs = -1;  // close the line after this long, as a pulled cable; < 0 never
    QString recordPath;      // every byte sent down the line is appended here
    QString recordInputPath; // every byte received from the line is appended here
    QString stateFile;       // keeps the start-up rate over a restart; empty: kept by no one
    // Unplugging: the device vanishes and a new one appears behind the link after a while.
    qint64 unplugAfterMs = -1;    // unplug once, this long after start; < 0 only on a signal
    qint64 unplugForMs = 5000;    // how long it stays out when the signal does not say
    bool restartOnReplug = false; // the instrument restarted while it was out
    QByteArray serialAfterReplug; // another instrument, restarted, with this serial number
};
