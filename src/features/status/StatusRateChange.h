#pragma once

// What the operator's answer to "Set Status Check Rate..." does to StatusTimer.
struct StatusRateChange {
    enum Action {
        // Cancel or an empty answer: interval and timer stay as they are.
        Unchanged,
        // Set intervalMs and enable the timer.
        SetInterval,
        // Zero, negative or not a number: disable the timer, interval untouched.
        TimerOff
    };

    Action action = Unchanged;
    int intervalMs = 0;
    // The answer was above the longest interval the timer takes; intervalMs holds that limit.
    bool clamped = false;
};
