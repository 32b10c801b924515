#pragma once

#include <QString>

// The device and rate of the last connection that worked, kept in the settings store so that
// either front end can try them first next time.
struct LastConnection {
    QString device;
    int rate = 0;

    bool isValid() const { return !device.isEmpty() && rate > 0; }

    static LastConnection load();
    void save() const;
};
