#pragma once

#include <termios.h>

// Baud rates as numbers and as the terminal interface's speed codes.
class LineSpeed
{
public:
    // 0 when the code is not a plain rate.
    static int toBaud(speed_t speed);
    // B0 when the rate has no speed code.
    static speed_t fromBaud(int baud);
};
