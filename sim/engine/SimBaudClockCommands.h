#pragma once

class SimEngine;

// The line-rate commands ("baud", "Baud N", "baud Nstore") and the instrument's real-time
// clock ("time", "time MM/DD/YYYY HH:MM:SS").
class SimBaudClockCommands
{
public:
    // Rates the instrument can switch its line to.
    static bool isSupportedRate(int rate);
    // The line settles this long after the "Changing" line has gone out before the
    // instrument talks at the new rate.
    static constexpr int kSwitchSettleMs = 10;

    static void install(SimEngine &engine);
};
