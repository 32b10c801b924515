#pragma once

#include <QTimer>

#include <functional>

// One pass of "let the user interface process pending events". A pass runs every pending
// event; when none is pending it sleeps until the next event arrives or the wake time
// passes, whichever comes first, so long waits cost next to no CPU.
//
// After every pass the receive loop runs (afterPass), wherever the wait was entered from:
// a click handled inside the receive timer's own handler starts an operation whose waits
// the timer cannot serve, because a timer does not fire again while its handler runs.
class EventPump
{
public:
    // Waits that look at something other than events (a clock, a counter) wake this often.
    static constexpr int kMaxSleepMs = 5;
    // Waits that know their deadline sleep up to it, but no longer than this at a time.
    static constexpr int kLongestSleepMs = 100;

    EventPump();
    void pass(int wakeAfterMs = kMaxSleepMs);
    // A pass for a wait whose own time-out is `secondsLeft` away: everything else it waits
    // for (bytes, a closed port, a button) arrives as an event and ends the sleep early.
    void passUntil(double secondsLeft);
    // Runs pending events without sleeping.
    void runPending();

    // Runs before a pass may sleep; the main window asks the port to end the sleep when
    // bytes arrive.
    void setBeforeSleep(std::function<void()> beforeSleep)
    {
        m_beforeSleep = std::move(beforeSleep);
    }
    // Runs after each pass; the main window hands it the receive loop.
    void setAfterPass(std::function<void()> afterPass) { m_afterPass = std::move(afterPass); }

private:
    void finishPass();

    QTimer m_wake;
    std::function<void()> m_beforeSleep;
    std::function<void()> m_afterPass;
};
