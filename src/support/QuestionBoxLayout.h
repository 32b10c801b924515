#pragma once

#include <QRect>
#include <QSize>

#include <array>
#include <functional>

// The question box's geometry in twips and the rules that fit it to its question. Kept apart
// from the window so the arithmetic is exact and testable without fonts.
class QuestionBoxLayout
{
public:
    static constexpr int kTwipsPerPixel = 15;
    static constexpr int kMaxLabelWidth = 8000;
    static constexpr int kMargin = 120;

    // Twips to device-independent pixels (Qt scales those for high-DPI screens).
    static int toPixels(double twips);
    static QRect toPixels(const QRect &twips);

    // Interior (client area) size; the window frame around it never changes.
    QSize interior{5715, 1890};
    QRect label{840, 120, 4695, 210};
    // First, second and third button, as built.
    std::array<QRect, 3> buttons{QRect(720, 1440, 1455, 375), QRect(2400, 1440, 1455, 375),
                                 QRect(4080, 1440, 1332, 375)};

    // Fits label, interior and buttons to the question. `labelHeight` gives the height the
    // word-wrapped question takes at a label width (both in twips); `captioned` tells which
    // buttons have a caption. Returns how far the window's left edge moves (twips, negative
    // to the left) so that a widened box stays centred where it was.
    double fit(const std::function<int(int)> &labelHeight, const std::array<bool, 3> &captioned);
};
