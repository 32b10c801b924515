// The Thermal Control and Light Source panels and the status poll against orvantis-sim over
// a real pseudo-terminal: the lamps follow the instrument as it settles, the light switch
// reaches it, and a sensor that stops answering is reported and then recovered from.
#include "testkit/DeviceConsole.h"
#include "testkit/TestSettings.h"
#include "ui/widgets/IndicatorLamp.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

namespace
{
constexpr int kSettleSeconds = 6;

QList<LampColour> colours(const std::array<IndicatorLamp *, 3> &lamps)
{
    // Top to bottom, as on the window.
    return {lamps[2]->colour(), lamps[1]->colour(), lamps[0]->colour()};
}

int statusLinesShown(DeviceConsole &console)
{
    return int(console.binding.terminal.Text()->toPlainText().count(QStringLiteral("st:")));
}
} // namespace

class StatusEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void panelsFollowTheInstrumentFromStabilisingToStable();

private:
    QTemporaryDir m_dir;
};

void StatusEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
}

void StatusEndToEnd::panelsFollowTheInstrumentFromStabilisingToStable()
{
    SimProcess sim;
    QVERIFY2(sim.start({"--fast", "--settle-seconds", QString::number(kSettleSeconds)}),
             qPrintable(sim.errorString()));
    DeviceConsole console(sim.devicePath());
    const MainFormControls &c = console.controls();
    QTimer *statusTimer = console.binding.form.StatusTimer();
    QVERIFY(console.connect());
    QVERIFY(statusTimer->isActive());
    // The first poll at once; every status line sets the interval again.
    statusTimer->setInterval(100);

    // Still settling: the middle lamps, captions with the deviation and the light time.
    QTRY_VERIFY_WITH_TIMEOUT(c.LightOKShape[1]->isLit(), 5000);
    QCOMPARE(colours(c.LightOKShape),
             (QList<LampColour>{LampColour::Unlit, LampColour::Yellow, LampColour::Unlit}));
    QVERIFY2(QRegularExpression(R"(^Stabilizing \(0\.\d min\.\)$)")
                 .match(c.LightControlLabel[1]->text())
                 .hasMatch(),
             qPrintable(c.LightControlLabel[1]->text()));
    const LampColour settling = c.ThermalOKShape[1]->colour();
    QVERIFY(settling == LampColour::Yellow || settling == LampColour::Amber);
    QVERIFY(!c.ThermalOKShape[2]->isLit());
    QVERIFY(!c.ThermalOKShape[0]->isLit());
    QVERIFY2(QRegularExpression(R"(^(Cooling|Stabilizing) \(\d\.\dC\)$)")
                 .match(c.ThermalControlLabel[1]->text())
                 .hasMatch(),
             qPrintable(c.ThermalControlLabel[1]->text()));
    QVERIFY(c.ThermalControlLabel[1]->isEnabled());
    QVERIFY(!c.ThermalControlLabel[2]->isEnabled());
    QCOMPARE(c.AmbientTempLabel->text(), QString("Ambient: 21.5"));
    QVERIFY(c.ThermalOnCheck->isEnabled() && c.ThermalOnCheck->isChecked());
    QVERIFY(c.LightOnCheck->isEnabled() && c.LightOnCheck->isChecked());
    QCOMPARE(statusTimer->interval(), 3000);

    // Settled: both top lamps green and the slow poll.
    QTRY_VERIFY_WITH_TIMEOUT(c.ThermalOKShape[2]->colour() == LampColour::Green &&
                                 c.LightOKShape[2]->colour() == LampColour::Green,
                             (kSettleSeconds + 10) * 1000);
    QCOMPARE(colours(c.ThermalOKShape),
             (QList<LampColour>{LampColour::Green, LampColour::Unlit, LampColour::Unlit}));
    QCOMPARE(colours(c.LightOKShape),
             (QList<LampColour>{LampColour::Green, LampColour::Unlit, LampColour::Unlit}));
    QVERIFY(c.LightControlLabel[2]->isEnabled());
    QVERIFY(!c.LightControlLabel[1]->isEnabled());
    QCOMPARE(statusTimer->interval(), 30000);

    // The operator switches the light source off: the instrument's next line shows it off,
    // and nothing ticks the box again.
    c.LightOnCheck->click();
    QTRY_COMPARE_WITH_TIMEOUT(
        colours(c.LightOKShape),
        (QList<LampColour>{LampColour::Unlit, LampColour::Unlit, LampColour::Red}), 5000);
    QVERIFY(!c.LightOnCheck->isChecked());
    QVERIFY(c.LightControlLabel[0]->isEnabled());
    QCOMPARE(c.ThermalOKShape[2]->colour(), LampColour::Green);
    statusTimer->setInterval(100);
    const int linesBefore = statusLinesShown(console);
    QTRY_VERIFY_WITH_TIMEOUT(statusLinesShown(console) >= linesBefore + 2, 10000);
    QVERIFY(!c.LightOnCheck->isChecked());
    QCOMPARE(c.LightOKShape[0]->colour(), LampColour::Red);

    // The instrument stops answering "st": three misses in a row say so.
    QVERIFY(sim.sendSignal(SIGUSR1));
    QTRY_VERIFY2(sim.standardError().contains("status answers off"),
                 sim.standardError().constData());
    statusTimer->setInterval(100);
    QTRY_COMPARE_WITH_TIMEOUT(console.status(), int(LinkStatus::NoResponse), 15000);
    QCOMPARE(c.StatusLabel->text().trimmed(), QString("NO RESPONSE-CHECK CONNECTIONS"));
    QVERIFY(statusTimer->isActive());

    // The first answer brings the connection back.
    QVERIFY(sim.sendSignal(SIGUSR1));
    QTRY_VERIFY(sim.standardError().contains("status answers on"));
    QTRY_COMPARE_WITH_TIMEOUT(console.status(), int(LinkStatus::Idle), 10000);
    QCOMPARE(c.StatusLabel->text().trimmed(), QString("Connected to 1021"));
    QCOMPARE(console.scripted.errors, QStringList());
}

QTEST_MAIN(StatusEndToEnd)
#include "tst_status_e2e.moc"
