// The "Status History" window opened from the main window's menu: fed by the status lines,
// drawn only while shown, values under the pointer, and the CSV export.
#include "testkit/StatusFormRig.h"
#include "testkit/TestSettings.h"
#include "ui/status/StatusHistoryBinding.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class StatusHistoryWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void menuItemOpensOneWindow();
    void statusLinesWhileConnectedAreRecorded();
    void chartIsDrawnOnlyWhileShown();
    void pointerShowsTheNearestLine();
    void exportWritesTheHistory_data();
    void exportWritesTheHistory();

private:
    int chartPoints(const char *series) const;
    void feed(int count);

    QTemporaryDir m_dir;
    std::unique_ptr<StatusFormRig> m_rig;
    StatusHistoryBinding *m_binding = nullptr;
    int m_fed = 0;
};

void StatusHistoryWindowTest::initTestCase()
{
    useTemporarySettings(m_dir.path());
}

void StatusHistoryWindowTest::init()
{
    m_rig = std::make_unique<StatusFormRig>();
    m_binding = new StatusHistoryBinding(*m_rig->form, *m_rig->status, m_rig->dialogs);
    m_fed = 0;
}

void StatusHistoryWindowTest::cleanup()
{
    m_rig.reset();
}

int StatusHistoryWindowTest::chartPoints(const char *series) const
{
    auto *view = m_binding->window()->findChild<QChartView *>(QStringLiteral("HistoryChart"));
    for (QAbstractSeries *s : view->chart()->series()) {
        if (s->objectName() == QLatin1String(series))
            return static_cast<QLineSeries *>(s)->count();
    }
    return -1;
}

// Lines as the receive loop hands them over, each one different so none is a repeat.
void StatusHistoryWindowTest::feed(int count)
{
    for (int i = 0; i < count; ++i, ++m_fed)
        m_rig->status->ParseStatus(QByteArray("st:1011,") + QByteArray::number(3.0 - m_fed * 0.1) +
                                   ",0," + QByteArray::number(600 - m_fed) + ",21.5\r\n");
}

void StatusHistoryWindowTest::menuItemOpensOneWindow()
{
    QAction *item = nullptr;
    for (QAction *action : m_rig->form->controls().CommunicationMenu->actions()) {
        if (action->objectName() == QLatin1String("StatusHistoryMenuItem"))
            item = action;
    }
    QVERIFY(item);
    QCOMPARE(item->text(), QStringLiteral("Status History..."));
    QCOMPARE(item, m_binding->menuItem());
    QVERIFY(!m_binding->window());

    item->trigger();
    StatusHistoryWindow *window = m_binding->window();
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->windowTitle(), QStringLiteral("Status History"));
    QVERIFY(window->findChild<QChartView *>(QStringLiteral("HistoryChart")));
    QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("ExportButton"))->text(),
             QStringLiteral("Export CSV..."));

    window->close();
    item->trigger();
    QCOMPARE(m_binding->window(), window);
    QVERIFY(window->isVisible());
}

void StatusHistoryWindowTest::statusLinesWhileConnectedAreRecorded()
{
    feed(2);
    QCOMPARE(m_binding->history().size(), 2);
    QCOMPARE(m_binding->history().at(1).lightSeconds, 599);
    // Ending the connection clears the panels with an empty reply: no line.
    m_rig->form->SetStatus(LinkStatus::NotConnected);
    m_rig->status->ParseStatus("st:1011,1,0,0,20\r");
    QCOMPARE(m_binding->history().size(), 2);
}

void StatusHistoryWindowTest::chartIsDrawnOnlyWhileShown()
{
    feed(3);
    m_binding->showWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m_binding->window()));
    QCOMPARE(chartPoints("DeviationSeries"), 3);
    QCOMPARE(chartPoints("AmbientSeries"), 3);

    feed(2);
    QTRY_COMPARE(chartPoints("LightSeries"), 5);

    m_binding->window()->hide();
    feed(4);
    QCoreApplication::processEvents();
    QCOMPARE(chartPoints("DeviationSeries"), 5);

    m_binding->showWindow();
    QCOMPARE(chartPoints("DeviationSeries"), 9);
}

void StatusHistoryWindowTest::pointerShowsTheNearestLine()
{
    feed(1);
    m_binding->showWindow();
    StatusHistoryWindow *window = m_binding->window();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    auto *view = window->findChild<QChartView *>(QStringLiteral("HistoryChart"));
    const QRectF plot = view->chart()->plotArea();
    const QPoint inPlot = view->mapFromScene(view->chart()->mapToScene(plot.center()));
    QTest::mouseMove(view->viewport(), inPlot);
    QTRY_VERIFY(window->valuesText().contains(QStringLiteral("Ambient: 21.5 C")));
    QVERIFY(window->valuesText().contains(QStringLiteral("deviation 3.00 C")));
    QVERIFY(window->valuesText().contains(QStringLiteral("Light source: stabilizing, 600 s")));

    const StatusHistory &history = m_binding->history();
    m_binding->history().record("st:1011,0.05,1,0,22.5\r", history.at(0).time.addSecs(30));
    window->showValuesAt(history.at(0).time.addSecs(20));
    QVERIFY(window->valuesText().contains(QStringLiteral("Thermal control: stable")));
}

void StatusHistoryWindowTest::exportWritesTheHistory_data()
{
    QTest::addColumn<QString>("answer"); // relative to a temporary folder; "-" cancels
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("error");
    QTest::newRow("chosen file") << "history.csv" << true << false;
    QTest::newRow("cancelled") << "-" << false << false;
    QTest::newRow("folder missing") << "missing/history.csv" << false << true;
}

void StatusHistoryWindowTest::exportWritesTheHistory()
{
    QFETCH(QString, answer);
    QFETCH(bool, written);
    QFETCH(bool, error);
    QTemporaryDir out;
    const QString path = out.filePath(answer);
    m_rig->dialogs.pathAnswers.enqueue(answer == QLatin1String("-") ? QString() : path);

    feed(3);
    m_binding->showWindow();
    m_binding->window()->findChild<QPushButton *>(QStringLiteral("ExportButton"))->click();

    QCOMPARE(!m_rig->dialogs.errors.isEmpty(), error);
    QFile file(path);
    QCOMPARE(file.exists(), written);
    if (written) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray csv = file.readAll();
        QCOMPARE(csv, m_binding->history().toCsv());
        QCOMPARE(csv.count('\n'), 4);
    }
}

QTEST_MAIN(StatusHistoryWindowTest)
#include "tst_statushistorywindow.moc"
