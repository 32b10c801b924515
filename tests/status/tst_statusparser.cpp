#include "features/status/StatusParser.h"
#include "link/LinkStatus.h"

#include <QtTest>

Q_DECLARE_METATYPE(LampColour)

namespace
{
using L = LampColour;

// Lamps top to bottom, as the panel stacks them.
QList<LampColour> lamps(const StatusPanels::Panel &panel)
{
    return {panel.rows[2].lamp, panel.rows[1].lamp, panel.rows[0].lamp};
}

QList<bool> labels(const StatusPanels::Panel &panel)
{
    return {panel.rows[2].labelEnabled, panel.rows[1].labelEnabled, panel.rows[0].labelEnabled};
}

struct Connected {
    PlainLinkStatus status;
    StatusParser parser{status};
    Connected() { status.SetStatus(LinkStatus::Idle); }
};
} // namespace

class TestStatusParser : public QObject
{
    Q_OBJECT

private slots:
    void thermalPanelFollowsTheLine_data();
    void thermalPanelFollowsTheLine();
    void lightPanelFollowsTheLine_data();
    void lightPanelFollowsTheLine();
    void pollIntervalAndResult_data();
    void pollIntervalAndResult();
    void settlingLampAlternatesYellowAndAmber();
    void ambientShownAsReceivedAndKeptWhenMissing();
    void emptyReplyOrNotConnectedPutsLampsOut_data();
    void emptyReplyOrNotConnectedPutsLampsOut();
    void lineAfterNoResponseRestoresConnectedFirst();
    void reportedOnChecksOnlyAnUncheckedBox();
    void nestedLineFromSwitchHandlingIsOverwrittenByTheOuterOne();
};

void TestStatusParser::thermalPanelFollowsTheLine_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QList<LampColour>>("lamps");
    QTest::addColumn<QString>("caption");

    const QList<L> settling{L::Unlit, L::Yellow, L::Unlit};
    const QList<L> stable{L::Green, L::Unlit, L::Unlit};
    const QList<L> off{L::Unlit, L::Unlit, L::Red};
    QTest::newRow("cooling") << QByteArray("st:1011,2.34,0,95,21.5\r\n") << settling
                             << "Cooling (2.3C)";
    QTest::newRow("warming") << QByteArray("st:1011,-3.21,0,95,21.5") << settling
                             << "Warming (-3.2C)";
    QTest::newRow("cooling from 1.0")
        << QByteArray("st:1011,1.0,0,0,20") << settling << "Cooling (1.0C)";
    QTest::newRow("warming from -1.0")
        << QByteArray("st:1011,-1.0,0,0,20") << settling << "Warming (-1.0C)";
    QTest::newRow("0.99 settles") << QByteArray("st:1011,0.99,0,0,20") << settling
                                  << "Stabilizing (1.0C)";
    QTest::newRow("stable") << QByteArray("st:1011,0.2,1,0,21.5") << stable << "Stabilizing (0.2C)";
    QTest::newRow("deviation 1 is also the stable mark")
        << QByteArray("st:1011,1,0,30,20") << stable << "Cooling (1.0C)";
    QTest::newRow("blank before number")
        << QByteArray("st:1011, -2.5,0,0,20") << settling << "Warming (-2.5C)";
    QTest::newRow("no fields") << QByteArray("st:1011") << settling << "Stabilizing (0.0C)";
    QTest::newRow("not a number") << QByteArray("st:1011,abc,0,0,20") << settling
                                  << "Stabilizing (0.0C)";
    QTest::newRow("pair 10 is off") << QByteArray("st:1010,5,0,0,20") << off << "Stabilizing";
    QTest::newRow("pair 01 is off") << QByteArray("st:1001,5,1,0,20") << off << "Stabilizing";
    QTest::newRow("short line is off") << QByteArray("st:1") << off << "Stabilizing";
}

void TestStatusParser::thermalPanelFollowsTheLine()
{
    QFETCH(QByteArray, reply);
    QFETCH(QList<LampColour>, lamps);
    QFETCH(QString, caption);

    Connected c;
    c.parser.ParseStatus(reply);
    const StatusPanels::Panel &thermal = c.parser.panels().thermal;
    QCOMPARE(::lamps(thermal), lamps);
    QCOMPARE(thermal.rows[1].caption, caption);
    QCOMPARE(labels(thermal), (QList<bool>{isLit(lamps[0]), isLit(lamps[1]), isLit(lamps[2])}));
    QCOMPARE(thermal.rows[0].caption, QStringLiteral("Off"));
    QCOMPARE(thermal.rows[2].caption, QStringLiteral("Stable"));
    QVERIFY(thermal.checkEnabled);
}

void TestStatusParser::lightPanelFollowsTheLine_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QList<LampColour>>("lamps");
    QTest::addColumn<QString>("caption");

    const QList<L> warming{L::Unlit, L::Yellow, L::Unlit};
    const QList<L> stable{L::Green, L::Unlit, L::Unlit};
    const QList<L> off{L::Unlit, L::Unlit, L::Red};
    QTest::newRow("95 s") << QByteArray("st:1011,2.34,0,95,21.5") << warming
                          << "Stabilizing (1.6 min.)";
    QTest::newRow("3599 s") << QByteArray("st:1011,0,0,3599,20") << warming
                            << "Stabilizing (60.0 min.)";
    QTest::newRow("3600 s") << QByteArray("st:1011,0,0,3600,20") << warming << "Stabilizing";
    QTest::newRow("0.6 rounds up")
        << QByteArray("st:1011,0,0,0.6,20") << warming << "Stabilizing (0.0 min.)";
    QTest::newRow("0.4 rounds down") << QByteArray("st:1011,0,0,0.4,20") << stable << "Stabilizing";
    QTest::newRow("0.5 to even") << QByteArray("st:1011,0,0,0.5,20") << stable << "Stabilizing";
    QTest::newRow("1.5 to even") << QByteArray("st:1011,0,0,1.5,20") << warming
                                 << "Stabilizing (0.0 min.)";
    QTest::newRow("negative") << QByteArray("st:1011,0,0,-5,20") << stable << "Stabilizing";
    QTest::newRow("huge") << QByteArray("st:1011,0,0,1e30,20") << warming << "Stabilizing";
    QTest::newRow("missing field") << QByteArray("st:1011,0,0") << stable << "Stabilizing";
    QTest::newRow("light off") << QByteArray("st:0011,0,0,95,20") << off << "Stabilizing";
    QTest::newRow("light flag 2 is off") << QByteArray("st:2011,0,0,95,20") << off << "Stabilizing";
}

void TestStatusParser::lightPanelFollowsTheLine()
{
    QFETCH(QByteArray, reply);
    QFETCH(QList<LampColour>, lamps);
    QFETCH(QString, caption);

    Connected c;
    c.parser.ParseStatus(reply);
    const StatusPanels::Panel &light = c.parser.panels().light;
    QCOMPARE(::lamps(light), lamps);
    QCOMPARE(light.rows[1].caption, caption);
    QCOMPARE(labels(light), (QList<bool>{isLit(lamps[0]), isLit(lamps[1]), isLit(lamps[2])}));
    QVERIFY(light.checkEnabled);
}

void TestStatusParser::pollIntervalAndResult_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("fullyStable");

    QTest::newRow("settling") << QByteArray("st:1011,2.34,0,95,21.5") << false;
    QTest::newRow("both stable") << QByteArray("st:1011,2.34,1,0,21.5") << true;
    QTest::newRow("light still warming") << QByteArray("st:1011,0.1,1,10,21.5") << false;
    QTest::newRow("on/off flags do not count") << QByteArray("st:0000,0,1,0,20") << true;
    QTest::newRow("no stable mark") << QByteArray("st:1011,0,0,0,20") << false;
}

void TestStatusParser::pollIntervalAndResult()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, fullyStable);

    Connected c;
    const StatusParseResult result = c.parser.ParseStatus(reply);
    QCOMPARE(result.fullyStable, fullyStable);
    QCOMPARE(result.statusTimerInterval, fullyStable ? 30000 : 3000);
}

void TestStatusParser::settlingLampAlternatesYellowAndAmber()
{
    Connected c;
    const QByteArray settling("st:1011,2.34,0,95,21.5\r\n");
    QList<LampColour> seen;
    for (int i = 0; i < 4; ++i) {
        c.parser.ParseStatus(settling);
        seen << c.parser.panels().thermal.rows[1].lamp;
        QVERIFY(c.parser.panels().thermal.rows[1].labelEnabled);
    }
    QCOMPARE(seen, (QList<L>{L::Yellow, L::Amber, L::Yellow, L::Amber}));

    // A stable line puts the middle lamp out, so settling starts again from yellow.
    c.parser.ParseStatus("st:1011,0,1,0,20");
    c.parser.ParseStatus(settling);
    QCOMPARE(c.parser.panels().thermal.rows[1].lamp, L::Yellow);

    // The light panel's middle lamp stays yellow while the thermal one blinks.
    c.parser.ParseStatus(settling);
    QCOMPARE(c.parser.panels().light.rows[1].lamp, L::Yellow);
}

void TestStatusParser::ambientShownAsReceivedAndKeptWhenMissing()
{
    Connected c;
    QCOMPARE(c.parser.panels().ambientCaption, QString());
    c.parser.ParseStatus("st:1011,0,1,0,21.5,12.1\r\n");
    QCOMPARE(c.parser.panels().ambientCaption, QStringLiteral("Ambient: 21.5"));
    // The last field runs to the end of the text handed over, but not its line end.
    c.parser.ParseStatus("st:1011,0,1,0, 22.0 C\r\n");
    QCOMPARE(c.parser.panels().ambientCaption, QStringLiteral("Ambient:  22.0 C"));
    c.parser.ParseStatus("st:1011,0,1,0");
    QCOMPARE(c.parser.panels().ambientCaption, QStringLiteral("Ambient:  22.0 C"));
}

void TestStatusParser::emptyReplyOrNotConnectedPutsLampsOut_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("status");

    QTest::newRow("empty reply") << QByteArray() << int(LinkStatus::Idle);
    QTest::newRow("not connected")
        << QByteArray("st:1011,0,1,0,20") << int(LinkStatus::NotConnected);
    QTest::newRow("empty while not answering") << QByteArray() << int(LinkStatus::NoResponse);
}

void TestStatusParser::emptyReplyOrNotConnectedPutsLampsOut()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, status);

    Connected c;
    c.parser.ParseStatus("st:1011,2.34,0,95,21.5");
    const StatusPanels before = c.parser.panels();
    c.status.SetStatus(status);
    const int changes = c.status.changes();

    const StatusParseResult result = c.parser.ParseStatus(reply);
    QVERIFY(!result.fullyStable);
    QCOMPARE(result.statusTimerInterval, 0);
    QCOMPARE(c.status.Status(), status);
    QCOMPARE(c.status.changes(), changes);

    const StatusPanels &after = c.parser.panels();
    for (const StatusPanels::Panel *panel : {&after.thermal, &after.light}) {
        QCOMPARE(lamps(*panel), (QList<L>{L::Unlit, L::Unlit, L::Unlit}));
        QVERIFY(!panel->checkEnabled);
        QVERIFY(panel->checked);
    }
    // Only the lamps and the boxes change; captions, labels and ambient stay.
    QCOMPARE(after.thermal.rows[1].caption, before.thermal.rows[1].caption);
    QCOMPARE(after.light.rows[1].caption, before.light.rows[1].caption);
    QCOMPARE(labels(after.thermal), labels(before.thermal));
    QCOMPARE(after.ambientCaption, before.ambientCaption);
}

namespace
{
// Records what the panels showed when the status changed.
class WatchingStatus : public PlainLinkStatus
{
public:
    int SetStatus(int code, QString *msg = nullptr) override
    {
        if (parser)
            boxesEnabledAtChange = parser->panels().thermal.checkEnabled;
        return PlainLinkStatus::SetStatus(code, msg);
    }
    const StatusParser *parser = nullptr;
    bool boxesEnabledAtChange = true;
};
} // namespace

void TestStatusParser::lineAfterNoResponseRestoresConnectedFirst()
{
    WatchingStatus status;
    StatusParser parser(status);
    status.parser = &parser;
    status.SetStatus(LinkStatus::NoResponse);
    parser.ParseStatus(QByteArray()); // boxes off, as after a lost link
    QVERIFY(status.boxesEnabledAtChange);

    parser.ParseStatus("st:1011,2.34,0,95,21.5");
    QCOMPARE(status.Status(), int(LinkStatus::Idle));
    QVERIFY(!status.boxesEnabledAtChange);
    QVERIFY(parser.panels().thermal.checkEnabled);

    // Connected already: no further status change.
    const int changes = status.changes();
    parser.ParseStatus("st:1011,2.34,0,95,21.5");
    QCOMPARE(status.changes(), changes);
}

void TestStatusParser::reportedOnChecksOnlyAnUncheckedBox()
{
    Connected c;
    QList<StatusSwitch> checked;
    c.parser.setSwitchCheckedHandler([&](StatusSwitch which) { checked << which; });

    c.parser.ParseStatus("st:1011,0,1,0,20");
    QVERIFY(checked.isEmpty()); // both boxes start checked

    c.parser.setSwitchChecked(StatusSwitch::Light, false);
    c.parser.setSwitchChecked(StatusSwitch::Thermal, false);
    c.parser.ParseStatus("st:0000,0,1,0,20"); // both off: boxes left unchecked
    QVERIFY(checked.isEmpty());
    QVERIFY(!c.parser.panels().light.checked);
    QVERIFY(!c.parser.panels().thermal.checked);

    c.parser.ParseStatus("st:1000,0,1,0,20");
    QCOMPARE(checked, QList<StatusSwitch>{StatusSwitch::Light});
    QVERIFY(c.parser.panels().light.checked);
    c.parser.ParseStatus("st:1011,0,1,0,20");
    QCOMPARE(checked, (QList<StatusSwitch>{StatusSwitch::Light, StatusSwitch::Thermal}));
    QVERIFY(c.parser.panels().thermal.checked);
}

void TestStatusParser::nestedLineFromSwitchHandlingIsOverwrittenByTheOuterOne()
{
    Connected c;
    // The box's handling sends the power command and queries again; that query's line
    // arrives while the outer line is still being shown.
    c.parser.setSwitchCheckedHandler([&](StatusSwitch) {
        const StatusParseResult nested = c.parser.ParseStatus("st:1011,-4,0,95,19.0");
        QCOMPARE(c.parser.panels().thermal.rows[1].lamp, L::Yellow);
        QCOMPARE(nested.statusTimerInterval, 3000);
    });
    c.parser.setSwitchChecked(StatusSwitch::Thermal, false);

    c.parser.ParseStatus("st:0011,2.34,0,0,21.5");
    const StatusPanels &panels = c.parser.panels();
    QCOMPARE(panels.thermal.rows[1].lamp, L::Amber);
    QCOMPARE(panels.thermal.rows[1].caption, QStringLiteral("Cooling (2.3C)"));
    // The outer line's ambient came before the box was checked, so the nested one stands.
    QCOMPARE(panels.ambientCaption, QStringLiteral("Ambient: 19.0"));
    QCOMPARE(lamps(panels.light), (QList<L>{L::Unlit, L::Unlit, L::Red}));
}

QTEST_GUILESS_MAIN(TestStatusParser)
#include "tst_statusparser.moc"
