#pragma once

#include "link/Clock.h"
#include "link/DataFile.h"
#include "link/InstrumentIdentity.h"

#include <QByteArray>
#include <QString>

// Program-wide state: one object that main() builds and hands to every window, and that
// tests create afresh.
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
    // A download or upload owns the line: nothing else may open or close the data file.
    bool transferOwnsLine = false;
    // The file manager's header column clicked last; kept while the program runs, so a
    // reopened file manager still knows it.
    int LastClickedColumn = 0;
    Clock clock;

    int DataFileNumber() const { return dataFile.number(); }
};
