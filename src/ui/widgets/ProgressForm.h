#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// Modeless progress window of a long job. The owner sets the title, MsgLabel and the bars,
// clears CancelFlag when a phase begins and polls it while letting events run; "Stop"
// (also Escape and the close box) only raises the flag, the owner decides when to end.
class ProgressForm : public QDialog
{
    Q_OBJECT

public:
    explicit ProgressForm(QWidget *owner = nullptr);

    QLabel *MsgLabel;
    QProgressBar *ProgressBar;
    QProgressBar *ProgressBar2;
    QLabel *ProgressTextLabel;
    QPushButton *StopButton;

    bool CancelFlag = false;

signals:
    // The operator asked to stop (CancelFlag has just been raised).
    void stopRequested();

public slots:
    void reject() override;
};
