#pragma once

#include "ui/mainwindow/MainFormControls.h"

#include <QWidget>

// The main window's client area: the "Communication", "Save to File", "Sampling",
// "Thermal Control" and "Light Source" frames and the file manager button, laid out and
// named, with their design values. It holds no behaviour; the main window wires it.
class MainFormCentralWidget : public QWidget
{
    Q_OBJECT
public:
    // Fills the frame and control entries of `controls`.
    MainFormCentralWidget(MainFormControls &controls, QWidget *parent = nullptr);

private:
    QWidget *buildCommFrame(MainFormControls &c);
    QWidget *buildSavingFrame(MainFormControls &c);
    QWidget *buildSamplingFrame(MainFormControls &c);
    void buildInstrumentPanels(MainFormControls &c);
};
