#include "ui/status/SetTimeForm.h"

#include "ui/widgets/DisabledWhileBusy.h"

#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace
{
const QString kDateFormat = QStringLiteral("MM/dd/yyyy");
const QString kTimeFormat = QStringLiteral("HH:mm:ss");

template <typename Edit> Edit *makeEdit(const QString &name, const QString &format, QWidget *parent)
{
    auto *edit = new Edit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(format);
    return edit;
}

QPushButton *makeButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QGroupBox *makeFrame(const QString &name, const QString &caption, QDateEdit *date, QTimeEdit *time,
                     QPushButton *button, QWidget *parent)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    auto *layout = new QGridLayout(frame);
    layout->addWidget(date, 0, 0);
    layout->addWidget(time, 0, 1);
    layout->addWidget(button, 1, 0, 1, 2);
    return frame;
}
} // namespace

SetTimeForm::SetTimeForm(Line &line, QWidget *parent)
    : QDialog(parent), m_clock(line), m_computerNow([] { return QDateTime::currentDateTime(); })
{
    setWindowTitle(tr("Orvantis Real-Time Clock"));
    if (parent)
        setWindowIcon(parent->window()->windowIcon());

    DatePicker1 = makeEdit<QDateEdit>(QStringLiteral("DatePicker1"), kDateFormat, this);
    TimePicker1 = makeEdit<QTimeEdit>(QStringLiteral("TimePicker1"), kTimeFormat, this);
    RefreshButton = makeButton(QStringLiteral("RefreshButton"), tr("Refresh"), this);
    Frame1 = makeFrame(QStringLiteral("Frame1"), tr("Current Orvantis Time"), DatePicker1,
                       TimePicker1, RefreshButton, this);

    DatePicker2 = makeEdit<QDateEdit>(QStringLiteral("DatePicker2"), kDateFormat, this);
    TimePicker2 = makeEdit<QTimeEdit>(QStringLiteral("TimePicker2"), kTimeFormat, this);
    SetTimeButton = makeButton(QStringLiteral("SetTimeButton"), tr("Set Orvantis Time"), this);
    Frame2 = makeFrame(QStringLiteral("Frame2"), tr("Manual Time Setting"), DatePicker2,
                       TimePicker2, SetTimeButton, this);

    ComputerDatePicker =
        makeEdit<QDateEdit>(QStringLiteral("ComputerDatePicker"), kDateFormat, this);
    ComputerTimePicker =
        makeEdit<QTimeEdit>(QStringLiteral("ComputerTimePicker"), kTimeFormat, this);
    SetToComputerTimeButton =
        makeButton(QStringLiteral("SetToComputerTimeButton"), tr("Set Orvantis Time"), this);
    Frame3 = makeFrame(QStringLiteral("Frame3"), tr("This Computer's Time"), ComputerDatePicker,
                       ComputerTimePicker, SetToComputerTimeButton, this);

    // Like the date-time pickers they stand for, every field starts at today's date and time.
    const QDateTime now = m_computerNow();
    for (QDateEdit *date : {DatePicker1, DatePicker2, ComputerDatePicker})
        date->setDate(now.date());
    for (QTimeEdit *time : {TimePicker1, TimePicker2, ComputerTimePicker})
        time->setTime(now.time());

    auto *frames = new QVBoxLayout(this);
    frames->addWidget(Frame1);
    frames->addWidget(Frame2);
    frames->addWidget(Frame3);

    connect(RefreshButton, &QPushButton::clicked, this, [this] {
        if (!m_busy)
            GetDateTime();
    });
    connect(SetTimeButton, &QPushButton::clicked, this, &SetTimeForm::SetTimeButton_Click);
    connect(SetToComputerTimeButton, &QPushButton::clicked, this,
            &SetTimeForm::SetToComputerTimeButton_Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTickMs);
    connect(Timer1, &QTimer::timeout, this, &SetTimeForm::Timer1_Timer);
    Timer1->start();
}

void SetTimeForm::setComputerClock(std::function<QDateTime()> now)
{
    m_computerNow = std::move(now);
}

void SetTimeForm::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_busy)
        GetDateTime();
}

void SetTimeForm::GetDateTime()
{
    const DisabledWhileBusy busy(m_busy, {RefreshButton, SetTimeButton, SetToComputerTimeButton});
    QDate date;
    QTime time;
    if (!m_clock.read(&date, &time))
        return;
    DatePicker1->setDate(date);
    TimePicker1->setTime(time);
}

void SetTimeForm::setInstrumentClock(const QDate &date, QTimeEdit *timePicker)
{
    if (m_busy)
        return;
    // Only the time of day counts; whatever date the time field carries is dropped.
    const QTime time = timePicker->time();
    timePicker->setTime(time);
    const DisabledWhileBusy busy(m_busy, {RefreshButton, SetTimeButton, SetToComputerTimeButton});
    m_clock.set(date, time);
    GetDateTime();
}

void SetTimeForm::SetTimeButton_Click()
{
    setInstrumentClock(DatePicker2->date(), TimePicker2);
}

void SetTimeForm::SetToComputerTimeButton_Click()
{
    setInstrumentClock(ComputerDatePicker->date(), ComputerTimePicker);
}

void SetTimeForm::Timer1_Timer()
{
    // The date stays as read, also when the time passes midnight.
    TimePicker1->setTime(TimePicker1->time().addSecs(1));
    const QDateTime now = m_computerNow();
    ComputerTimePicker->setTime(now.time());
    ComputerDatePicker->setDate(now.date());
}
