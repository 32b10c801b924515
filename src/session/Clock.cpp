#include "session/Clock.h"

#include <QTime>
#include <cmath>

namespace
{
double realSecondsSinceMidnight()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}
} // namespace

float Clock::timeOfDay() const
{
    double t = std::fmod(realSecondsSinceMidnight() + m_offsetSeconds, double(kSecondsPerDay));
    if (t < 0)
        t += kSecondsPerDay;
    return float(t);
}

void Clock::setTimeOfDay(double seconds)
{
    m_offsetSeconds = seconds - realSecondsSinceMidnight();
}
