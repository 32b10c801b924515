#pragma once

#include "features/status/StatusPanels.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>

// The Thermal Control and Light Source panels and the ambient temperature as the command
// line prints them: each panel's lit lamp by its meaning (stable, stabilizing, off) and the
// caption beside it, as the console shows it.
class StatusReport
{
    Q_DECLARE_TR_FUNCTIONS(StatusReport)

public:
    StatusReport(const StatusPanels &panels, const QByteArray &line);

    QJsonObject document() const;
    QStringList lines() const;

private:
    struct Panel {
        QString state;
        QString text;
    };
    static Panel read(const StatusPanels::Panel &panel);
    QJsonValue ambientNumber() const;

    Panel m_thermal;
    Panel m_light;
    QString m_ambient;
    QByteArray m_line;
};
