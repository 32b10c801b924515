#include "testkit/TestSettings.h"
#include "ui/widgets/FormSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace
{

// A window with one control of each kind, a control-array member and a few controls that
// must never reach the store.
struct TestForm {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QLineEdit *text = new QLineEdit(window.get());
    QComboBox *combo = new QComboBox(window.get());
    QCheckBox *check = new QCheckBox(window.get());
    QRadioButton *option = new QRadioButton(window.get());
    QLineEdit *arrayMember = new QLineEdit(window.get());

    TestForm()
    {
        window->setObjectName("TestForm");
        text->setObjectName("SampleDelayText");
        combo->setObjectName("RateCombo");
        combo->setEditable(true);
        check->setObjectName("ThermalOnCheck");
        option->setObjectName("SlowOption");
        arrayMember->setObjectName("Text1");
        FormSettings::setControlIndex(arrayMember, 2);
        auto *unnamed = new QLineEdit(window.get());
        unnamed->setText("unnamed");
        auto *skipped = new QLineEdit(window.get());
        skipped->setObjectName("SkippedText");
        FormSettings::setPersisted(skipped, false);
        new QSpinBox(window.get());
        auto *dialog = new QDialog(window.get());
        (new QLineEdit(dialog))->setObjectName("DialogText");
    }
};

QString stored(const QString &section, const QString &key)
{
    QSettings settings;
    return settings.value(section + '/' + key, "<missing>").toString();
}

void store(const QString &section, const QString &key, const QString &value)
{
    QSettings settings;
    settings.setValue(section + '/' + key, value);
}

} // namespace

class TestFormSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        useTemporarySettings(m_folder.path());
    }
    void init() { QSettings().clear(); }

    void savedPlaceSizeAndValuesComeBack()
    {
        TestForm saved;
        saved.window->move(120, 80);
        saved.window->resize(400, 300);
        saved.text->setText("12");
        saved.combo->setCurrentText("9600");
        saved.check->setCheckState(Qt::PartiallyChecked);
        saved.option->setChecked(true);
        saved.arrayMember->setText("member two");
        SaveFormSettings(saved.window.get());

        QSettings settings;
        settings.beginGroup("TestForm");
        const QStringList expectedKeys{"Height",          "Left",       "RateCombo",
                                       "SampleDelayText", "SlowOption", "Text12",
                                       "ThermalOnCheck",  "Top",        "Width"};
        QCOMPARE(settings.childKeys(), expectedKeys);
        QCOMPARE(stored("TestForm", "Top"), "1200");
        QCOMPARE(stored("TestForm", "Left"), "1800");
        QCOMPARE(stored("TestForm", "Width"), "6000");
        QCOMPARE(stored("TestForm", "Height"), "4500");
        QCOMPARE(stored("TestForm", "ThermalOnCheck"), "2");
        QCOMPARE(stored("TestForm", "SlowOption"), "True");

        TestForm restored;
        RestoreFormSettings(restored.window.get());
        QCOMPARE(restored.window->pos(), QPoint(120, 80));
        QCOMPARE(restored.window->size(), QSize(400, 300));
        QCOMPARE(restored.text->text(), "12");
        QCOMPARE(restored.combo->currentText(), "9600");
        QCOMPARE(restored.check->checkState(), Qt::PartiallyChecked);
        QVERIFY(restored.option->isChecked());
        QCOMPARE(restored.arrayMember->text(), "member two");
    }

    void fixedSizeWindowKeepsOnlyItsPlace()
    {
        TestForm form;
        form.window->setFixedSize(300, 200);
        SaveFormSettings(form.window.get());
        QCOMPARE(stored("TestForm", "Width"), "<missing>");
        store("TestForm", "Width", "9000");
        RestoreFormSettings(form.window.get());
        QCOMPARE(form.window->width(), 300);
    }

    void positionIsSavedOnlyInNormalState_data()
    {
        QTest::addColumn<Qt::WindowState>("state");
        QTest::addColumn<QString>("expectedLeft");
        QTest::newRow("normal") << Qt::WindowNoState << "600";
        QTest::newRow("minimised") << Qt::WindowMinimized << "150";
        QTest::newRow("maximised") << Qt::WindowMaximized << "150";
    }
    void positionIsSavedOnlyInNormalState()
    {
        QFETCH(Qt::WindowState, state);
        QFETCH(QString, expectedLeft);
        store("Terminal", "Left", "150");
        QWidget window;
        window.move(40, 30);
        window.setWindowState(state);
        SaveFormPosition(&window, "Terminal");
        QCOMPARE(stored("Terminal", "Left"), expectedLeft);
    }

    void negativePlaceComesBackOnScreen()
    {
        store("Terminal", "Left", "-300");
        store("Terminal", "Top", "-15");
        QWidget window;
        RestoreFormPosition(&window, "Terminal");
        QCOMPARE(window.pos(), QPoint(0, 0));
    }

    void cornerIsKeptOnScreen_data()
    {
        QTest::addColumn<QPoint>("place");
        QTest::addColumn<QPoint>("expected");
        // Pixels on a 1280 x 960 screen (19200 x 14400 twips at 96 dpi).
        QTest::newRow("left and top beyond 0.9") << QPoint(1200, 900) << QPoint(1152, 864);
        QTest::newRow("exactly 0.9 stays") << QPoint(1152, 864) << QPoint(1152, 864);
        QTest::newRow("negative") << QPoint(-20, -1) << QPoint(0, 0);
        QTest::newRow("inside") << QPoint(300, 200) << QPoint(300, 200);
    }
    void cornerIsKeptOnScreen()
    {
        QFETCH(QPoint, place);
        QFETCH(QPoint, expected);
        QWidget window;
        window.move(place);
        KeepFormOnScreen(&window, QRect(0, 0, 1280, 960));
        QCOMPARE(window.pos(), expected);
        // Another screen's origin shifts the whole rule.
        window.move(place + QPoint(1280, 0));
        KeepFormOnScreen(&window, QRect(1280, 0, 1280, 960));
        QCOMPARE(window.pos(), expected + QPoint(1280, 0));
    }

    void storedTickRunsToggledHandlerDuringRestore()
    {
        store("TestForm", "ThermalOnCheck", "1");
        TestForm form;
        int handled = 0;
        connect(form.check, &QCheckBox::toggled, this, [&](bool on) {
            QVERIFY(on);
            ++handled;
        });
        RestoreFormSettings(form.window.get());
        QVERIFY(form.check->isChecked());
        QCOMPARE(handled, 1);
        RestoreFormSettings(form.window.get());
        QCOMPARE(handled, 1);
    }

    void invalidValuesAreIgnored_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("top text") << "Top"
                                  << "abc";
        QTest::newRow("left empty") << "Left"
                                    << "";
        QTest::newRow("width huge") << "Width"
                                    << "1e40";
        QTest::newRow("height nan") << "Height"
                                    << "nan";
        QTest::newRow("check text") << "ThermalOnCheck"
                                    << "x";
        QTest::newRow("check out of range") << "ThermalOnCheck"
                                            << "7";
        QTest::newRow("option text") << "SlowOption"
                                     << "maybe";
    }
    void invalidValuesAreIgnored()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        store("TestForm", key, value);
        TestForm form;
        form.window->move(20, 10);
        form.window->resize(320, 240);
        form.check->setChecked(true);
        RestoreFormSettings(form.window.get());
        QCOMPARE(form.window->pos(), QPoint(20, 10));
        QCOMPARE(form.window->size(), QSize(320, 240));
        QVERIFY(form.check->isChecked());
        QVERIFY(!form.option->isChecked());
    }

    void controlsAreRestoredInControlOrder_data()
    {
        QTest::addColumn<bool>("explicitOrder");
        QTest::newRow("creation order") << false;
        QTest::newRow("explicit order") << true;
    }
    void controlsAreRestoredInControlOrder()
    {
        QFETCH(bool, explicitOrder);
        const QStringList mainOrder{
            "StatusCheck",       "LightOnCheck",       "ThermalOnCheck",
            "FlashFilenameText", "StoreInFlashCheck",  "StoreInComputerCheck",
            "SampleDelayText",   "AverageSamplesText", "AverageCheck"};
        QWidget window;
        window.setObjectName("MainForm");
        QStringList handled;
        // Built in reverse, so only an explicit order gives the main window's order.
        for (auto name = mainOrder.crbegin(); name != mainOrder.crend(); ++name) {
            const QString key = *name;
            if (key.endsWith("Check")) {
                auto *check = new QCheckBox(&window);
                check->setObjectName(key);
                connect(check, &QCheckBox::toggled, this, [&handled, key] { handled << key; });
                store("MainForm", key, "1");
            } else {
                auto *edit = new QLineEdit(&window);
                edit->setObjectName(key);
                connect(edit, &QLineEdit::textChanged, this, [&handled, key] { handled << key; });
                store("MainForm", key, "5");
            }
        }
        if (explicitOrder)
            FormSettings::setControlOrder(&window, mainOrder);
        RestoreFormSettings(&window);
        QStringList expected = mainOrder;
        if (!explicitOrder)
            std::reverse(expected.begin(), expected.end());
        QCOMPARE(handled, expected);
    }

private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(TestFormSettings)
#include "tst_FormSettings.moc"
