#pragma once

#include "features/status/StatusSample.h"

#include <QWidget>

#include <array>

class OperatorDialogs;
class QAreaSeries;
class QChart;
class QChartView;
class QDateTimeAxis;
class QLabel;
class QLineSeries;
class QValueAxis;
class StatusHistory;

// "Status History": the session's status lines as a chart over time: ambient temperature and
// thermal deviation (C, left), light-source time left (min, right), and the thermal and
// light states as coloured bands along the bottom. The pointer shows the nearest line's
// values. While hidden it does no chart work; it catches up when shown.
class StatusHistoryWindow : public QWidget
{
    Q_OBJECT
public:
    StatusHistoryWindow(StatusHistory &history, OperatorDialogs &dialogs,
                        QWidget *parent = nullptr);

    // Where the export's file chooser starts.
    void setExportFolder(const QString &folder) { m_exportFolder = folder; }

    // Shows the values of the line nearest to `time` (the pointer's place on the chart).
    void showValuesAt(const QDateTime &time);
    QString valuesText() const;

    // "Export CSV...": asks for a file and writes the history there.
    void exportCsv();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Three bands per subsystem, one per state, each an area over a step line.
    using Bands = std::array<QAreaSeries *, 3>;

    void historyChanged();
    void refresh();
    void fillBands(const Bands &bands, StatusSample::State StatusSample::*state, double bottom,
                   double top);
    // `name` names the bands' objects; `caption` shows each with its state for %1.
    Bands makeBands(const QString &name, const QString &caption);

    StatusHistory &m_history;
    OperatorDialogs &m_dialogs;
    QString m_exportFolder;
    bool m_stale = true;
    bool m_refreshQueued = false;

    QChart *m_chart;
    QChartView *m_view;
    QLabel *m_values;
    QDateTimeAxis *m_timeAxis;
    QValueAxis *m_celsiusAxis;
    QValueAxis *m_minutesAxis;
    QValueAxis *m_bandAxis;
    QLineSeries *m_ambient;
    QLineSeries *m_deviation;
    QLineSeries *m_light;
    Bands m_thermalBands{};
    Bands m_lightBands{};
};
