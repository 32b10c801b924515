#include "features/status/StatusDisplay.h"

#include <QTest>

using Control = StatusDisplay::Control;

namespace
{
StatusDisplay::Input input(int code, const QString &SerNum = QStringLiteral("1234"),
                           const QString &statusMsg = QString())
{
    StatusDisplay::Input in;
    in.code = code;
    in.SerNum = SerNum;
    in.portNumber = 3;
    in.settings = QStringLiteral("9600,n,8,1");
    in.SampleDelayText = QStringLiteral("10");
    in.statusMsg = statusMsg;
    return in;
}
} // namespace

class TestStatusDisplay : public QObject
{
    Q_OBJECT
private slots:
    void standardTexts_data();
    void standardTexts();
    void givenMessageIsShownAsItIs_data();
    void givenMessageIsShownAsItIs();
    void terminalCaption_data();
    void terminalCaption();
    void pointerAndClearing_data();
    void pointerAndClearing();
    void dataFileControlsFollowTheFileWhateverTheCode();
};

void TestStatusDisplay::standardTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("SerNum");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "1234"
                       << "No Orvantis connected";
    QTest::newRow("1") << 1 << "1234"
                       << "Connected to 1234";
    QTest::newRow("1 after disconnect") << 1 << ""
                                        << "Connected to ";
    QTest::newRow("2") << 2 << "1234"
                       << "Command in progress";
    QTest::newRow("3") << 3 << "1234"
                       << "File tranfer in progress";
    QTest::newRow("4") << 4 << "1234"
                       << "Periodic sampling (10 s)";
    QTest::newRow("5") << 5 << "1234"
                       << "NO RESPONSE-CHECK CONNECTIONS";
    QTest::newRow("7 has none") << 7 << "1234"
                                << "";
    QTest::newRow("-1 has none") << -1 << "1234"
                                 << "";
}

void TestStatusDisplay::standardTexts()
{
    QFETCH(int, code);
    QFETCH(QString, SerNum);
    QFETCH(QString, text);
    const StatusDisplay display(input(code, SerNum));
    QCOMPARE(display.statusText(), text);
    QCOMPARE(display.labelText(), text + QLatin1Char(' '));
}

void TestStatusDisplay::givenMessageIsShownAsItIs_data()
{
    QTest::addColumn<int>("code");
    for (int code : {0, 1, 2, 3, 4, 5, 7})
        QTest::addRow("%d", code) << code;
}

void TestStatusDisplay::givenMessageIsShownAsItIs()
{
    QFETCH(int, code);
    const StatusDisplay display(input(code, QStringLiteral("1234"), QStringLiteral("Busy, wait")));
    QCOMPARE(display.labelText(), QStringLiteral("Busy, wait "));
}

void TestStatusDisplay::terminalCaption_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("caption");
    QTest::newRow("connected") << 1 << 3 << "9600,n,8,1"
                               << "1234 Terminal - COM 3 -  9600 baud";
    QTest::newRow("two-digit port") << 5 << 12 << "115200,n,8,1"
                                    << "1234 Terminal - COM 12 -  115200 baud";
    QTest::newRow("transfer") << 3 << 3 << "9600,n,8,1"
                              << "1234 Terminal - COM 3 -  9600 baud";
    QTest::newRow("unknown code") << 7 << 3 << "9600,n,8,1"
                                  << "1234 Terminal - COM 3 -  9600 baud";
    QTest::newRow("not connected") << 0 << 3 << "9600,n,8,1"
                                   << "Terminal - no connection";
}

void TestStatusDisplay::terminalCaption()
{
    QFETCH(int, code);
    QFETCH(int, port);
    QFETCH(QString, settings);
    QFETCH(QString, caption);
    StatusDisplay::Input in = input(code);
    in.portNumber = port;
    in.settings = settings;
    const StatusDisplay display(in);
    QVERIFY(display.terminalCaption().has_value());
    QCOMPARE(*display.terminalCaption(), caption);
}

void TestStatusDisplay::pointerAndClearing_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("hourglass");
    QTest::addColumn<bool>("clears");
    QTest::addColumn<bool>("keepsCaption");
    QTest::newRow("0") << 0 << false << true << false;
    QTest::newRow("1") << 1 << false << false << false;
    QTest::newRow("2") << 2 << true << false << true;
    QTest::newRow("3") << 3 << true << false << false;
    QTest::newRow("4") << 4 << false << false << true;
    QTest::newRow("5") << 5 << false << false << false;
    QTest::newRow("7") << 7 << false << false << false;
}

void TestStatusDisplay::pointerAndClearing()
{
    QFETCH(int, code);
    QFETCH(bool, hourglass);
    QFETCH(bool, clears);
    QFETCH(bool, keepsCaption);
    const StatusDisplay display(input(code));
    QCOMPARE(display.hourglass(), hourglass);
    QCOMPARE(display.clearsSerNum(), clears);
    QCOMPARE(display.clearsPanels(), clears);
    QCOMPARE(!display.terminalCaption().has_value(), keepsCaption);
}

void TestStatusDisplay::dataFileControlsFollowTheFileWhateverTheCode()
{
    for (int code : {0, 1, 2, 3, 4, 5, 7}) {
        StatusDisplay::Input in = input(code);
        in.dataFileOpen = true;
        const StatusDisplay open(in);
        QCOMPARE(open.enable(Control::NewFileButton), StatusDisplay::Enable::Off);
        QCOMPARE(open.enable(Control::StopSavingButton), StatusDisplay::Enable::On);
        QVERIFY(!open.savingLabelText().has_value());

        in.dataFileOpen = false;
        const StatusDisplay closed(in);
        QCOMPARE(closed.enable(Control::NewFileButton), StatusDisplay::Enable::On);
        QCOMPARE(closed.enable(Control::StopSavingButton), StatusDisplay::Enable::Off);
        QCOMPARE(closed.savingLabelText().value_or(QString()), QStringLiteral("No file open"));
    }
}

QTEST_GUILESS_MAIN(TestStatusDisplay)
#include "tst_statusdisplay.moc"
