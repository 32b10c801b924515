#pragma once

#include "SimOptions.h"

#include <QByteArray>

// The instrument's thermal control and light source as they drift over time. The model is
// advanced by explicit times, so the same inputs always give the same status lines.
class SimStatusModel
{
public:
    enum class Thermal { Off, Cooling, Warming, Settling, Stable };

    explicit SimStatusModel(const SimOptions &options = SimOptions());

    // Moves the model forward to `nowMs`; earlier times are ignored.
    void update(qint64 nowMs);

    // Back to the state the options give, from `nowMs` on: power was lost and came back.
    void restart(qint64 nowMs);

    void setThermalPower(bool on, qint64 nowMs);
    void setLightPower(bool on, qint64 nowMs);
    bool thermalOn() const { return m_thermalOn; }
    bool lightOn() const { return m_lightOn; }

    Thermal thermalState() const;
    bool thermallyStable() const;
    double deviation() const { return m_deviation; }
    // Seconds the light source still needs; the full warm-up while it is off.
    double lightSecondsLeft() const { return m_lightLeftMs / 1000.0; }

    // "st:" line as of the last update, without line end, e.g.
    // "st:1011,2.34,0,95.0,21.5,12.1".
    QByteArray statusLine() const;

private:
    SimOptions m_options;
    qint64 m_lastMs = 0;
    bool m_thermalOn;
    bool m_lightOn;
    double m_deviation;
    // Engine time at which the deviation last reached zero with thermal control on; -1 when
    // it is not on target.
    qint64 m_onTargetSinceMs = -1;
    qint64 m_lightLeftMs;
};
