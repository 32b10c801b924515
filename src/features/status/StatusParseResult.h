#pragma once

// What one status line means beyond the panels.
struct StatusParseResult {
    // Thermally stable and the light source stable.
    bool fullyStable = false;
    // New StatusTimer interval in ms (3000 or 30000); 0 leaves the interval as it is, which
    // is what an empty reply or a closed connection does.
    int statusTimerInterval = 0;
};
