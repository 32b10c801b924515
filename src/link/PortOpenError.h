#pragma once

#include <QString>

// Why a port did not open, as far as the system told: the command line tells a missing
// device from one that another program holds.
struct PortOpenError {
    enum class Kind { None, NotFound, Permission, Other };
    Kind kind = Kind::None;
    // The system's own words.
    QString text;
};
