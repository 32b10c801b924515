#pragma once

#include <QTimer>

// One pass of "let the user interface process pending events". A pass runs every pending
// event; when none is pending it sleeps until the next event arrives or kMaxSleepMs pass,
// whichever comes first, so long waits cost next to no CPU.
class EventPump
{
public:
    static constexpr int kMaxSleepMs = 5;

    EventPump();
    void pass();
    // Runs pending events without sleeping.
    static void runPending();

private:
    QTimer m_wake;
};
