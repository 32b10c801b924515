#include "ui/sampling/SamplingBinding.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

SamplingBinding::SamplingBinding(InstrumentSession &session, const MainFormControls &controls,
                                 OperatorDialogs &dialogs, QObject *parent)
    : QObject(parent), m_controls(controls), m_sampling(session, dialogs), m_files(session, dialogs)
{
    const MainFormControls &c = controls;
    connect(c.SampleOnceButton, &QPushButton::clicked, this,
            [this] { m_sampling.SampleOnce(settings()); });
    connect(c.StartSamplingButton, &QPushButton::clicked, this,
            [this] { m_sampling.StartPeriodic(settings()); });
    connect(c.StopSamplingButton, &QPushButton::clicked, this, [this] { m_sampling.Stop(); });
    connect(c.FlashFilenameText, &QLineEdit::textChanged, this, [this, c](const QString &text) {
        const QString kept = m_sampling.FlashFilenameChanged(text);
        if (kept != text)
            c.FlashFilenameText->setText(kept);
    });
    connect(&m_sampling, &SamplingController::savingWarningChanged, this,
            &SamplingBinding::showSavingWarning);

    connect(c.NewFileButton, &QPushButton::clicked, this, [this] { m_files.NewFileClicked(); });
    connect(c.StopSavingButton, &QPushButton::clicked, this,
            [this] { m_files.StopSavingClicked(); });
    connect(&m_files, &DataFileController::savingLabelTextChanged, c.SavingLabel, &QLabel::setText);
}

SamplingSettings SamplingBinding::settings() const
{
    const MainFormControls &c = m_controls;
    SamplingSettings s;
    // A greyed box counts as ticked: only an unticked box is off.
    s.average = c.AverageCheck->checkState() != Qt::Unchecked;
    s.averageSamples = c.AverageSamplesText->text();
    s.storeInFlash = c.StoreInFlashCheck->checkState() != Qt::Unchecked;
    s.flashFileName = c.FlashFilenameText->text();
    s.storeInComputer = c.StoreInComputerCheck->checkState() != Qt::Unchecked;
    s.sampleDelay = c.SampleDelayText->text();
    return s;
}

void SamplingBinding::showSavingWarning(bool on)
{
    QLabel *label = m_controls.SavingLabel;
    QFont font = label->font();
    font.setBold(on);
    label->setFont(font);
    label->setStyleSheet(on ? QStringLiteral("color: rgb(255, 0, 0);") : QString());
}
