// The console's core and main window against orvantis-sim over real pseudo-terminals,
// through QSerialPort.
#include "link/PortSearch.h"
#include "link/QtCommPort.h"
#include "testkit/ScriptedOperator.h"
#include "testkit/SimProcess.h"
#include "testkit/TestSettings.h"
#include "ui/mainwindow/MainForm.h"
#include "ui/terminal/TerminalForm.h"

#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace
{
// One console: main window, port and search over the given devices.
struct Console {
    explicit Console(const QStringList &devices)
        : comm(PortTable(devices)), form(state, comm, dialogs, terminal),
          search(state, comm, form.transaction(), form, PortTable(devices))
    {
        QObject::connect(&search, &PortSearch::serialNumberFound, &form, &MainForm::setSerNum);
    }
    ProgramState state;
    QtCommPort comm;
    ScriptedOperator dialogs;
    TerminalForm terminal;
    MainForm form;
    PortSearch search;
};

QString statusText(Console &console)
{
    return console.form.controls().StatusLabel->text();
}
} // namespace

class ConnectionEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void searchFindsTheInstrumentOnPort3At57600();
    void searchWithNothingAnsweringSaysSo();
    void dataFileHoldsExactlyWhatTheInstrumentSent();
    void pulledLineEndsInStatusZeroWithOneMessage();

private:
    // Starts a simulator or fails the test with the reason.
    std::unique_ptr<SimProcess> startSim(const QStringList &arguments);

    QTemporaryDir m_dir;
};

void ConnectionEndToEnd::initTestCase()
{
    useTemporarySettings(m_dir.filePath("settings"));
}

std::unique_ptr<SimProcess> ConnectionEndToEnd::startSim(const QStringList &arguments)
{
    auto sim = std::make_unique<SimProcess>();
    if (!sim->start(arguments))
        return nullptr;
    return sim;
}

void ConnectionEndToEnd::searchFindsTheInstrumentOnPort3At57600()
{
    SimProcess silent1, silent2, instrument;
    QVERIFY2(silent1.start({"--silent"}), qPrintable(silent1.errorString()));
    QVERIFY2(silent2.start({"--silent"}), qPrintable(silent2.errorString()));
    QVERIFY2(instrument.start({"--baud", "57600", "--serial", "5150"}),
             qPrintable(instrument.errorString()));

    Console console({silent1.devicePath(), silent2.devicePath(), instrument.devicePath()});
    QSignalSpy entries(&console.search, &PortSearch::portEntryAdded);
    QSignalSpy rates(&console.search, &PortSearch::baudIndexSelected);

    QVERIFY(console.search.SearchForInstrument());

    QCOMPARE(console.form.Status(), int(LinkStatus::Idle));
    QCOMPARE(statusText(console), QString("Connected to 5150 "));
    QCOMPARE(console.form.SerNum(), QString("5150"));
    QCOMPARE(entries.size(), 3);
    QVERIFY(entries.last().first().toString().startsWith("COM  3  ("));
    QCOMPARE(console.comm.portNumber(), 3);
    QCOMPARE(console.comm.settings(), QString("57600,n,8,1"));
    // Ports 1 and 2 were tried at all three rates; port 3 failed at 9600 first.
    QList<int> tried;
    for (const QList<QVariant> &rate : rates)
        tried << rate.first().toInt();
    QCOMPARE(tried, (QList<int>{0, 1, 2, 0, 1, 2, 0, 1}));
    QCOMPARE(console.terminal.windowTitle(), QString("5150 Terminal - COM 3 -  57600 baud"));
}

void ConnectionEndToEnd::searchWithNothingAnsweringSaysSo()
{
    SimProcess silent;
    QVERIFY2(silent.start({"--silent"}), qPrintable(silent.errorString()));
    Console console({silent.devicePath()});
    QSignalSpy failures(&console.search, &PortSearch::searchFailed);

    QVERIFY(!console.search.SearchForInstrument());

    QCOMPARE(failures.size(), 1);
    QCOMPARE(console.search.labelText(), QString("No Orvantis found on any port."));
    QCOMPARE(console.form.Status(), int(LinkStatus::NotConnected));
    QVERIFY(!console.comm.isOpen());
}

void ConnectionEndToEnd::dataFileHoldsExactlyWhatTheInstrumentSent()
{
    const QString record = m_dir.filePath("sent.bin");
    SimProcess instrument;
    QVERIFY2(instrument.start({"--fast", "--record", record}),
             qPrintable(instrument.errorString()));
    Console console({instrument.devicePath()});
    QVERIFY(console.search.SearchForInstrument());

    // Traffic before, during and after the file is open.
    console.form.transaction().SendCommand("st\r", "st:", "\r", 1);
    QTRY_VERIFY(QFileInfo(record).size() > 0);
    const qint64 before = QFileInfo(record).size();
    const QString path = m_dir.filePath("capture.raw");
    QVERIFY(console.state.dataFile.open(path));
    for (int i = 0; i < 5; ++i) {
        console.form.transaction().SendCommand("id\r", "", "Orvantis>", 2);
        console.form.transaction().SendCommand("st\r", "st:", "Orvantis>", 2);
    }
    console.state.dataFile.close();
    const qint64 after = QFileInfo(record).size();
    console.form.transaction().SendCommand("st\r", "st:", "Orvantis>", 2);

    QFile sent(record);
    QVERIFY(sent.open(QIODevice::ReadOnly));
    const QByteArray expected = sent.readAll().mid(before, after - before);
    QFile captured(path);
    QVERIFY(captured.open(QIODevice::ReadOnly));
    const QByteArray got = captured.readAll();
    QVERIFY(got.size() > 500);
    QCOMPARE(got, expected);
}

void ConnectionEndToEnd::pulledLineEndsInStatusZeroWithOneMessage()
{
    SimProcess instrument;
    QVERIFY2(instrument.start({"--fast"}), qPrintable(instrument.errorString()));
    Console console({instrument.devicePath()});
    QVERIFY(console.search.SearchForInstrument());
    QCOMPARE(console.form.Status(), int(LinkStatus::Idle));

    instrument.kill();
    QTRY_COMPARE_WITH_TIMEOUT(console.form.Status(), int(LinkStatus::NotConnected), 5000);
    // Several more receive runs bring no further message.
    QSignalSpy runs(console.form.Timer1(), &QTimer::timeout);
    QTRY_VERIFY(runs.size() >= 5);
    QCOMPARE(console.dialogs.errors.size(), 1);
    QVERIFY2(console.dialogs.errors.first().contains("COM 1"),
             qPrintable(console.dialogs.errors.first()));
    QVERIFY(!console.comm.isOpen());
    QCOMPARE(statusText(console), QString("No Orvantis connected "));
    QCOMPARE(console.terminal.windowTitle(), QString("Terminal - no connection"));
}

QTEST_MAIN(ConnectionEndToEnd)
#include "tst_connection_e2e.moc"
