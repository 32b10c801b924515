#pragma once

#include <memory>

class SimEngine;
class SimInstrumentDisk;

// The instrument's operating system reached through "OS" (mount, drives, DIR, CD on its
// own disk) and its processing program "DIRIDovavud", which reports its passes and then
// "Processing complete", or "Processing aborted" when ETX stops it or the file is missing.
class SimProcessingCommands
{
public:
    // With the sample disk.
    static void install(SimEngine &engine);
    // With the given disk; installing again replaces the disk.
    static void install(SimEngine &engine, std::shared_ptr<SimInstrumentDisk> disk);
};
