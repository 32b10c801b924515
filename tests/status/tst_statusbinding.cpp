// Status lines shown on the main window's panels, read back from the widgets.
#include "testkit/StatusFormRig.h"
#include "testkit/TestSettings.h"
#include "ui/widgets/IndicatorLamp.h"

#include <QCheckBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

class StatusBindingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void statusLineLightsTheLamps_data();
    void statusLineLightsTheLamps();
    void settlingAlternatesYellowAndAmber();
    void stableLineSlowsPollingAndSettlingSpeedsItUp();
    void emptyReplyPutsTheLampsOut();
    void noResponseRecoversOnTheFirstLine();
    void operatorRateHoldsUntilTheNextLine();
    void reportedPowerChecksTheBoxAndRunsItsHandling();

private:
    QString lamp(IndicatorLamp *shape) { return IndicatorLamp::colourWord(shape->colour()); }

    QTemporaryDir m_dir;
    std::unique_ptr<StatusFormRig> m_rig;
};

void StatusBindingTest::initTestCase()
{
    useTemporarySettings(m_dir.path());
}

void StatusBindingTest::init()
{
    m_rig = std::make_unique<StatusFormRig>();
}

void StatusBindingTest::cleanup()
{
    m_rig.reset();
}

void StatusBindingTest::statusLineLightsTheLamps_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("thermalLamps"); // stable, stabilizing, off
    QTest::addColumn<QString>("thermalCaption");
    QTest::addColumn<QStringList>("lightLamps");
    QTest::addColumn<QString>("lightCaption");

    const QStringList off{"unlit", "unlit", "red"};
    QTest::newRow("cooling, light warming")
        << QByteArray("st:1011,2.34,0,95,21.5\r\n") << QStringList{"unlit", "yellow", "unlit"}
        << "Cooling (2.3C)" << QStringList{"unlit", "yellow", "unlit"} << "Stabilizing (1.6 min.)";
    QTest::newRow("warming") << QByteArray("st:1011,-3.21,0,0,21.5")
                             << QStringList{"unlit", "yellow", "unlit"} << "Warming (-3.2C)"
                             << QStringList{"green", "unlit", "unlit"} << "Stabilizing";
    QTest::newRow("stable anywhere")
        << QByteArray("st:1011,0.0,1,0,21.5") << QStringList{"green", "unlit", "unlit"}
        << "Stabilizing (0.0C)" << QStringList{"green", "unlit", "unlit"} << "Stabilizing";
    QTest::newRow("0.6 s rounds up")
        << QByteArray("st:1011,0,1,0.6,20") << QStringList{"green", "unlit", "unlit"}
        << "Stabilizing (0.0C)" << QStringList{"unlit", "yellow", "unlit"}
        << "Stabilizing (0.0 min.)";
    QTest::newRow("0.4 s rounds down")
        << QByteArray("st:1011,0,1,0.4,20") << QStringList{"green", "unlit", "unlit"}
        << "Stabilizing (0.0C)" << QStringList{"green", "unlit", "unlit"} << "Stabilizing";
    QTest::newRow("pair 10 and light off")
        << QByteArray("st:0010,5,0,95,20") << off << "Stabilizing" << off << "Stabilizing";
}

void StatusBindingTest::statusLineLightsTheLamps()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, thermalLamps);
    QFETCH(QString, thermalCaption);
    QFETCH(QStringList, lightLamps);
    QFETCH(QString, lightCaption);

    m_rig->status->ParseStatus(line);
    const MainFormControls &c = m_rig->form->controls();
    for (int row = 0; row < 3; ++row) {
        QCOMPARE(lamp(c.ThermalOKShape[2 - row]), thermalLamps.at(row));
        QCOMPARE(lamp(c.LightOKShape[2 - row]), lightLamps.at(row));
    }
    QCOMPARE(c.ThermalControlLabel[1]->text(), thermalCaption);
    QCOMPARE(c.LightControlLabel[1]->text(), lightCaption);
    QVERIFY(c.AmbientTempLabel->text().startsWith("Ambient: "));
    QVERIFY(c.ThermalOnCheck->isEnabled());
    QVERIFY(c.LightOnCheck->isEnabled());
}

void StatusBindingTest::settlingAlternatesYellowAndAmber()
{
    const MainFormControls &c = m_rig->form->controls();
    QStringList seen;
    for (int i = 0; i < 4; ++i) {
        m_rig->status->ParseStatus("st:1011,0.5,0,0,20");
        seen << lamp(c.ThermalOKShape[1]);
    }
    QCOMPARE(seen, (QStringList{"yellow", "amber", "yellow", "amber"}));
}

void StatusBindingTest::stableLineSlowsPollingAndSettlingSpeedsItUp()
{
    QVERIFY(m_rig->status->ParseStatus("st:1011,0.1,1,0,20"));
    QCOMPARE(m_rig->form->StatusTimer()->interval(), 30000);
    QVERIFY(!m_rig->status->ParseStatus("st:1011,2.5,0,0,20"));
    QCOMPARE(m_rig->form->StatusTimer()->interval(), 3000);
}

void StatusBindingTest::emptyReplyPutsTheLampsOut()
{
    m_rig->status->ParseStatus("st:1011,2.34,0,95,21.5");
    m_rig->form->Disconnect();
    const MainFormControls &c = m_rig->form->controls();
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(lamp(c.ThermalOKShape[i]), QString("unlit"));
        QCOMPARE(lamp(c.LightOKShape[i]), QString("unlit"));
    }
    QVERIFY(!c.ThermalOnCheck->isEnabled());
    QVERIFY(!c.LightOnCheck->isEnabled());
    QCOMPARE(c.AmbientTempLabel->text(), QString("Ambient: 21.5"));
}

void StatusBindingTest::noResponseRecoversOnTheFirstLine()
{
    m_rig->form->SetStatus(LinkStatus::NoResponse);
    QCOMPARE(m_rig->form->controls().StatusLabel->text(),
             QString("NO RESPONSE-CHECK CONNECTIONS "));
    m_rig->status->ParseStatus("st:1011,0.1,1,0,20");
    QCOMPARE(m_rig->form->Status(), int(LinkStatus::Idle));
}

void StatusBindingTest::operatorRateHoldsUntilTheNextLine()
{
    m_rig->dialogs.inputAnswers.enqueue("10");
    emit m_rig->form->statusRateRequested();
    QCOMPARE(m_rig->dialogs.inputDefaults.last(), QString(" 5"));
    QCOMPARE(m_rig->form->StatusTimer()->interval(), 10000);
    QVERIFY(m_rig->form->StatusTimer()->isActive());
    m_rig->status->ParseStatus("st:1011,2.0,0,0,20");
    QCOMPARE(m_rig->form->StatusTimer()->interval(), 3000);

    m_rig->dialogs.inputAnswers.enqueue("0");
    emit m_rig->form->statusRateRequested();
    QVERIFY(!m_rig->form->StatusTimer()->isActive());
    QVERIFY(m_rig->form->controls().StatusCheck->isChecked());
}

void StatusBindingTest::reportedPowerChecksTheBoxAndRunsItsHandling()
{
    const MainFormControls &c = m_rig->form->controls();
    c.LightOnCheck->setChecked(false);
    QVERIFY(m_rig->port.written().startsWith("lpower,0\r"));
    m_rig->port.clearWritten();
    m_rig->status->ParseStatus("st:1011,0.1,1,0,20");
    QVERIFY(c.LightOnCheck->isChecked());
    QVERIFY2(m_rig->port.written().startsWith("lpower,1\rst\r"), m_rig->port.written().constData());
}

QTEST_MAIN(StatusBindingTest)
#include "tst_statusbinding.moc"
