#include "LineSpeed.h"

#include <iterator>

namespace
{
struct Rate {
    int baud;
    speed_t speed;
};
constexpr Rate kRates[] = {
    {300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},   {4800, B4800},
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600}, {115200, B115200},
    {230400, B230400}, {460800, B460800}, {921600, B921600},
};
} // namespace

int LineSpeed::toBaud(speed_t speed)
{
    for (const Rate &r : kRates) {
        if (r.speed == speed)
            return r.baud;
    }
    return 0;
}

speed_t LineSpeed::fromBaud(int baud)
{
    for (const Rate &r : kRates) {
        if (r.baud == baud)
            return r.speed;
    }
    return B0;
}
