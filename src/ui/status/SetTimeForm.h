#pragma once

#include "features/status/InstrumentClock.h"

#include <QDateTime>
#include <QDialog>
#include <QTimer>

#include <functional>

class QDateEdit;
class QGroupBox;
class QPushButton;
class QTimeEdit;

// "Orvantis Real-Time Clock": shows the instrument's clock (read, then counted on locally
// every second) beside the computer's, and sets the instrument's clock to a typed date and
// time or to the computer's. Shown modally with status polling paused.
class SetTimeForm : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kTickMs = 1000;

    explicit SetTimeForm(Line &line, QWidget *parent = nullptr);

    // Reads the instrument's clock into DatePicker1 and TimePicker1; without an answer they
    // keep what they showed.
    void GetDateTime();
    void SetTimeButton_Click();
    void SetToComputerTimeButton_Click();
    void Timer1_Timer();

    // Where the computer's date and time come from (tests set a fixed one).
    void setComputerClock(std::function<QDateTime()> now);

    QGroupBox *Frame1;
    QDateEdit *DatePicker1;
    QTimeEdit *TimePicker1;
    QPushButton *RefreshButton;
    QGroupBox *Frame2;
    QDateEdit *DatePicker2;
    QTimeEdit *TimePicker2;
    QPushButton *SetTimeButton;
    QGroupBox *Frame3;
    QDateEdit *ComputerDatePicker;
    QTimeEdit *ComputerTimePicker;
    QPushButton *SetToComputerTimeButton;
    QTimer *Timer1;

protected:
    void changeEvent(QEvent *event) override;

private:
    void setInstrumentClock(const QDate &date, QTimeEdit *timePicker);

    InstrumentClock m_clock;
    std::function<QDateTime()> m_computerNow;
    // A command is under way: its wait lets clicks and activations in, which must not start
    // another one. The three buttons are shown disabled meanwhile.
    bool m_busy = false;
};
