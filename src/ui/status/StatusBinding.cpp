#include "ui/status/StatusBinding.h"

#include "session/InstrumentSession.h"
#include "ui/widgets/IndicatorLamp.h"

#include <QCheckBox>
#include <QLabel>

StatusBinding::StatusBinding(InstrumentSession &session, const MainFormControls &controls,
                             OperatorDialogs &dialogs, QObject *parent)
    : QObject(parent), m_session(session), m_controls(controls), m_dialogs(dialogs),
      m_monitor(session)
{
    const MainFormControls &c = controls;
    m_monitor.setSwitchChecked(StatusSwitch::Thermal, c.ThermalOnCheck->isChecked());
    m_monitor.setSwitchChecked(StatusSwitch::Light, c.LightOnCheck->isChecked());
    connect(&m_monitor, &StatusMonitor::switchCheckRequested, this, [c](StatusSwitch which) {
        (which == StatusSwitch::Thermal ? c.ThermalOnCheck : c.LightOnCheck)->setChecked(true);
    });
    connect(&m_monitor, &StatusMonitor::panelsChanged, this, &StatusBinding::applyPanels);
    // toggled, not clicked: a box checked by the parser or by the restored settings runs
    // the same handling as the operator's click.
    connect(c.ThermalOnCheck, &QCheckBox::toggled, this,
            [this](bool on) { m_monitor.switchChanged(StatusSwitch::Thermal, on); });
    connect(c.LightOnCheck, &QCheckBox::toggled, this,
            [this](bool on) { m_monitor.switchChanged(StatusSwitch::Light, on); });
    connect(&session, &InstrumentSession::lineOwnerChanged, this, &StatusBinding::enableSwitches);
}

void StatusBinding::askStatusRate()
{
    m_monitor.askStatusRate(m_dialogs);
}

void StatusBinding::applyPanels(const StatusPanels &panels)
{
    const MainFormControls &c = m_controls;
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
    enableSwitches();
}

void StatusBinding::enableSwitches()
{
    const StatusPanels &panels = m_monitor.panels();
    const bool free = m_session.lineFree();
    m_controls.ThermalOnCheck->setEnabled(panels.thermal.checkEnabled && free);
    m_controls.LightOnCheck->setEnabled(panels.light.checkEnabled && free);
}
