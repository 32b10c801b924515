#include "features/status/StatusParser.h"

#include "support/RoundHalfEven.h"
#include "support/StringCode.h"

namespace
{
constexpr double kCoolingFrom = 1.0;
constexpr double kWarmingFrom = -1.0;
constexpr qint32 kMinutesShownBelow = 3600;

QString oneDecimal(double value)
{
    return QString::number(value, 'f', 1);
}

void setLamps(StatusPanels::Panel &panel, LampColour top, LampColour middle, LampColour bottom)
{
    panel.rows[2].lamp = top;
    panel.rows[1].lamp = middle;
    panel.rows[0].lamp = bottom;
}

void enableLitLabels(StatusPanels::Panel &panel)
{
    for (StatusPanels::Row &row : panel.rows)
        row.labelEnabled = isLit(row.lamp);
}
} // namespace

QString StatusParser::ambientCaption(const QString &temperature)
{
    return tr("Ambient: %1").arg(temperature);
}

StatusParser::StatusParser(LinkStatus &status) : m_status(status)
{
}

void StatusParser::setSwitchChecked(StatusSwitch which, bool checked)
{
    panel(which).checked = checked;
}

StatusPanels::Panel &StatusParser::panel(StatusSwitch which)
{
    return which == StatusSwitch::Thermal ? m_panels.thermal : m_panels.light;
}

StatusParseResult StatusParser::ParseStatus(const QByteArray &reply, StatusReplyOrder::Hold hold)
{
    StatusParseResult result;
    if (reply.isEmpty() || m_status.Status() == StatusCode::NotConnected) {
        for (StatusPanels::Panel *p : {&m_panels.thermal, &m_panels.light}) {
            setLamps(*p, LampColour::Unlit, LampColour::Unlit, LampColour::Unlit);
            p->checkEnabled = false;
        }
        return result;
    }

    // Any status line proves that the instrument answers again.
    if (m_status.Status() == StatusCode::NoResponse)
        m_status.SetStatus(StatusCode::Idle);

    m_panels.thermal.checkEnabled = true;
    m_panels.light.checkEnabled = true;

    const bool thermalOn = reply.mid(5, 2) == "11";
    const bool lightOn = reply.size() > 3 && reply.at(3) == '1';
    const bool thermallyStable = reply.contains(",1,");
    const double deviation = LeadingNumber(GetField(reply, 1));
    const qint32 lightSeconds = roundHalfEvenToInt32(LeadingNumber(GetField(reply, 3)));
    // The last field runs to the end of the text handed over; its line end is no part of
    // the temperature (and would grow the window by a line).
    QByteArray ambient = GetField(reply, 4);
    while (ambient.endsWith('\r') || ambient.endsWith('\n'))
        ambient.chop(1);

    if (!ambient.isEmpty())
        m_panels.ambientCaption = ambientCaption(QString::fromLatin1(ambient));

    showThermal(thermalOn, thermallyStable, deviation, hold);
    showLight(lightOn, lightSeconds, hold);

    // Only the stability tests decide the poll rate, not the on/off flags.
    result.fullyStable = thermallyStable && lightSeconds <= 0;
    result.statusTimerInterval = result.fullyStable ? kStableIntervalMs : kSettlingIntervalMs;
    return result;
}

// Checking a box that is already checked is no change and runs nothing. A line asked for
// before the operator's switch shows the old state and must not undo the click.
void StatusParser::switchOn(StatusSwitch which, StatusReplyOrder::Hold hold)
{
    StatusPanels::Panel &p = panel(which);
    if (p.checked || hold.holds(which))
        return;
    p.checked = true;
    if (m_switchChecked)
        m_switchChecked(which);
}

void StatusParser::showThermal(bool on, bool stable, double deviation, StatusReplyOrder::Hold hold)
{
    StatusPanels::Panel &thermal = m_panels.thermal;
    if (on) {
        // May run a nested query whose own line updates the panels before this one goes on.
        switchOn(StatusSwitch::Thermal, hold);
        if (stable) {
            setLamps(thermal, LampColour::Green, LampColour::Unlit, LampColour::Unlit);
        } else {
            // The middle lamp blinks yellow/amber, one step per line, while settling.
            const LampColour next =
                thermal.rows[1].lamp == LampColour::Yellow ? LampColour::Amber : LampColour::Yellow;
            setLamps(thermal, LampColour::Unlit, next, LampColour::Unlit);
        }
        QString caption = tr("Stabilizing (%1C)");
        if (deviation >= kCoolingFrom)
            caption = tr("Cooling (%1C)");
        else if (deviation <= kWarmingFrom)
            caption = tr("Warming (%1C)");
        thermal.rows[1].caption = caption.arg(oneDecimal(deviation));
    } else {
        setLamps(thermal, LampColour::Unlit, LampColour::Unlit, LampColour::Red);
    }
    enableLitLabels(thermal);
}

void StatusParser::showLight(bool on, qint32 lightSeconds, StatusReplyOrder::Hold hold)
{
    StatusPanels::Panel &light = m_panels.light;
    if (on) {
        switchOn(StatusSwitch::Light, hold);
        if (lightSeconds > 0)
            setLamps(light, LampColour::Unlit, LampColour::Yellow, LampColour::Unlit);
        else
            setLamps(light, LampColour::Green, LampColour::Unlit, LampColour::Unlit);
        if (lightSeconds > 0 && lightSeconds < kMinutesShownBelow)
            light.rows[1].caption =
                tr("Stabilizing (%1 min.)").arg(oneDecimal(lightSeconds / 60.0));
        else
            light.rows[1].caption = tr("Stabilizing");
    } else {
        setLamps(light, LampColour::Unlit, LampColour::Unlit, LampColour::Red);
    }
    enableLitLabels(light);
}
