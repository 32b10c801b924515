#pragma once

#include "session/Clock.h"
#include "session/DataFile.h"
#include "session/InstrumentIdentity.h"

#include <QByteArray>
#include <QString>

// Program-wide state of one instrument session: what was received, the data file, the
// download folder, the instrument's identity and the clock every wait reads.
class ProgramState
{
public:
    static constexpr int kReceiveBufferCap = 65535;

    // Everything read from the serial port since it was last cleared or cut.
    QByteArray ReceiveBuffer;
    // The open data file on the computer (DataFileNumber() is 0 when none is open).
    DataFile dataFile;
    // Folder into which files fetched from the instrument are saved.
    QString DefaultDataFolder;
    InstrumentIdentity identity;
    // The operator asked a long file-manager operation to stop.
    bool TransferCancelled = false;
    Clock clock;

    int DataFileNumber() const { return dataFile.number(); }
};
