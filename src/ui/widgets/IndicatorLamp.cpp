#include "ui/widgets/IndicatorLamp.h"

#include <QPainter>

namespace
{
constexpr int kDiameter = 14;
} // namespace

IndicatorLamp::IndicatorLamp(const QString &controlName, QWidget *parent)
    : QWidget(parent), m_controlName(controlName)
{
    setAccessibleName(controlName);
    describe();
    setFixedSize(kDiameter, kDiameter);
}

void IndicatorLamp::setColour(Colour colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    describe();
    update();
}

void IndicatorLamp::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    describe();
}

void IndicatorLamp::describe()
{
    const QString word = colourWord(m_colour);
    //: A lamp's accessible description: its caption, then its colour ("Stable: green").
    setAccessibleDescription(m_caption.isEmpty() ? word : tr("%1: %2").arg(m_caption, word));
}

QColor IndicatorLamp::fillColor() const
{
    if (m_colour == Colour::Unlit)
        return palette().color(QPalette::Button);
    return colourValue(m_colour);
}

QString IndicatorLamp::colourWord(Colour colour)
{
    switch (colour) {
    case Colour::Unlit:
        return tr("unlit");
    case Colour::Green:
        return tr("green");
    case Colour::Yellow:
        return tr("yellow");
    case Colour::Amber:
        return tr("amber");
    case Colour::Red:
        return tr("red");
    }
    return QString();
}

QColor IndicatorLamp::colourValue(Colour colour)
{
    switch (colour) {
    case Colour::Green:
        return QColor(0, 255, 0);
    case Colour::Yellow:
        return QColor(255, 255, 0);
    case Colour::Amber:
        return QColor(255, 220, 0);
    case Colour::Red:
        return QColor(255, 0, 0);
    case Colour::Unlit:
        break;
    }
    return QColor();
}

QSize IndicatorLamp::sizeHint() const
{
    return QSize(kDiameter, kDiameter);
}

void IndicatorLamp::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Dark), 1));
    painter.setBrush(fillColor());
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
