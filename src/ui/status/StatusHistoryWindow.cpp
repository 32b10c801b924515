#include "ui/status/StatusHistoryWindow.h"

#include "features/status/StatusHistory.h"
#include "support/OperatorDialogs.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace
{
// The bands sit in the lowest fifth of the plot; the value axes leave that fifth free.
constexpr double kLightBand[2] = {0.02, 0.10};
constexpr double kThermalBand[2] = {0.12, 0.20};
constexpr double kValueShare = 0.75;

const std::array<StatusSample::State, 3> kStates = {
    StatusSample::State::Off, StatusSample::State::Settling, StatusSample::State::Stable};

QColor bandColour(StatusSample::State state)
{
    switch (state) {
    case StatusSample::State::Off:
        return QColor(255, 0, 0, 110);
    case StatusSample::State::Settling:
        return QColor(255, 220, 0, 130);
    case StatusSample::State::Stable:
        return QColor(0, 200, 0, 110);
    }
    return QColor();
}

// Sets `axis` to [low, high] of the values with room below for the bands.
void fitAxis(QValueAxis *axis, const QList<QPointF> &a, const QList<QPointF> &b = {})
{
    double low = HUGE_VAL;
    double high = -HUGE_VAL;
    for (const QList<QPointF> *points : {&a, &b}) {
        for (const QPointF &p : *points) {
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
    }
    if (low > high) {
        low = 0;
        high = 1;
    }
    if (high - low < 1) {
        const double middle = (high + low) / 2;
        low = middle - 0.5;
        high = middle + 0.5;
    }
    const double span = (high - low) / kValueShare;
    axis->setRange(high - span, high + (high - low) * 0.05);
}

QLineSeries *addLine(QChart *chart, const QString &name, const char *objectName)
{
    auto *series = new QLineSeries(chart);
    series->setName(name);
    series->setObjectName(QLatin1String(objectName));
    chart->addSeries(series);
    return series;
}
} // namespace

StatusHistoryWindow::StatusHistoryWindow(StatusHistory &history, OperatorDialogs &dialogs,
                                         QWidget *parent)
    : QWidget(parent, Qt::Window), m_history(history), m_dialogs(dialogs), m_chart(new QChart),
      m_view(new QChartView(m_chart, this)), m_values(new QLabel(this)),
      m_timeAxis(new QDateTimeAxis(m_chart)), m_celsiusAxis(new QValueAxis(m_chart)),
      m_minutesAxis(new QValueAxis(m_chart)), m_bandAxis(new QValueAxis(m_chart))
{
    setObjectName(QStringLiteral("StatusHistoryWindow"));
    setWindowTitle(tr("Status History"));
    resize(820, 520);

    m_ambient = addLine(m_chart, tr("Ambient (C)"), "AmbientSeries");
    m_deviation = addLine(m_chart, tr("Thermal deviation (C)"), "DeviationSeries");
    m_light = addLine(m_chart, tr("Light source time left (min)"), "LightSeries");
    //: A band of the chart; %1 is the state: off, stabilizing or stable.
    m_thermalBands = makeBands(QStringLiteral("Thermal"), tr("Thermal %1"));
    //: A band of the chart; %1 is the state: off, stabilizing or stable.
    m_lightBands = makeBands(QStringLiteral("Light"), tr("Light %1"));

    m_timeAxis->setFormat(QStringLiteral("HH:mm:ss"));
    m_timeAxis->setTitleText(tr("Time"));
    //: The unit of the left axis: degrees Celsius.
    m_celsiusAxis->setTitleText(tr("C"));
    m_celsiusAxis->setLabelFormat(QStringLiteral("%.1f"));
    //: The unit of the right axis: minutes.
    m_minutesAxis->setTitleText(tr("min"));
    m_minutesAxis->setLabelFormat(QStringLiteral("%.1f"));
    m_bandAxis->setRange(0, 1);
    m_bandAxis->setVisible(false);
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_celsiusAxis, Qt::AlignLeft);
    m_chart->addAxis(m_minutesAxis, Qt::AlignRight);
    m_chart->addAxis(m_bandAxis, Qt::AlignRight);
    for (QAbstractSeries *series : m_chart->series()) {
        series->attachAxis(m_timeAxis);
        if (series == m_light)
            series->attachAxis(m_minutesAxis);
        else if (series == m_ambient || series == m_deviation)
            series->attachAxis(m_celsiusAxis);
        else
            series->attachAxis(m_bandAxis);
    }
    for (QAreaSeries *band : m_thermalBands)
        m_chart->legend()->markers(band).first()->setVisible(false);
    for (QAreaSeries *band : m_lightBands)
        m_chart->legend()->markers(band).first()->setVisible(false);
    m_chart->legend()->setAlignment(Qt::AlignTop);

    m_view->setObjectName(QStringLiteral("HistoryChart"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMouseTracking(true);
    m_view->viewport()->setMouseTracking(true);
    m_view->viewport()->installEventFilter(this);
    m_view->setAccessibleName(tr("Status history chart"));

    auto *key = new QLabel(tr("Bands along the bottom: thermal control (upper) and "
                              "light source (lower); green stable, yellow stabilizing, red off."),
                           this);
    key->setObjectName(QStringLiteral("BandKeyLabel"));
    key->setWordWrap(true);
    m_values->setObjectName(QStringLiteral("ValuesLabel"));
    m_values->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Room for the four lines of a description, so the chart does not jump on hover.
    m_values->setMinimumHeight(m_values->fontMetrics().lineSpacing() * 4 + 4);
    m_values->setText(tr("Point at the chart to see the values of a status line."));

    auto *exportButton = new QPushButton(tr("Export CSV..."), this);
    exportButton->setObjectName(QStringLiteral("ExportButton"));
    auto *closeButton = new QPushButton(tr("Close"), this);
    closeButton->setObjectName(QStringLiteral("CloseButton"));
    connect(exportButton, &QPushButton::clicked, this, &StatusHistoryWindow::exportCsv);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_values, 1);
    buttons->addWidget(exportButton, 0, Qt::AlignBottom);
    buttons->addWidget(closeButton, 0, Qt::AlignBottom);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addWidget(key);
    layout->addLayout(buttons);

    connect(&m_history, &StatusHistory::changed, this, &StatusHistoryWindow::historyChanged);
}

StatusHistoryWindow::Bands StatusHistoryWindow::makeBands(const QString &name,
                                                          const QString &caption)
{
    Bands bands{};
    for (size_t i = 0; i < kStates.size(); ++i) {
        auto *upper = new QLineSeries(m_chart);
        auto *lower = new QLineSeries(m_chart);
        auto *band = new QAreaSeries(upper, lower);
        band->setName(caption.arg(StatusSample::stateCaption(kStates[i])));
        band->setObjectName(name + StatusSample::stateName(kStates[i]) + QStringLiteral("Band"));
        band->setColor(bandColour(kStates[i]));
        band->setBorderColor(Qt::transparent);
        m_chart->addSeries(band);
        bands[i] = band;
    }
    return bands;
}

void StatusHistoryWindow::historyChanged()
{
    m_stale = true;
    if (!isVisible() || m_refreshQueued)
        return;
    // Lines that arrive together are drawn once.
    m_refreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_refreshQueued = false;
        if (isVisible() && m_stale)
            refresh();
    });
}

void StatusHistoryWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_stale)
        refresh();
}

void StatusHistoryWindow::refresh()
{
    m_stale = false;
    QList<QPointF> ambient;
    QList<QPointF> deviation;
    QList<QPointF> light;
    for (const StatusSample &s : m_history.samples()) {
        const auto x = double(s.time.toMSecsSinceEpoch());
        if (s.hasAmbient())
            ambient.append(QPointF(x, s.ambient));
        deviation.append(QPointF(x, s.deviation));
        light.append(QPointF(x, s.lightSeconds / 60.0));
    }
    m_ambient->replace(ambient);
    m_deviation->replace(deviation);
    m_light->replace(light);
    fillBands(m_thermalBands, &StatusSample::thermal, kThermalBand[0], kThermalBand[1]);
    fillBands(m_lightBands, &StatusSample::light, kLightBand[0], kLightBand[1]);

    fitAxis(m_celsiusAxis, ambient, deviation);
    fitAxis(m_minutesAxis, light);
    if (m_history.isEmpty()) {
        const QDateTime now = QDateTime::currentDateTime();
        m_timeAxis->setRange(now.addSecs(-60), now);
    } else {
        QDateTime first = m_history.samples().front().time.toLocalTime();
        QDateTime last = m_history.samples().back().time.toLocalTime();
        if (first.secsTo(last) < 60)
            last = first.addSecs(60);
        m_timeAxis->setRange(first, last);
    }
}

void StatusHistoryWindow::fillBands(const Bands &bands, StatusSample::State StatusSample::*state,
                                    double bottom, double top)
{
    const std::deque<StatusSample> &samples = m_history.samples();
    for (size_t i = 0; i < kStates.size(); ++i) {
        QList<QPointF> upper;
        QList<QPointF> lower;
        size_t run = 0;
        // One step per run of equal states: each line's state holds until the next line.
        while (run < samples.size()) {
            size_t end = run + 1;
            while (end < samples.size() && samples[end].*state == samples[run].*state)
                ++end;
            const double from = double(samples[run].time.toMSecsSinceEpoch());
            const double to =
                double(samples[std::min(end, samples.size() - 1)].time.toMSecsSinceEpoch());
            const double y = samples[run].*state == kStates[i] ? top : bottom;
            upper << QPointF(from, y) << QPointF(to, y);
            run = end;
        }
        if (!upper.isEmpty())
            lower << QPointF(upper.first().x(), bottom) << QPointF(upper.last().x(), bottom);
        bands[i]->upperSeries()->replace(upper);
        bands[i]->lowerSeries()->replace(lower);
    }
}

bool StatusHistoryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::MouseMove &&
        !m_history.isEmpty()) {
        const auto *move = static_cast<QMouseEvent *>(event);
        const QPointF inChart =
            m_chart->mapFromScene(m_view->mapToScene(move->position().toPoint()));
        if (m_chart->plotArea().contains(inChart)) {
            const QPointF value = m_chart->mapToValue(inChart, m_deviation);
            showValuesAt(QDateTime::fromMSecsSinceEpoch(qint64(value.x()), Qt::UTC));
            QToolTip::showText(move->globalPosition().toPoint(), valuesText(), m_view);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void StatusHistoryWindow::showValuesAt(const QDateTime &time)
{
    const int index = m_history.indexNearest(time);
    if (index >= 0)
        m_values->setText(m_history.at(index).describe());
}

QString StatusHistoryWindow::valuesText() const
{
    return m_values->text();
}

void StatusHistoryWindow::exportCsv()
{
    const QString start =
        QDir(m_exportFolder.isEmpty() ? QDir::homePath() : m_exportFolder)
            .filePath(QStringLiteral("status-history-") +
                      QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) +
                      QStringLiteral(".csv"));
    const QString path =
        m_dialogs.saveFileName(tr("Export Status History"), start,
                               tr("CSV Files (*.csv);;All Files (*.*)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(m_history.toCsv()) < 0 || !file.commit())
        m_dialogs.ShowErrorMessage(tr("The status history could not be written to %1: %2")
                                       .arg(QDir::toNativeSeparators(path), file.errorString()));
}
