#include "support/TerminalOpenSetting.h"
#include "testkit/TestSettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestTerminalOpenSetting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        useTemporarySettings(m_folder.path());
    }
    void init() { QSettings().clear(); }

    void onlyExactTrueReopens_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("open");
        QTest::newRow("missing") << QVariant() << false;
        QTest::newRow("True") << QVariant("True") << true;
        QTest::newRow("true") << QVariant("true") << false;
        QTest::newRow("TRUE") << QVariant("TRUE") << false;
        QTest::newRow("False") << QVariant("False") << false;
        QTest::newRow("padded") << QVariant(" True") << false;
    }
    void onlyExactTrueReopens()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, open);
        if (value.isValid())
            QSettings().setValue("Terminal/Open", value);
        QCOMPARE(TerminalOpenSetting::wasOpen(), open);
    }

    void savedFlagIsReadBack()
    {
        TerminalOpenSetting::save(true);
        QCOMPARE(QSettings().value("Terminal/Open").toString(), "True");
        QVERIFY(TerminalOpenSetting::wasOpen());
        TerminalOpenSetting::save(false);
        QCOMPARE(QSettings().value("Terminal/Open").toString(), "False");
        QVERIFY(!TerminalOpenSetting::wasOpen());
    }

private:
    QTemporaryDir m_folder;
};

QTEST_GUILESS_MAIN(TestTerminalOpenSetting)
#include "tst_TerminalOpenSetting.moc"
