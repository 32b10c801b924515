#include "ui/connection/SetBaudForm.h"

#include "session/LineClaim.h"
#include "session/PortSearch.h"
#include "support/OperatorDialogs.h"
#include "ui/widgets/DisabledWhileBusy.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

SetBaudForm::SetBaudForm(LineClaim &line, OperatorDialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_line(line), m_dialogs(dialogs), m_change(line)
{
    setWindowTitle(tr("Set Baud Rate"));
    if (parent)
        setWindowIcon(parent->window()->windowIcon());

    Label1 = new QLabel(tr("Baud Rate:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    BaudCombo = new QComboBox(this);
    BaudCombo->setObjectName(QStringLiteral("BaudCombo"));
    BaudCombo->setEditable(true);
    BaudCombo->setInsertPolicy(QComboBox::NoInsert);
    for (const QString &rate : PortSearch::kBaudRates)
        BaudCombo->addItem(rate, rate.toInt());
    Label1->setBuddy(BaudCombo);
    StartupRateLabel = new QLabel(QStringLiteral("[code]"), this);
    StartupRateLabel->setObjectName(QStringLiteral("StartupRateLabel"));
    DefaultCheck = new QCheckBox(tr("Make this the startup rate"), this);
    DefaultCheck->setObjectName(QStringLiteral("DefaultCheck"));
    SetBaudButton = new QPushButton(tr("Set Rate"), this);
    SetBaudButton->setObjectName(QStringLiteral("SetBaudButton"));
    SetBaudButton->setDefault(true);
    CancelButton = new QPushButton(tr("Close"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);

    connect(SetBaudButton, &QPushButton::clicked, this, &SetBaudForm::SetBaudButton_Click);
    // Escape reaches reject() too.
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(BaudCombo, 0, 1);
    fields->addWidget(StartupRateLabel, 1, 0, 1, 2);
    fields->addWidget(DefaultCheck, 2, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SetBaudButton);
    buttons->addWidget(CancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
}

void SetBaudForm::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // Only the first activation: coming back from a message of its own (or from another
    // window) must not put the port's rate over what the operator typed.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_busy && !m_ratesShown) {
        m_ratesShown = true;
        showRates();
    }
}

void SetBaudForm::showRates()
{
    const DisabledWhileBusy busy(m_busy, {SetBaudButton});
    const int index =
        BaudRateChange::rateIndexInSettings(PortSearch::kBaudRates, m_line.settings());
    if (index >= 0)
        BaudCombo->setCurrentIndex(index);
    StartupRateLabel->setText(BaudRateChange::startupRateLabel(m_change.queryStartupRate()));
}

void SetBaudForm::SetBaudButton_Click()
{
    if (m_busy)
        return;
    const DisabledWhileBusy busy(m_busy, {SetBaudButton});
    const BaudRateChange::Outcome outcome = m_change.change(BaudCombo->currentText());
    if (!m_line.portOpen()) {
        // The line went during the exchange: the operator has been told that, and there is
        // no rate left to set.
        reject();
        return;
    }
    switch (outcome) {
    case BaudRateChange::Outcome::RateFixed:
        m_dialogs.ShowErrorMessage(
            BaudRateChange::rateFixedMessage(m_line.portNumber(), m_line.deviceName()));
        reject();
        return;
    case BaudRateChange::Outcome::NotANumber:
        m_dialogs.ShowErrorMessage(BaudRateChange::notANumberMessage(BaudCombo->currentText()));
        return;
    case BaudRateChange::Outcome::OutOfRange:
        reject();
        return;
    case BaudRateChange::Outcome::Refused:
        return;
    case BaudRateChange::Outcome::NotConfirmed:
        m_dialogs.ShowErrorMessage(
            BaudRateChange::notConfirmedMessage(m_change.rate(), m_change.previousRate()));
        return;
    case BaudRateChange::Outcome::Changed:
        break;
    }
    hide();
    if (DefaultCheck->isChecked()) {
        const int stored = m_change.storeStartupRate(m_change.rate());
        m_dialogs.showMessage(windowTitle(), BaudRateChange::storedMessage(stored));
    }
    accept();
}
