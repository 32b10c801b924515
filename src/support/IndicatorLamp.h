#pragma once

#include "status/LampColour.h"

#include <QColor>
#include <QWidget>

// A small round lamp. Unlit it takes the button-face colour, so it disappears into the
// window; lit it shows one of four fixed colours. Its accessible name is its control name
// ("DataShape", "ThermalOKShape(2)") and its accessible description the colour word, so
// tests and screen readers can tell its state without looking at pixels.
class IndicatorLamp : public QWidget
{
    Q_OBJECT
public:
    using Colour = LampColour;

    explicit IndicatorLamp(const QString &controlName, QWidget *parent = nullptr);

    Colour colour() const { return m_colour; }
    void setColour(Colour colour);
    bool isLit() const { return m_colour != Colour::Unlit; }
    // The fill colour as painted.
    QColor fillColor() const;

    static QString colourWord(Colour colour);
    static QColor colourValue(Colour colour);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Colour m_colour = Colour::Unlit;
};
