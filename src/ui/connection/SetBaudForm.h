#pragma once

#include "session/BaudRateChange.h"

#include <QDialog>

class LineClaim;
class OperatorDialogs;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// "Set Baud Rate": changes the rate of the link on both ends and, when asked, makes it the
// instrument's start-up rate. Shown modally, owning the line (so status polling is held).
class SetBaudForm : public QDialog
{
    Q_OBJECT
public:
    SetBaudForm(LineClaim &line, OperatorDialogs &dialogs, QWidget *parent = nullptr);

    // Selects the port's current rate and shows the instrument's start-up rate; runs when
    // the dialog first becomes active.
    void showRates();
    void SetBaudButton_Click();

    QLabel *Label1;
    QComboBox *BaudCombo;
    QLabel *StartupRateLabel;
    QCheckBox *DefaultCheck;
    QPushButton *SetBaudButton;
    QPushButton *CancelButton;

protected:
    void changeEvent(QEvent *event) override;

private:
    LineClaim &m_line;
    OperatorDialogs &m_dialogs;
    BaudRateChange m_change;
    // A command is under way: its wait lets clicks and activations in, which must not start
    // another one ("Set Rate" is shown disabled meanwhile).
    bool m_busy = false;
    bool m_ratesShown = false;
};
