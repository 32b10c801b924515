#include "support/StringCode.h"
#include "testkit/ConsoleLink.h"
#include "testkit/ScriptedOperator.h"
#include "testkit/SimulatedInstrument.h"
#include "ui/connection/SetBaudForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <memory>

class SetBaudFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsAndCaptions();
    void showingSelectsThePortRateAndReadsTheStartupRate_data();
    void showingSelectsThePortRateAndReadsTheStartupRate();
    void changeWithStartupRateClosesWithTheMessage();
    void rateOutsideTheRangeClosesWithoutSending();
    void rateThatIsNotANumberIsRefused();
    void noAnswerAtTheNewRateTellsTheOperator();

private:
    void makeForm(const QString &settings);

    std::unique_ptr<SimulatedInstrument> m_instrument;
    std::unique_ptr<ConsoleLink> m_console;
    std::unique_ptr<ScriptedOperator> m_operator;
    std::unique_ptr<SetBaudForm> m_form;
};

void SetBaudFormTest::init()
{
    m_instrument = std::make_unique<SimulatedInstrument>();
    m_operator = std::make_unique<ScriptedOperator>();
}

void SetBaudFormTest::cleanup()
{
    m_form.reset();
    m_console.reset();
    m_operator.reset();
    m_instrument.reset();
}

void SetBaudFormTest::makeForm(const QString &settings)
{
    m_instrument->engine().setBaudRate(ExtractNumber(settings));
    m_instrument->setSettings(settings);
    QVERIFY(m_instrument->open());
    m_console = std::make_unique<ConsoleLink>(*m_instrument);
    m_form = std::make_unique<SetBaudForm>(*m_instrument, m_console->transaction, *m_operator);
}

void SetBaudFormTest::controlsAndCaptions()
{
    makeForm("9600,n,8,1");
    QCOMPARE(m_form->windowTitle(), QString("Set Baud Rate"));
    QCOMPARE(m_form->Label1->text(), QString("Baud Rate:"));
    QCOMPARE(m_form->DefaultCheck->text(), QString("Make this the startup rate"));
    QCOMPARE(m_form->SetBaudButton->text(), QString("Set Rate"));
    QCOMPARE(m_form->CancelButton->text(), QString("Close"));
    QCOMPARE(m_form->BaudCombo->count(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(m_form->BaudCombo->itemData(i).toInt(), m_form->BaudCombo->itemText(i).toInt());
    QVERIFY(m_form->BaudCombo->isEditable());
    QCOMPARE(m_form->findChild<QPushButton *>("CancelButton"), m_form->CancelButton);
}

void SetBaudFormTest::showingSelectsThePortRateAndReadsTheStartupRate_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("selected");
    QTest::newRow("115200") << "115200,n,8,1"
                            << "115200";
    QTest::newRow("57600") << "57600,n,8,1"
                           << "57600";
}

void SetBaudFormTest::showingSelectsThePortRateAndReadsTheStartupRate()
{
    QFETCH(QString, settings);
    QFETCH(QString, selected);
    makeForm(settings);
    m_instrument->engine().options().startupBaudRate = 9600;

    // Becoming active runs the query, as each later activation does.
    m_form->show();
    m_form->activateWindow();
    QTRY_COMPARE(m_form->StartupRateLabel->text(), QString("Startup rate 9600"));
    QCOMPARE(m_form->BaudCombo->currentText(), selected);
    QVERIFY(m_instrument->written().startsWith("baud\r"));
}

void SetBaudFormTest::changeWithStartupRateClosesWithTheMessage()
{
    makeForm("9600,n,8,1");
    m_form->BaudCombo->setCurrentIndex(2);
    m_form->DefaultCheck->setChecked(true);

    m_form->SetBaudButton_Click();

    QCOMPARE(m_form->result(), int(QDialog::Accepted));
    QVERIFY(!m_form->isVisible());
    QCOMPARE(m_instrument->settings(), QString("115200,n,8,1"));
    QCOMPARE(m_instrument->written(), QByteArray("Baud 115200\rbaud\rbaud 115200store\r"));
    QCOMPARE(m_operator->messages,
             QStringList{"Set Baud Rate: Orvantis baud rate at startup is now 115200"});
    QCOMPARE(m_instrument->engine().options().startupBaudRate, 115200);
}

void SetBaudFormTest::rateOutsideTheRangeClosesWithoutSending()
{
    makeForm("9600,n,8,1");
    m_form->BaudCombo->setEditText("230400");
    m_form->SetBaudButton_Click();
    QVERIFY(!m_form->isVisible());
    QCOMPARE(m_form->result(), int(QDialog::Rejected));
    QCOMPARE(m_instrument->written(), QByteArray());
}

void SetBaudFormTest::rateThatIsNotANumberIsRefused()
{
    makeForm("9600,n,8,1");
    m_form->show();
    QTRY_COMPARE(m_form->StartupRateLabel->text(), QString("Startup rate 9600"));
    m_form->BaudCombo->setEditText("fast");
    m_instrument->clearWritten();
    m_form->SetBaudButton_Click();
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_operator->errors.size(), 1);
    QVERIFY(m_operator->errors.first().contains("\"fast\" is not a baud rate"));
    QCOMPARE(m_instrument->written(), QByteArray());
}

void SetBaudFormTest::noAnswerAtTheNewRateTellsTheOperator()
{
    makeForm("9600,n,8,1");
    // Announces the change but stays where it is.
    m_instrument->engine().addCommand(
        "baud", [](SimEngine &e, const SimCommandLine &) { e.sendLine("Changing to 57600 baud"); });
    m_form->BaudCombo->setCurrentIndex(1);
    m_form->DefaultCheck->setChecked(true);
    m_form->SetBaudButton_Click();

    QCOMPARE(m_instrument->settings(), QString("57600,n,8,1"));
    QCOMPARE(m_operator->errors.size(), 1);
    QVERIFY(m_operator->errors.first().contains("may still be at 9600 baud"));
    QVERIFY(m_operator->errors.first().contains("\"Connect...\""));
    QVERIFY(!m_instrument->written().contains("store"));
    QCOMPARE(m_form->result(), int(QDialog::Rejected));
}

QTEST_MAIN(SetBaudFormTest)
#include "tst_setbaudform.moc"
