#pragma once

// Time of day in seconds since midnight, as the instrument protocol's waits count it.
// Every wait reads this one clock; tests shift it to run midnight cases in real time.
class Clock
{
public:
    static constexpr float kSecondsPerDay = 86400.0f;

    float timeOfDay() const;
    // Shifts the clock so that it reads `seconds` now and runs on at real speed.
    void setTimeOfDay(double seconds);
    void reset() { m_offsetSeconds = 0; }

private:
    double m_offsetSeconds = 0;
};
