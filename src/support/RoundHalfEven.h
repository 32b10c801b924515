#pragma once

#include <QtGlobal>

#include <cmath>
#include <limits>

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4),
// as the instrument's software rounds seconds. Does not depend on the FPU rounding mode.
inline double roundHalfEven(double value)
{
    const double down = std::floor(value);
    const double fraction = value - down;
    if (fraction > 0.5)
        return down + 1;
    if (fraction < 0.5)
        return down;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

// roundHalfEven() as a signed 32-bit count; values beyond it are held at its ends.
inline qint32 roundHalfEvenToInt32(double value)
{
    const double rounded = roundHalfEven(value);
    if (rounded >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (rounded <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return qint32(rounded);
}
