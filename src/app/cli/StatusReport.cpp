#include "app/cli/StatusReport.h"

#include <QRegularExpression>

#include "features/status/StatusParser.h"

namespace
{
// The lamps' meanings, indexed as the rows: 0 bottom, 1 middle, 2 top.
const char *const kStates[] = {"off", "stabilizing", "stable"};
} // namespace

StatusReport::StatusReport(const StatusPanels &panels, const QByteArray &line)
    : m_thermal(read(panels.thermal)), m_light(read(panels.light)), m_line(line.trimmed())
{
    m_ambient = panels.ambientCaption;
    const QString prefix = StatusParser::ambientCaption(QString());
    if (m_ambient.startsWith(prefix))
        m_ambient.remove(0, prefix.size());
}

StatusReport::Panel StatusReport::read(const StatusPanels::Panel &panel)
{
    for (int row = 2; row >= 0; --row) {
        if (isLit(panel.rows[size_t(row)].lamp))
            return {QLatin1String(kStates[row]), panel.rows[size_t(row)].caption};
    }
    return {QStringLiteral("unknown"), QString()};
}

// The ambient temperature's number ("21.5 C at the housing sensor" gives 21.5); null when
// the instrument gave none.
QJsonValue StatusReport::ambientNumber() const
{
    static const QRegularExpression number(QStringLiteral("^\\s*([-+]?\\d+(\\.\\d+)?)"));
    const QRegularExpressionMatch match = number.match(m_ambient);
    return match.hasMatch() ? QJsonValue(match.captured(1).toDouble()) : QJsonValue();
}

QJsonObject StatusReport::document() const
{
    const auto panel = [](const Panel &p) {
        return QJsonObject{{QStringLiteral("state"), p.state}, {QStringLiteral("text"), p.text}};
    };
    return {{QStringLiteral("thermal"), panel(m_thermal)},
            {QStringLiteral("light"), panel(m_light)},
            {QStringLiteral("ambient"), ambientNumber()},
            {QStringLiteral("ambientText"), m_ambient},
            {QStringLiteral("stable"), m_thermal.state == QLatin1String("stable") &&
                                           m_light.state == QLatin1String("stable")},
            {QStringLiteral("line"), QString::fromLatin1(m_line)}};
}

QStringList StatusReport::lines() const
{
    return {tr("Thermal Control:  %1").arg(m_thermal.text),
            tr("Light Source:     %1").arg(m_light.text),
            tr("Ambient:          %1").arg(m_ambient)};
}
