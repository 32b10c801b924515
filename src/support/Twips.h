#pragma once

#include <QString>

// Window geometry is kept in twips (1/1440 inch): 15 twips per pixel at 96 dpi. Conversions
// take the screen's logical dpi so that a value saved on one screen comes back unchanged.
namespace Twips
{

inline constexpr double kPerInch = 1440.0;
inline constexpr double kDefaultDpi = 96.0;

// Twips as the 32-bit float the store keeps. A dpi that is not positive counts as 96.
float fromPixels(int pixels, double dpi);
// Nearest whole pixel.
int toPixels(float twips, double dpi);
// False for text that is not a finite number of a size a screen could hold; `twips` is
// left alone then.
bool parse(const QString &text, float *twips);
// Decimal text of the value ("1230", "17280", "-300", "12.5").
QString toText(float twips);

} // namespace Twips
