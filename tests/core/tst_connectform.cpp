// The "Connecting" dialog driven as the operator sees it.
#include "link/FileCapture.h"
#include "link/ReceiveLoop.h"
#include "testkit/ScriptedOperator.h"
#include "testkit/SimulatedInstrument.h"
#include "ui/connection/ConnectForm.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class ConnectFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void findsTheInstrumentAndClosesByItself();
    void nothingFoundOffersTheManualControlsAndBeeps();
    void openSelectedPortConnectsWithoutProbing();
    void closeDuringTheSearchEndsItInStatusZero();

private:
    template <typename T> T *child(const char *name)
    {
        return m_form->findChild<T *>(QString::fromLatin1(name));
    }

    ProgramState *m_state = nullptr;
    SimulatedInstrument *m_port = nullptr;
    PlainLinkStatus *m_status = nullptr;
    FileCapture *m_capture = nullptr;
    ReceiveLoop *m_loop = nullptr;
    CommandTransaction *m_transaction = nullptr;
    PortSearch *m_search = nullptr;
    ScriptedOperator *m_dialogs = nullptr;
    ConnectForm *m_form = nullptr;
    QTimer *m_timer1 = nullptr;
};

void ConnectFormTest::init()
{
    m_state = new ProgramState;
    SimOptions options;
    options.serial = "7007";
    m_port = new SimulatedInstrument(options);
    m_port->setInstrumentPort(2);
    m_port->setOpenablePorts({1, 2});
    m_status = new PlainLinkStatus;
    m_capture = new FileCapture(*m_state);
    m_loop = new ReceiveLoop(*m_state, *m_port, *m_capture, *m_status);
    m_transaction = new CommandTransaction(*m_state, *m_port, *m_status);
    m_search = new PortSearch(*m_state, *m_port, *m_transaction, *m_status,
                              PortTable({"/dev/a", "/dev/b"}));
    m_dialogs = new ScriptedOperator;
    m_form = new ConnectForm(*m_search, *m_dialogs);
    m_timer1 = new QTimer;
    m_timer1->setInterval(20);
    connect(m_timer1, &QTimer::timeout, this, [this] { m_loop->run(); });
    m_timer1->start();
}

void ConnectFormTest::cleanup()
{
    delete m_timer1;
    delete m_form;
    delete m_dialogs;
    delete m_search;
    delete m_transaction;
    delete m_loop;
    delete m_capture;
    delete m_status;
    delete m_port;
    delete m_state;
}

void ConnectFormTest::findsTheInstrumentAndClosesByItself()
{
    QCOMPARE(m_form->windowTitle(), QString("Connecting"));
    QVERIFY(!child<QPushButton>("ForceConnectButton")->isVisible());
    QCOMPARE(m_form->exec(), int(QDialog::Accepted));
    QCOMPARE(m_status->Status(), int(LinkStatus::Idle));
    QCOMPARE(m_form->labelText(), QString("Connected to 7007"));
    QCOMPARE(child<QComboBox>("PortCombo")->count(), 2);
    QCOMPARE(m_dialogs->beeps, 0);
}

void ConnectFormTest::nothingFoundOffersTheManualControlsAndBeeps()
{
    m_port->setInstrumentPort(9);
    m_form->show();
    QTRY_COMPARE_WITH_TIMEOUT(m_form->labelText(), QString("No Orvantis found on any port."),
                              15000);
    QCOMPARE(m_dialogs->beeps, 1);
    auto *force = child<QPushButton>("ForceConnectButton");
    auto *again = child<QPushButton>("SearchButton");
    QVERIFY(force->isVisible() && force->isEnabled());
    QVERIFY(again->isVisible() && again->isEnabled());
    QCOMPARE(force->text(), QString("Open Selected Port"));
    QCOMPARE(again->text(), QString("Search Again"));
    QCOMPARE(child<QComboBox>("PortCombo")->currentIndex(), 0);
    QCOMPARE(child<QComboBox>("BaudCombo")->currentText(), QString("9600"));
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_status->Status(), int(LinkStatus::NotConnected));
}

void ConnectFormTest::openSelectedPortConnectsWithoutProbing()
{
    m_port->setInstrumentPort(9);
    m_form->show();
    QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>("ForceConnectButton")->isEnabled(), 15000);
    child<QComboBox>("PortCombo")->setCurrentIndex(1);
    child<QComboBox>("BaudCombo")->setCurrentText("57600");
    child<QPushButton>("ForceConnectButton")->click();
    QCOMPARE(m_form->result(), int(QDialog::Accepted));
    QCOMPARE(m_port->portNumber(), 2);
    QCOMPARE(m_port->settings(), QString("57600,n,8,1"));
    QCOMPARE(m_status->Status(), int(LinkStatus::Idle));
}

void ConnectFormTest::closeDuringTheSearchEndsItInStatusZero()
{
    m_port->setInstrumentPort(9);
    // The search runs inside the dialog's own event handling, so the click comes from there,
    // as the operator's would.
    connect(m_search, &PortSearch::portEntryAdded, this,
            [this] { child<QPushButton>("CancelButton")->click(); });
    m_form->show();
    QTRY_VERIFY_WITH_TIMEOUT(!m_form->isVisible() && !m_search->isSearching(), 5000);
    QCOMPARE(child<QComboBox>("PortCombo")->count(), 1);
    QCOMPARE(m_status->Status(), int(LinkStatus::NotConnected));
    QCOMPARE(m_dialogs->beeps, 0);
}

QTEST_MAIN(ConnectFormTest)
#include "tst_connectform.moc"
