#include "SimStatusModel.h"

#include <QtGlobal>
#include <cmath>

SimStatusModel::SimStatusModel(const SimOptions &options)
    : m_options(options), m_thermalOn(options.thermalOn), m_lightOn(options.lightOn),
      m_deviation(options.initialDeviation),
      m_lightLeftMs(qint64(options.lightWarmupSeconds) * 1000)
{
    if (m_thermalOn && m_deviation == 0)
        m_onTargetSinceMs = 0;
}

void SimStatusModel::update(qint64 nowMs)
{
    if (nowMs <= m_lastMs)
        return;
    const qint64 dtMs = nowMs - m_lastMs;
    const double rate = qMax(m_options.thermalRatePerSecond, 0.0);

    // Thermal control works the deviation off towards zero; without it the deviation drifts
    // back to where the surroundings put it.
    const double target = m_thermalOn ? 0.0 : m_options.initialDeviation;
    const double distance = target - m_deviation;
    const double step = rate * dtMs / 1000.0;
    if (std::fabs(distance) <= step) {
        if (m_thermalOn && m_onTargetSinceMs < 0) {
            const qint64 reachedAfter = rate > 0 ? qint64(std::fabs(distance) / rate * 1000) : 0;
            m_onTargetSinceMs = m_lastMs + reachedAfter;
        }
        m_deviation = target;
    } else {
        m_deviation += distance > 0 ? step : -step;
    }

    if (m_lightOn)
        m_lightLeftMs = qMax<qint64>(0, m_lightLeftMs - dtMs);
    m_lastMs = nowMs;
}

void SimStatusModel::restart(qint64 nowMs)
{
    *this = SimStatusModel(m_options);
    m_lastMs = nowMs;
    if (m_onTargetSinceMs >= 0)
        m_onTargetSinceMs = nowMs;
}

void SimStatusModel::setThermalPower(bool on, qint64 nowMs)
{
    update(nowMs);
    if (on == m_thermalOn)
        return;
    m_thermalOn = on;
    m_onTargetSinceMs = (on && m_deviation == 0) ? qMax(nowMs, m_lastMs) : -1;
}

void SimStatusModel::setLightPower(bool on, qint64 nowMs)
{
    update(nowMs);
    if (on == m_lightOn)
        return;
    m_lightOn = on;
    // A lamp switched off has to warm up afresh.
    m_lightLeftMs = qint64(m_options.lightWarmupSeconds) * 1000;
}

bool SimStatusModel::thermallyStable() const
{
    return m_thermalOn && m_onTargetSinceMs >= 0 &&
           m_lastMs - m_onTargetSinceMs >= m_options.thermalSettleMs;
}

SimStatusModel::Thermal SimStatusModel::thermalState() const
{
    if (!m_thermalOn)
        return Thermal::Off;
    if (thermallyStable())
        return Thermal::Stable;
    if (m_deviation >= 1.0)
        return Thermal::Cooling;
    if (m_deviation <= -1.0)
        return Thermal::Warming;
    return Thermal::Settling;
}

QByteArray SimStatusModel::statusLine() const
{
    // Flags: light power, a reserved flag, then thermal enable and thermal drive. Numbers
    // always carry decimals, so no field but the stable flag can read exactly "1".
    QByteArray line("st:");
    line += m_lightOn ? '1' : '0';
    line += '0';
    line += m_thermalOn ? "11" : "00";
    line += ',' + QByteArray::number(m_deviation, 'f', 2);
    line += thermallyStable() ? ",1" : ",0";
    line += ',' + QByteArray::number(std::ceil(m_lightLeftMs / 100.0) / 10.0, 'f', 1);
    line += ',' + QByteArray::number(m_options.ambientTemperature, 'f', 1);
    line += ',' + QByteArray::number(m_options.supplyVolts, 'f', 1);
    return line;
}
