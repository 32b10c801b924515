#include "ui/status/StatusBinding.h"

#include "ui/mainwindow/MainForm.h"
#include "ui/status/InstrumentPanelWidget.h"
#include "ui/widgets/IndicatorLamp.h"

#include <QCheckBox>
#include <QLabel>

StatusBinding::StatusBinding(MainForm &form, OperatorDialogs &dialogs)
    : QObject(&form), m_form(form), m_dialogs(dialogs), m_parser(form),
      m_query(form.transaction(), form), m_polling(form.transaction(), form, m_query)
{
    const MainFormControls &c = form.controls();
    // A line is placed in the order when it arrives; it is shown later, with the hold it got
    // then (a command written in between does not change which "st" it answers).
    form.setStatusLineArrived([this] { m_holds.push_back(m_order.lineArrived()); });
    form.setParseStatus([this](const QByteArray &reply) {
        if (reply.isEmpty()) {
            m_order.reset();
            showLine(reply, {});
            return;
        }
        StatusReplyOrder::Hold hold = m_order.pending();
        if (!m_holds.empty()) {
            hold = m_holds.front();
            m_holds.pop_front();
        }
        showLine(reply, hold);
    });
    form.setQueryStatus([this] { m_query.QueryStatus(); });
    m_query.setReplyOrder(&m_order);

    m_parser.setSwitchChecked(StatusSwitch::Thermal, c.ThermalOnCheck->isChecked());
    m_parser.setSwitchChecked(StatusSwitch::Light, c.LightOnCheck->isChecked());
    m_parser.setSwitchCheckedHandler([c](StatusSwitch which) {
        (which == StatusSwitch::Thermal ? c.ThermalOnCheck : c.LightOnCheck)->setChecked(true);
    });
    // toggled, not clicked: a box checked by the parser or by the restored settings runs
    // the same handling as the operator's click.
    connect(c.ThermalOnCheck, &QCheckBox::toggled, this,
            [this](bool on) { switchClicked(StatusSwitch::Thermal, on); });
    connect(c.LightOnCheck, &QCheckBox::toggled, this,
            [this](bool on) { switchClicked(StatusSwitch::Light, on); });
    connect(&form, &MainForm::statusRateRequested, this, &StatusBinding::askStatusRate);
}

void StatusBinding::switchClicked(StatusSwitch which, bool on)
{
    m_parser.setSwitchChecked(which, on);
    m_order.switched(which);
    m_polling.switchChanged(which, on);
}

bool StatusBinding::ParseStatus(const QByteArray &reply)
{
    return showLine(reply, m_order.pending());
}

bool StatusBinding::showLine(const QByteArray &reply, StatusReplyOrder::Hold hold)
{
    if (!reply.isEmpty() && m_form.Status() != LinkStatus::NotConnected)
        emit statusLineSeen(reply);
    const StatusParseResult result = m_parser.ParseStatus(reply, hold);
    applyPanels(m_parser.panels());
    if (result.statusTimerInterval > 0)
        m_form.StatusTimer()->setInterval(result.statusTimerInterval);
    return result.fullyStable;
}

void StatusBinding::applyPanels(const StatusPanels &panels)
{
    const MainFormControls &c = m_form.controls();
    for (size_t i = 0; i < 3; ++i) {
        const StatusPanels::Row &thermal = panels.thermal.rows[i];
        c.ThermalOKShape[i]->setColour(thermal.lamp);
        c.ThermalOKShape[i]->setCaption(thermal.caption);
        c.ThermalControlLabel[i]->setText(thermal.caption);
        c.ThermalControlLabel[i]->setEnabled(thermal.labelEnabled);
        const StatusPanels::Row &light = panels.light.rows[i];
        c.LightOKShape[i]->setColour(light.lamp);
        c.LightOKShape[i]->setCaption(light.caption);
        c.LightControlLabel[i]->setText(light.caption);
        c.LightControlLabel[i]->setEnabled(light.labelEnabled);
    }
    if (!panels.ambientCaption.isEmpty())
        c.AmbientTempLabel->setText(panels.ambientCaption);
    c.ThermalOnCheck->setEnabled(panels.thermal.checkEnabled);
    c.LightOnCheck->setEnabled(panels.light.checkEnabled);
}

void StatusBinding::askStatusRate()
{
    QTimer *timer = m_form.StatusTimer();
    const StatusRateChange change = m_polling.askStatusRate(m_dialogs, timer->interval());
    switch (change.action) {
    case StatusRateChange::SetInterval:
        timer->setInterval(change.intervalMs);
        timer->start();
        break;
    case StatusRateChange::TimerOff:
        timer->stop();
        break;
    case StatusRateChange::Unchanged:
        break;
    }
}
