#pragma once

#include <QByteArray>
#include <QString>

// A periodic run as its start command gave it: the command itself (to start the run again
// after a reconnection) and where its samples go.
struct PeriodicRunInfo {
    QByteArray startCommand;
    // The minimum period as the start command wrote it ("10", "2.5").
    QString period;
    // The flash file name as the acquire command sent it.
    QString flashName;
    // The samples go into the instrument's flash memory (destination 1 or 4) ...
    bool toFlash = false;
    // ... and to this computer (destination 2 or 4).
    bool toComputer = false;
};

// What leaving (Exit, Disconnect, the end of a command) does to a periodic run: stop it with
// three ETX, or leave a run that stores into the instrument's flash sampling on its own.
enum class RunOnLeaving { Stop, LeaveSampling };
