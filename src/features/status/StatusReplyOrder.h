#pragma once

#include "features/status/StatusSwitch.h"

#include <QElapsedTimer>

#include <array>
#include <deque>

// Which status lines were asked for before the operator's last switch. The instrument
// answers "st" in order, one line each, and a line shows the state as it was when asked; so
// the lines still owed when a switch command goes out show the subsystem as it was before
// the switch, and must not switch it back on. A line that never comes (dropped by ETX, a
// silent sensor) is written off after kLineLostAfterMs, so one lost line cannot hold the
// re-tick back for good.
class StatusReplyOrder
{
public:
    static constexpr qint64 kLineLostAfterMs = 5000;

    // Which "Enable" boxes the line at hand must leave alone.
    struct Hold {
        bool thermal = false;
        bool light = false;
        bool holds(StatusSwitch which) const
        {
            return which == StatusSwitch::Thermal ? thermal : light;
        }
    };

    StatusReplyOrder();

    // An "st" has been written.
    void asked();
    // The switch command of `which` is about to be written: the lines owed now are stale for
    // it.
    void switched(StatusSwitch which);
    // A status line has come in (called as it arrives, not when it is shown): it answers
    // the oldest "st" still owed.
    Hold lineArrived();
    // A line that has no place in the order (the cal check's own reply, read again): held
    // back from a box while lines from before its switch are still owed.
    Hold pending();
    // The connection ended: nothing is owed any more.
    void reset();

private:
    void writeOffLost();
    void dropOldest();
    static size_t index(StatusSwitch which) { return which == StatusSwitch::Thermal ? 0 : 1; }

    QElapsedTimer m_clock;
    // When each "st" still owed a line was written, oldest first.
    std::deque<qint64> m_owed;
    // How many of the oldest owed lines were asked for before each box's last switch.
    std::array<size_t, 2> m_staleLeft{};
};
