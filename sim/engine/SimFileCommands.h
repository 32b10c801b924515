#pragma once

#include "SimFlashDisk.h"

#include <QByteArray>

class SimEngine;

// The flash disk's commands: "Dir /V" (the listing), "type NAME a b d" (a file's bytes as a
// raw stream), "capture NAME" (upload, line by line, until Ctrl-Z) and "Del NAME".
class SimFileCommands
{
public:
    static void install(SimEngine &engine);

    // A number with "," between groups of three digits: 1234567 -> "1,234,567".
    static QByteArray withSeparators(qint64 value);
    // One listing row: the name in columns 1-12, the size right-aligned to column 27, a
    // blank, and the date "MM-DD-YY HH:MM" from column 29.
    static QByteArray listingRow(const SimDiskEntry &entry);
};
