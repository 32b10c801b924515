#pragma once

#include "link/BaudRateChange.h"

#include <QDialog>

class OperatorDialogs;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// "Set Baud Rate": changes the rate of the link on both ends and, when asked, makes it the
// instrument's start-up rate. Shown modally with status polling paused.
class SetBaudForm : public QDialog
{
    Q_OBJECT
public:
    static const QList<int> kRates;

    SetBaudForm(CommPort &Comm1, CommandTransaction &transaction, OperatorDialogs &dialogs,
                QWidget *parent = nullptr);

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
    CommPort &m_comm;
    OperatorDialogs &m_dialogs;
    BaudRateChange m_change;
    // A command is under way: its wait lets clicks and activations in, which must not start
    // another one ("Set Rate" is shown disabled meanwhile).
    bool m_busy = false;
    bool m_ratesShown = false;
};
