#include "ui/mainwindow/MainFormCentralWidget.h"

#include "ui/widgets/IndicatorLamp.h"
#include "ui/widgets/InstrumentPanelWidget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLineEdit *shortTextBox(QWidget *parent, const char *name, const QString &text, int characters)
{
    auto *box = named(new QLineEdit(text, parent), name);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('0')) * characters + 12);
    return box;
}

int textWidth(const QWidget *widget, const QString &text)
{
    return widget->fontMetrics().horizontalAdvance(text);
}
} // namespace

MainFormCentralWidget::MainFormCentralWidget(MainFormControls &c, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MainFormCentralWidget"));
    buildInstrumentPanels(c);

    auto *left = new QVBoxLayout;
    left->addWidget(buildCommFrame(c));
    left->addWidget(buildSavingFrame(c));
    c.TransferFilesButton =
        named(new QPushButton(tr("Manage Orvantis Files..."), this), "TransferFilesButton");
    left->addWidget(c.TransferFilesButton);
    left->addStretch(1);

    auto *panels = new QHBoxLayout;
    panels->addWidget(c.ThermalFrame, 1);
    panels->addWidget(c.LightSourceFrame, 1);
    auto *right = new QVBoxLayout;
    right->addLayout(panels);
    right->addWidget(buildSamplingFrame(c));
    right->addStretch(1);

    auto *columns = new QHBoxLayout(this);
    columns->addLayout(left);
    columns->addLayout(right, 1);
}

QWidget *MainFormCentralWidget::buildCommFrame(MainFormControls &c)
{
    c.CommFrame = named(new QGroupBox(tr("Communication"), this), "CommFrame");
    QGroupBox *frame = c.CommFrame;
    c.ConnectButton = named(new QPushButton(tr("Connect..."), frame), "ConnectButton");
    c.DisconnectButton = named(new QPushButton(tr("Disconnect"), frame), "DisconnectButton");
    c.SetBaudButton = named(new QPushButton(tr("Set Baud Rate..."), frame), "SetBaudButton");
    c.OpenTerminalButton = named(new QPushButton(tr("Show Terminal"), frame), "OpenTerminalButton");
    c.StatusCheck = named(new QCheckBox(tr("Automatic status updates"), frame), "StatusCheck");
    c.StatusCheck->setChecked(true);

    c.StatusLabel = named(new QLabel(frame), "StatusLabel");
    c.StatusLabel->setFrameShape(QFrame::Panel);
    c.StatusLabel->setFrameShadow(QFrame::Sunken);
    c.StatusLabel->setMinimumWidth(
        //: Not shown: the width kept for the longest connection state.
        textWidth(c.StatusLabel, tr("NO RESPONSE-CHECK CONNECTIONS  ")));
    c.DataShape = named(new IndicatorLamp(QStringLiteral("DataShape"), frame), "DataShape");
    c.DataShape->setAccessibleName(tr("Data lamp"));
    c.DataShape->setCaption(tr("Data"));
    c.DataLabel = named(new QLabel(tr("Data"), frame), "DataLabel");

    auto *grid = new QGridLayout(frame);
    grid->addWidget(c.ConnectButton, 0, 0);
    grid->addWidget(c.DisconnectButton, 0, 1);
    grid->addWidget(c.SetBaudButton, 1, 0);
    grid->addWidget(c.OpenTerminalButton, 1, 1);
    grid->addWidget(c.StatusCheck, 2, 0, 1, 2);
    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(c.StatusLabel, 1);
    statusRow->addWidget(c.DataShape);
    statusRow->addWidget(c.DataLabel);
    grid->addLayout(statusRow, 3, 0, 1, 2);
    return frame;
}

QWidget *MainFormCentralWidget::buildSavingFrame(MainFormControls &c)
{
    c.SavingFrame = named(new QGroupBox(tr("Save to File"), this), "SavingFrame");
    QGroupBox *frame = c.SavingFrame;
    c.NewFileButton = named(new QPushButton(tr("New File..."), frame), "NewFileButton");
    c.StopSavingButton = named(new QPushButton(tr("Stop Saving"), frame), "StopSavingButton");
    c.SavingLabel = named(new QLabel(tr("No file open."), frame), "SavingLabel");
    // The width kept for the saving line with the longest file name.
    c.SavingLabel->setMinimumWidth(textWidth(c.SavingLabel, tr("Saving to \"")) +
                                   //: Not shown: the widest file name, measured for its width.
                                   textWidth(c.SavingLabel, tr("MMMMMMMMMMMM.raw\"")));

    auto *grid = new QGridLayout(frame);
    grid->addWidget(c.NewFileButton, 0, 0);
    grid->addWidget(c.StopSavingButton, 0, 1);
    grid->addWidget(c.SavingLabel, 1, 0, 1, 2);
    return frame;
}

QWidget *MainFormCentralWidget::buildSamplingFrame(MainFormControls &c)
{
    c.SamplingFrame = named(new QGroupBox(tr("Sampling"), this), "SamplingFrame");
    QGroupBox *frame = c.SamplingFrame;
    c.SampleOnceButton = named(new QPushButton(tr("Sample Once"), frame), "SampleOnceButton");
    c.StartSamplingButton =
        named(new QPushButton(tr("Start Periodic"), frame), "StartSamplingButton");
    c.StopSamplingButton = named(new QPushButton(tr("Stop"), frame), "StopSamplingButton");

    c.SampleDelayText = shortTextBox(frame, "SampleDelayText", QStringLiteral("10"), 6);
    auto *delayLabel = named(new QLabel(tr("Minimum period (sec):"), frame), "SampleDelayLabel");
    delayLabel->setBuddy(c.SampleDelayText);
    c.SampleDelayText->setAccessibleName(tr("Minimum period (sec)"));

    c.AverageCheck =
        named(new QCheckBox(tr("Average multiple spectra in each sample:"), frame), "AverageCheck");
    c.AverageSamplesText = shortTextBox(frame, "AverageSamplesText", QStringLiteral("10"), 6);
    c.AverageSamplesText->setAccessibleName(tr("Spectra averaged in each sample"));

    c.StoreInFlashCheck =
        named(new QCheckBox(tr("Store samples in Orvantis flash"), frame), "StoreInFlashCheck");
    c.FlashFilenameText = shortTextBox(frame, "FlashFilenameText", QString(), 10);
    auto *flashLabel = named(new QLabel(tr("Flash file name:  "), frame), "FlashFilenameLabel");
    flashLabel->setBuddy(c.FlashFilenameText);
    c.FlashFilenameText->setAccessibleName(tr("Flash file name"));

    c.StoreInComputerCheck = named(
        new QCheckBox(tr("Send samples to this computer (stored in currently open file)"), frame),
        "StoreInComputerCheck");
    c.StoreInComputerCheck->setChecked(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(c.SampleOnceButton);
    buttons->addWidget(c.StartSamplingButton);
    buttons->addWidget(c.StopSamplingButton);

    auto *grid = new QGridLayout(frame);
    grid->setColumnStretch(2, 1);
    grid->addLayout(buttons, 0, 0, 1, 3);
    grid->addWidget(delayLabel, 1, 0);
    grid->addWidget(c.SampleDelayText, 1, 1);
    grid->addWidget(c.AverageCheck, 2, 0);
    grid->addWidget(c.AverageSamplesText, 2, 1);
    grid->addWidget(c.StoreInFlashCheck, 3, 0, 1, 3);
    auto *flashRow = new QHBoxLayout;
    flashRow->addSpacing(20);
    flashRow->addWidget(flashLabel);
    flashRow->addWidget(c.FlashFilenameText);
    flashRow->addStretch(1);
    grid->addLayout(flashRow, 4, 0, 1, 3);
    grid->addWidget(c.StoreInComputerCheck, 5, 0, 1, 3);
    return frame;
}

void MainFormCentralWidget::buildInstrumentPanels(MainFormControls &c)
{
    InstrumentPanelWidget::Names thermal;
    thermal.frame = QStringLiteral("ThermalFrame");
    thermal.onCheck = QStringLiteral("ThermalOnCheck");
    thermal.shape = QStringLiteral("ThermalOKShape");
    thermal.labels.fill(QStringLiteral("ThermalControlLabel"));
    thermal.ambientLabel = QStringLiteral("AmbientTempLabel");
    c.ThermalFrame = new InstrumentPanelWidget(tr("Thermal Control"), thermal, this);
    c.ThermalOnCheck = c.ThermalFrame->onCheck();
    c.AmbientTempLabel = c.ThermalFrame->ambientLabel();

    InstrumentPanelWidget::Names light;
    light.frame = QStringLiteral("LightSourceFrame");
    light.onCheck = QStringLiteral("LightOnCheck");
    light.shape = QStringLiteral("LightOKShape");
    light.labels = {QStringLiteral("LightlControlLabel"), QStringLiteral("LightControlLabel"),
                    QStringLiteral("LightControlLabel")};
    c.LightSourceFrame = new InstrumentPanelWidget(tr("Light Source"), light, this);
    c.LightOnCheck = c.LightSourceFrame->onCheck();

    for (int i = 0; i < 3; ++i) {
        const auto at = static_cast<size_t>(i);
        c.ThermalOKShape[at] = c.ThermalFrame->shape(i);
        c.ThermalControlLabel[at] = c.ThermalFrame->label(i);
        c.LightOKShape[at] = c.LightSourceFrame->shape(i);
        c.LightControlLabel[at] = c.LightSourceFrame->label(i);
    }
}
