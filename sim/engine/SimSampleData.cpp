#include "SimSampleData.h"

#include <QtGlobal>
#include <cmath>

namespace
{
constexpr double kDarkLevel = 1000.0;
constexpr double kDarkNoise = 12.0;
constexpr double kLampPeak = 38000.0;
constexpr double kLampCentre = 280.0;
constexpr double kLampWidth = 140.0;
} // namespace

QList<int> SimSampleData::counts(bool lightOn, int averaged, quint32 seed)
{
    quint32 state = seed * 2654435761u + 0x9e3779b9u;
    auto noise = [&state] {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 24) * 2.0 - 1.0; // -1 .. 1
    };
    const double spread = kDarkNoise / std::sqrt(double(qMax(1, averaged)));
    QList<int> out;
    out.reserve(kPixels);
    for (int px = 0; px < kPixels; ++px) {
        double value = kDarkLevel + 0.05 * px;
        if (lightOn) {
            const double x = (px - kLampCentre) / kLampWidth;
            // Absorption lines ripple across the hump.
            value += kLampPeak * std::exp(-x * x) * (1.0 + 0.08 * std::sin(px / 9.0));
            value += noise() * spread * 4;
        }
        value += noise() * spread;
        out.append(qBound(0, int(std::lround(value)), 65535));
    }
    return out;
}

QByteArray SimSampleData::lines(const QList<int> &counts)
{
    QByteArray out;
    for (qsizetype i = 0; i < counts.size(); ++i) {
        out += QByteArray::number(counts.at(i));
        out += (i % kValuesPerLine == kValuesPerLine - 1 || i == counts.size() - 1) ? "\r\n" : " ";
    }
    return out;
}
