#pragma once

#include "features/status/StatusPanels.h"
#include "features/status/StatusParseResult.h"
#include "features/status/StatusReplyOrder.h"
#include "features/status/StatusSwitch.h"
#include "session/LinkStatus.h"

#include <QByteArray>
#include <QCoreApplication>
#include <functional>

// Reads the instrument's status line ("st:" reply) into the Thermal Control and Light Source
// panels and chooses the status poll interval. The panels live here between lines because
// the settling lamp alternates by its current colour.
class StatusParser
{
    Q_DECLARE_TR_FUNCTIONS(StatusParser)

public:
    static constexpr int kSettlingIntervalMs = 3000;
    static constexpr int kStableIntervalMs = 30000;

    explicit StatusParser(LinkStatus &status);

    // The caption under the panels for an ambient temperature as the line gives it.
    static QString ambientCaption(const QString &temperature);

    // Called when a status line reports a subsystem on while its "Enable" box is unchecked.
    // The window checks the box, which runs the box's change handling (the power-on command
    // and a nested status query) before this parse goes on, just as an operator's click.
    void setSwitchCheckedHandler(std::function<void(StatusSwitch)> handler)
    {
        m_switchChecked = std::move(handler);
    }

    // The window reports every change of an "Enable" box here (operator's click, restored
    // value, or the handler above), so the parser knows whether checking it is a change.
    void setSwitchChecked(StatusSwitch which, bool checked);

    // Shows one status line; an empty reply, or a call while not connected, puts all lamps
    // out and disables the two "Enable" boxes. A box that `hold` names is not checked by
    // this line: the line was asked for before the operator's last switch of it.
    StatusParseResult ParseStatus(const QByteArray &reply, StatusReplyOrder::Hold hold = {});

    const StatusPanels &panels() const { return m_panels; }

private:
    StatusPanels::Panel &panel(StatusSwitch which);
    void switchOn(StatusSwitch which, StatusReplyOrder::Hold hold);
    void showThermal(bool on, bool stable, double deviation, StatusReplyOrder::Hold hold);
    void showLight(bool on, qint32 lightSeconds, StatusReplyOrder::Hold hold);

    LinkStatus &m_status;
    StatusPanels m_panels;
    std::function<void(StatusSwitch)> m_switchChecked;
};
