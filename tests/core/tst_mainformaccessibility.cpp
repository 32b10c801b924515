// What a screen reader learns from the main window: every control has a name (its caption,
// or its role where it has none) and every lamp tells its state in words.
#include "testkit/StatusFormRig.h"
#include "testkit/TestSettings.h"
#include "ui/widgets/IndicatorLamp.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

class MainFormAccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everyControlHasAName();
    void namesAreCaptionsOrRoles_data();
    void namesAreCaptionsOrRoles();
    void lampsTellTheirState_data();
    void lampsTellTheirState();
    void endedConnectionPutsTheLampsOutInWords();

private:
    static QString accessibleText(QWidget *widget, QAccessible::Text which);
    QStringList descriptions(const std::array<IndicatorLamp *, 3> &lamps) const;

    QTemporaryDir m_dir;
    std::unique_ptr<StatusFormRig> m_rig;
};

void MainFormAccessibilityTest::initTestCase()
{
    useTemporarySettings(m_dir.path());
}

void MainFormAccessibilityTest::init()
{
    m_rig = std::make_unique<StatusFormRig>();
}

void MainFormAccessibilityTest::cleanup()
{
    m_rig.reset();
}

// As the accessibility bridge reports it, which falls back on captions and buddies.
QString MainFormAccessibilityTest::accessibleText(QWidget *widget, QAccessible::Text which)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(which) : QString();
}

// Top (stable) to bottom (off).
QStringList
MainFormAccessibilityTest::descriptions(const std::array<IndicatorLamp *, 3> &lamps) const
{
    QStringList words;
    for (int i = 2; i >= 0; --i) {
        IndicatorLamp *lamp = lamps[static_cast<size_t>(i)];
        words << lamp->accessibleDescription();
        if (accessibleText(lamp, QAccessible::Description) != lamp->accessibleDescription())
            words << QStringLiteral("(bridge differs)");
    }
    return words;
}

void MainFormAccessibilityTest::everyControlHasAName()
{
    QList<QWidget *> controls;
    for (QAbstractButton *w : m_rig->form->findChildren<QAbstractButton *>())
        controls << w;
    for (QLineEdit *w : m_rig->form->findChildren<QLineEdit *>())
        controls << w;
    for (IndicatorLamp *w : m_rig->form->findChildren<IndicatorLamp *>())
        controls << w;
    QVERIFY(controls.size() >= 25);
    for (QWidget *control : controls) {
        // Qt's own helpers, such as the menu bar's overflow button, name themselves.
        if (control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const QString name = accessibleText(control, QAccessible::Name);
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(control->objectName()));
        QVERIFY2(!name.contains(QLatin1Char('_')), qPrintable(name));
    }
    for (QAction *menu : m_rig->form->menuBar()->actions()) {
        QVERIFY(!menu->text().isEmpty());
        for (QAction *item : menu->menu()->actions())
            QVERIFY2(item->isSeparator() || !item->text().isEmpty(),
                     qPrintable(item->objectName()));
    }
}

void MainFormAccessibilityTest::namesAreCaptionsOrRoles_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("button") << "ConnectButton"
                            << "Connect...";
    QTest::newRow("check box") << "StatusCheck"
                               << "Automatic status updates";
    QTest::newRow("panel switch") << "ThermalOnCheck"
                                  << "Enable";
    QTest::newRow("period") << "SampleDelayText"
                            << "Minimum period (sec)";
    QTest::newRow("average count") << "AverageSamplesText"
                                   << "Spectra averaged in each sample";
    QTest::newRow("flash file") << "FlashFilenameText"
                                << "Flash file name";
    QTest::newRow("thermal top lamp") << "ThermalOKShape_2"
                                      << "Thermal Control stable lamp";
    QTest::newRow("light bottom lamp") << "LightOKShape_0"
                                       << "Light Source off lamp";
    QTest::newRow("light middle lamp") << "LightOKShape_1"
                                       << "Light Source stabilizing lamp";
    QTest::newRow("data lamp") << "DataShape"
                               << "Data lamp";
}

void MainFormAccessibilityTest::namesAreCaptionsOrRoles()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    auto *widget = m_rig->form->findChild<QWidget *>(control);
    QVERIFY2(widget, qPrintable(control));
    QCOMPARE(accessibleText(widget, QAccessible::Name), name);
}

void MainFormAccessibilityTest::lampsTellTheirState_data()
{
    QTest::addColumn<QByteArray>("line"); // empty: none yet
    QTest::addColumn<QStringList>("thermal");
    QTest::addColumn<QStringList>("light");

    QTest::newRow("before any line")
        << QByteArray() << QStringList{"Stable: unlit", "Stabilizing: unlit", "Off: unlit"}
        << QStringList{"Stable: unlit", "Stabilizing: unlit", "Off: unlit"};
    QTest::newRow("cooling, light warming")
        << QByteArray("st:1011,2.34,0,95.0,21.5\r")
        << QStringList{"Stable: unlit", "Cooling (2.3C): yellow", "Off: unlit"}
        << QStringList{"Stable: unlit", "Stabilizing (1.6 min.): yellow", "Off: unlit"};
    QTest::newRow("all stable") << QByteArray("st:1011,0.02,1,0,22\r")
                                << QStringList{"Stable: green", "Stabilizing (0.0C): unlit",
                                               "Off: unlit"}
                                << QStringList{"Stable: green", "Stabilizing: unlit", "Off: unlit"};
    QTest::newRow("both off") << QByteArray("st:0000,0,0,0,20\r")
                              << QStringList{"Stable: unlit", "Stabilizing: unlit", "Off: red"}
                              << QStringList{"Stable: unlit", "Stabilizing: unlit", "Off: red"};
}

void MainFormAccessibilityTest::lampsTellTheirState()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, thermal);
    QFETCH(QStringList, light);
    if (!line.isEmpty())
        m_rig->status->ParseStatus(line);
    const MainFormControls &c = m_rig->form->controls();
    QCOMPARE(descriptions(c.ThermalOKShape), thermal);
    QCOMPARE(descriptions(c.LightOKShape), light);
    QCOMPARE(c.DataShape->accessibleDescription(), QStringLiteral("Data: unlit"));
}

void MainFormAccessibilityTest::endedConnectionPutsTheLampsOutInWords()
{
    m_rig->status->ParseStatus("st:1011,0.02,1,0,22\r");
    m_rig->form->SetStatus(LinkStatus::NotConnected);
    // The labels keep their last text, and so do the descriptions.
    QCOMPARE(descriptions(m_rig->form->controls().ThermalOKShape),
             QStringList({"Stable: unlit", "Stabilizing (0.0C): unlit", "Off: unlit"}));
    QCOMPARE(descriptions(m_rig->form->controls().LightOKShape),
             QStringList({"Stable: unlit", "Stabilizing: unlit", "Off: unlit"}));
}

QTEST_MAIN(MainFormAccessibilityTest)
#include "tst_mainformaccessibility.moc"
