#pragma once

#include <QGroupBox>

#include <array>

class IndicatorLamp;
class QCheckBox;
class QLabel;

// One of the twin instrument panels (thermal control, light source): an "Enable" switch
// and three lamps stacked top to bottom, index 2 (stable) to 0 (off), each with its label.
// Array controls are named "Name_i" (objectName) and "Name(i)" (lamps' controlName()); a
// lamp's accessible name is its role ("Thermal Control stable lamp").
class InstrumentPanelWidget : public QGroupBox
{
    Q_OBJECT
public:
    struct Names {
        QString frame;
        QString onCheck;
        QString shape;
        // Label names by index; the light panel's bottom label has a name of its own.
        std::array<QString, 3> labels;
        // Empty: the panel has no ambient-temperature line.
        QString ambientLabel;
    };

    InstrumentPanelWidget(const QString &title, const Names &names, QWidget *parent = nullptr);

    QCheckBox *onCheck() const { return m_onCheck; }
    IndicatorLamp *shape(int index) const { return m_shapes.at(static_cast<size_t>(index)); }
    QLabel *label(int index) const { return m_labels.at(static_cast<size_t>(index)); }
    QLabel *ambientLabel() const { return m_ambient; }

private:
    QCheckBox *m_onCheck;
    QLabel *m_ambient = nullptr;
    std::array<IndicatorLamp *, 3> m_shapes{};
    std::array<QLabel *, 3> m_labels{};
};
