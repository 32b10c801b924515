#pragma once

#include "features/status/LampColour.h"

#include <QCoreApplication>
#include <QString>
#include <array>

// What the Thermal Control and Light Source panels of the main window show. The status
// parser keeps one and updates it from each status line; the window copies it onto its
// controls. Rows are indexed like the lamps: 2 top (stable), 1 middle (stabilising),
// 0 bottom (off).
struct StatusPanels {
    Q_DECLARE_TR_FUNCTIONS(StatusPanels)

public:
    struct Row {
        LampColour lamp = LampColour::Unlit;
        QString caption;
        bool labelEnabled = true;
    };

    struct Panel {
        std::array<Row, 3> rows;
        // The panel's "Enable" check box.
        bool checkEnabled = true;
        bool checked = true;
    };

    StatusPanels()
    {
        for (Panel *panel : {&thermal, &light}) {
            panel->rows[0].caption = tr("Off");
            panel->rows[1].caption = tr("Stabilizing");
            panel->rows[2].caption = tr("Stable");
        }
    }

    // ThermalOnCheck, ThermalOKShape(i), ThermalControlLabel(i).
    Panel thermal;
    // LightOnCheck, LightOKShape(i), LightlControlLabel(0) / LightControlLabel(1), (2).
    Panel light;
    // AmbientTempLabel; empty until a status line with an ambient field arrives.
    QString ambientCaption;
};
