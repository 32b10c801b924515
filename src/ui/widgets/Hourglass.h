#pragma once

#include <QApplication>

// The hourglass pointer of one window's busy state. It holds one override cursor at most, so
// busy states that nest or repeat cannot leave the hourglass behind.
class Hourglass
{
public:
    ~Hourglass() { set(false); }
    void set(bool on)
    {
        if (on == m_on)
            return;
        m_on = on;
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }

private:
    bool m_on = false;
};
