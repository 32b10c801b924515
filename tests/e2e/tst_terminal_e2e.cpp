// The terminal window against orvantis-sim over a real pseudo-terminal: typed keys go
// straight to the instrument and its answers come back into the text; a closed port sends
// nothing; the window comes back at the next start when the program ended with it showing.
#include "support/TerminalOpenSetting.h"
#include "testkit/DeviceConsole.h"
#include "testkit/TestSettings.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
QString shown(DeviceConsole &console)
{
    return console.binding.terminal.Text()->toPlainText();
}

// Until all the instrument has said so far is in the terminal: a command that ends in its
// prompt, and that prompt shown.
bool settle(DeviceConsole &console)
{
    const QByteArray reply =
        console.binding.form.transaction().SendCommand("id\r", "", "Orvantis>", 5);
    if (!reply.contains("firmware"))
        return false;
    return QTest::qWaitFor([&] { return shown(console).endsWith("Orvantis>"); }, 5000);
}

void type(DeviceConsole &console, const QString &text)
{
    QTest::keyClicks(console.binding.terminal.Text(), text);
    QTest::keyClick(console.binding.terminal.Text(), Qt::Key_Return);
}
} // namespace

class TerminalEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void typedStatusCommandBringsTheStatusLine();
    void nothingIsSentWhileThePortIsClosed();
    void openFlagCarriesOverARestart_data();
    void openFlagCarriesOverARestart();

private:
    QByteArray received() const { return DeviceConsole::fileBytes(m_dir.filePath("received.bin")); }
    bool startSim(SimProcess &sim);

    QTemporaryDir m_dir;
};

void TerminalEndToEnd::init()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
    TerminalOpenSetting::save(false);
}

bool TerminalEndToEnd::startSim(SimProcess &sim)
{
    QFile::remove(m_dir.filePath("received.bin"));
    return sim.start({"--fast", "--record-input", m_dir.filePath("received.bin")});
}

void TerminalEndToEnd::typedStatusCommandBringsTheStatusLine()
{
    SimProcess sim;
    QVERIFY2(startSim(sim), qPrintable(sim.errorString()));
    DeviceConsole console(sim.devicePath());
    QVERIFY(console.connect());
    console.stopPolling();
    console.binding.form.ShowTerminal();
    QVERIFY(settle(console));
    const QString before = shown(console);
    const qsizetype sentBefore = received().size();

    type(console, "st");
    // The typed text itself is not shown: only the instrument's echo and answer.
    QTRY_VERIFY_WITH_TIMEOUT(
        shown(console).size() > before.size() && shown(console).endsWith("Orvantis>"), 5000);
    const QString added = shown(console).mid(before.size());
    QVERIFY2(QRegularExpression(R"(^st\nst:1011,[-0-9.]+,[01],[0-9.]+,21\.5,[0-9.]+\nOrvantis>$)")
                 .match(added)
                 .hasMatch(),
             qPrintable(added));
    QCOMPARE(received().mid(sentBefore), QByteArray("st\r"));

    // Ctrl+C is the single byte 3, which the instrument answers with a fresh prompt.
    QTest::keyClick(console.binding.terminal.Text(), Qt::Key_C, Qt::ControlModifier);
    QTRY_COMPARE(received().mid(sentBefore), QByteArray("st\r\x03"));
    QTRY_VERIFY(shown(console).endsWith("Orvantis>\nOrvantis>"));
    QCOMPARE(console.status(), int(LinkStatus::Idle));
}

void TerminalEndToEnd::nothingIsSentWhileThePortIsClosed()
{
    SimProcess sim;
    QVERIFY2(startSim(sim), qPrintable(sim.errorString()));
    DeviceConsole console(sim.devicePath());
    QVERIFY(console.connect());
    console.stopPolling();
    console.binding.form.ShowTerminal();
    QVERIFY(settle(console));

    console.binding.form.Disconnect();
    QVERIFY(!console.comm.isOpen());
    const QString before = shown(console);
    type(console, "tpower,0");
    QSignalSpy runs(console.binding.form.Timer1(), &QTimer::timeout);
    QTRY_VERIFY(runs.size() >= 3);
    QCOMPARE(shown(console), before);

    // Connected again: the keys typed meanwhile never reach the instrument.
    QVERIFY(console.connect());
    QVERIFY(settle(console));
    QVERIFY(received().contains("id\r"));
    QVERIFY2(!received().contains("tpower"), received().constData());
}

void TerminalEndToEnd::openFlagCarriesOverARestart_data()
{
    QTest::addColumn<bool>("showing");
    QTest::addColumn<QString>("stored");
    QTest::newRow("showing at exit") << true << "True";
    QTest::newRow("hidden at exit") << false << "False";
}

void TerminalEndToEnd::openFlagCarriesOverARestart()
{
    QFETCH(bool, showing);
    QFETCH(QString, stored);
    SimProcess sim;
    QVERIFY2(startSim(sim), qPrintable(sim.errorString()));
    {
        DeviceConsole first(sim.devicePath());
        first.binding.startUp(false);
        QVERIFY(!first.binding.terminal.isVisible());
        if (showing)
            first.binding.form.ShowTerminal();
        QVERIFY(first.binding.form.close());
    }
    QCOMPARE(QSettings().value("Terminal/Open").toString(), stored);

    DeviceConsole second(sim.devicePath());
    second.binding.startUp(false);
    QCOMPARE(second.binding.terminal.isVisible(), showing);

    // The window that came back is a working terminal.
    second.binding.form.ShowTerminal();
    QVERIFY(second.connect());
    second.stopPolling();
    QVERIFY(settle(second));
    const qsizetype sentBefore = received().size();
    type(second, "st");
    QTRY_COMPARE(received().mid(sentBefore), QByteArray("st\r"));
    QTRY_VERIFY(shown(second).contains("\nst:1011,"));
}

QTEST_MAIN(TerminalEndToEnd)
#include "tst_terminal_e2e.moc"
