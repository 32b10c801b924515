#include "support/Twips.h"

#include <QString>

#include <cmath>
#include <limits>

namespace
{

// Far beyond any desktop, yet small enough that the pixel value fits an int at any dpi.
constexpr float kLargestTwips = 1.0e8f;

double usableDpi(double dpi)
{
    return dpi > 0.0 && std::isfinite(dpi) ? dpi : Twips::kDefaultDpi;
}

} // namespace

float Twips::fromPixels(int pixels, double dpi)
{
    return static_cast<float>(pixels * kPerInch / usableDpi(dpi));
}

int Twips::toPixels(float twips, double dpi)
{
    const double pixels = std::round(double(twips) * usableDpi(dpi) / kPerInch);
    if (pixels >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (pixels <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(pixels);
}

bool Twips::parse(const QString &text, float *twips)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > kLargestTwips)
        return false;
    *twips = static_cast<float>(value);
    return true;
}

QString Twips::toText(float twips)
{
    // Nine significant digits bring every float back exactly.
    return QString::number(double(twips), 'g', 9);
}
