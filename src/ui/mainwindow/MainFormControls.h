#pragma once

#include <array>

class IndicatorLamp;
class InstrumentPanelWidget;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

// The main window's frames, controls, lamps and menus under their window names, for the
// code that gives them behaviour. Each one's objectName() is the same name; array
// controls carry "_i" (ThermalOKShape_2), and index 0 of LightControlLabel is the control
// named LightlControlLabel.
struct MainFormControls {
    // "Communication"
    QGroupBox *CommFrame = nullptr;
    QPushButton *ConnectButton = nullptr;
    QPushButton *DisconnectButton = nullptr;
    QPushButton *OpenTerminalButton = nullptr;
    QPushButton *SetBaudButton = nullptr;
    QCheckBox *StatusCheck = nullptr;
    QLabel *StatusLabel = nullptr;
    IndicatorLamp *DataShape = nullptr;
    QLabel *DataLabel = nullptr;

    // "Save to File"
    QGroupBox *SavingFrame = nullptr;
    QPushButton *NewFileButton = nullptr;
    QPushButton *StopSavingButton = nullptr;
    QLabel *SavingLabel = nullptr;

    // "Sampling"
    QGroupBox *SamplingFrame = nullptr;
    QPushButton *SampleOnceButton = nullptr;
    QPushButton *StartSamplingButton = nullptr;
    QPushButton *StopSamplingButton = nullptr;
    QLineEdit *SampleDelayText = nullptr;
    QCheckBox *AverageCheck = nullptr;
    QLineEdit *AverageSamplesText = nullptr;
    QCheckBox *StoreInFlashCheck = nullptr;
    QLineEdit *FlashFilenameText = nullptr;
    QCheckBox *StoreInComputerCheck = nullptr;

    // "Thermal Control"
    InstrumentPanelWidget *ThermalFrame = nullptr;
    QCheckBox *ThermalOnCheck = nullptr;
    QLabel *AmbientTempLabel = nullptr;
    std::array<IndicatorLamp *, 3> ThermalOKShape{};
    std::array<QLabel *, 3> ThermalControlLabel{};

    // "Light Source"
    InstrumentPanelWidget *LightSourceFrame = nullptr;
    QCheckBox *LightOnCheck = nullptr;
    std::array<IndicatorLamp *, 3> LightOKShape{};
    // [0] is LightlControlLabel.
    std::array<QLabel *, 3> LightControlLabel{};

    QPushButton *TransferFilesButton = nullptr;

    // Menus
    QMenu *FileMenu = nullptr;
    QAction *ExitMenuItem = nullptr;
    QMenu *CommunicationMenu = nullptr;
    QAction *ConnectMenuItem = nullptr;
    QAction *DisconnectMenuItem = nullptr;
    QAction *SetBaudMenuItem = nullptr;
    QAction *ShowTerminalMenuItem = nullptr;
    QAction *StatusRateMenuItem = nullptr;
    QAction *ReconnectMenuItem = nullptr;
    QMenu *OrvantisMenu = nullptr;
    QAction *ShowInfoMenuItem = nullptr;
    QAction *SetClockMenuItem = nullptr;
    QAction *Divider3 = nullptr;
    QAction *TransferFilesMenuItem = nullptr;
    QAction *Divider4 = nullptr;
    QAction *CalCheckMenuItem = nullptr;
};
