#include "support/QuestionBoxLayout.h"

#include <cmath>

int QuestionBoxLayout::toPixels(double twips)
{
    return int(std::lround(twips / kTwipsPerPixel));
}

QRect QuestionBoxLayout::toPixels(const QRect &twips)
{
    return QRect(toPixels(twips.x()), toPixels(twips.y()), toPixels(twips.width()),
                 toPixels(twips.height()));
}

double QuestionBoxLayout::fit(const std::function<int(int)> &labelHeight,
                              const std::array<bool, 3> &captioned)
{
    // A tall narrow text reads badly: widen the label to twice its height first.
    if (label.width() / 2.0 < label.height()) {
        label.setWidth(2 * label.height());
        label.setHeight(labelHeight(label.width()));
    }
    if (label.width() > kMaxLabelWidth) {
        label.setWidth(kMaxLabelWidth);
        label.setHeight(labelHeight(label.width()));
    }

    double leftShift = 0;
    const int neededWidth = label.x() + label.width() + kMargin;
    if (neededWidth > interior.width()) {
        leftShift = -(neededWidth - interior.width()) / 2.0;
        interior.setWidth(neededWidth);
    }
    const int neededHeight = label.y() + label.height() + kMargin + buttons[0].height();
    if (neededHeight > interior.height())
        interior.setHeight(neededHeight);

    for (QRect &button : buttons)
        button.moveTop(interior.height() - button.height() - 60);

    QRect &third = buttons[2];
    third.moveLeft(captioned[2] ? interior.width() - third.width() - 180 : interior.width() - 180);
    QRect &second = buttons[1];
    second.moveLeft(captioned[1] ? third.x() - second.width() - 180 : third.x());
    QRect &first = buttons[0];
    first.moveLeft(second.x() - first.width() - 180);
    return leftShift;
}
