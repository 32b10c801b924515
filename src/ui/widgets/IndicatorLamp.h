#pragma once

#include "features/status/LampColour.h"

#include <QColor>
#include <QWidget>

// A small round lamp. Unlit it takes the button-face colour, so it disappears into the
// window; lit it shows one of four fixed colours. Its accessible name starts as its control
// name ("DataShape", "ThermalOKShape(2)"); a window may give it a role instead. Its
// accessible description tells its state in words, "<caption>: <colour>" ("Stable: green")
// or the colour word alone while it has no caption, so screen readers and tests can tell
// its state without looking at pixels.
class IndicatorLamp : public QWidget
{
    Q_OBJECT
public:
    using Colour = LampColour;

    explicit IndicatorLamp(const QString &controlName, QWidget *parent = nullptr);

    QString controlName() const { return m_controlName; }
    Colour colour() const { return m_colour; }
    // The text of the label beside the lamp, for the description.
    void setCaption(const QString &caption);
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
    void describe();

    QString m_controlName;
    QString m_caption;
    Colour m_colour = Colour::Unlit;
};
