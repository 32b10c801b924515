// How the command line reads its words and durations, without running anything.
#include "app/cli/CommandLine.h"
#include "app/cli/CommandTable.h"
#include "app/cli/PeriodicRun.h"

#include <QtTest>

class CommandLineRules : public QObject
{
    Q_OBJECT

private slots:
    void commandLineReading_data();
    void commandLineReading();
    void durations_data();
    void durations();
};

void CommandLineRules::commandLineReading_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("reading");
    const int run = int(CommandLine::Outcome::Run);
    const int bad = int(CommandLine::Outcome::Bad);
    const int help = int(CommandLine::Outcome::Help);
    QTest::newRow("options around the command")
        << QStringList{"--port", "3", "get", "A.TXT", "--json", "-d", "x", "B.TXT"} << run
        << "get 3 A.TXT,B.TXT dir=x json";
    QTest::newRow("values after =")
        << QStringList{"--rate=115200", "get", "--dir=y", "A"} << run << "get  A dir=y rate=115200";
    QTest::newRow("words after -- are arguments")
        << QStringList{"send", "--", "--frob", "-x"} << run << "send  --frob,-x";
    QTest::newRow("clock --set=VALUE") << QStringList{"clock", "--set=2026-12-04T14:05:09"} << run
                                       << "clock  2026-12-04T14:05:09 set";
    QTest::newRow("missing value") << QStringList{"get", "A", "-d"} << bad << "-d needs its DIR";
    QTest::newRow("switch with a value")
        << QStringList{"--json=1", "info"} << bad << "--json takes no value";
    QTest::newRow("too many arguments")
        << QStringList{"baud", "9600", "57600"} << bad << "does not take \"57600\"";
    QTest::newRow("too few arguments") << QStringList{"rm"} << bad << "rm needs NAME...";
    QTest::newRow("what each exit status means")
        << QStringList{"--help"} << help
        << "Exit status: 0 done; 1 the Orvantis refused or the operation failed; 2 usage error";
    QTest::newRow("help of a command") << QStringList{"help", "run"} << help << "--period S";
    QTest::newRow("--help after a command") << QStringList{"ls", "--help"} << help << "orvantis ls";
    QTest::newRow("usage line") << QStringList{"--help"} << help << "[--json] [--quiet] COMMAND [ARGS] The Orvantis from the command line";
    QTest::newRow("what --detach excludes") << QStringList{"help", "run"} << help << "(needs --flash; no -o, --count, --for or --max-outage)";
    QTest::newRow("how put stores lines") << QStringList{"help", "put"} << help << "CR LF";
}

void CommandLineRules::commandLineReading()
{
    QFETCH(QStringList, words);
    QFETCH(int, outcome);
    QFETCH(QString, reading);
    CommandLine line(commandTable());
    const CommandLine::Outcome read = line.parse(QStringList{"orvantis"} + words);
    QCOMPARE(int(read), outcome);
    if (read == CommandLine::Outcome::Bad) {
        QVERIFY2(line.errorText().contains(reading), qPrintable(line.errorText()));
    } else if (read == CommandLine::Outcome::Help) {
        QVERIFY2(line.helpText().simplified().contains(reading), qPrintable(line.helpText()));
    } else {
        QString seen =
            QStringLiteral("%1 %2 %3")
                .arg(line.command(), line.port(), line.arguments().join(QLatin1Char(',')));
        for (const char *option : {"dir", "rate", "json", "set"}) {
            if (line.isSet(QLatin1String(option)))
                seen += QStringLiteral(" %1%2").arg(QLatin1String(option),
                                                    line.value(QLatin1String(option)).isEmpty()
                                                        ? QString()
                                                        : "=" + line.value(QLatin1String(option)));
        }
        QCOMPARE(seen, reading);
    }
}

void CommandLineRules::durations_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("seconds");
    QTest::newRow("seconds") << "90" << 90.0;
    QTest::newRow("s") << "90s" << 90.0;
    QTest::newRow("m with a fraction") << "1.5m" << 90.0;
    QTest::newRow("h") << "2h" << 7200.0;
    QTest::newRow("d") << "1d" << 86400.0;
    QTest::newRow("blanks around") << " 5 " << 5.0;
    QTest::newRow("zero") << "0" << -1.0;
    QTest::newRow("negative") << "-5" << -1.0;
    QTest::newRow("weeks") << "1w" << -1.0;
    QTest::newRow("exponent") << "1e3" << -1.0;
    QTest::newRow("unit alone") << "m" << -1.0;
    QTest::newRow("blank before the unit") << "5 m" << -1.0;
}

void CommandLineRules::durations()
{
    QFETCH(QString, text);
    QFETCH(double, seconds);
    double read = -1;
    QCOMPARE(PeriodicRun::readDuration(text, &read) ? read : -1.0, seconds);
}

QTEST_GUILESS_MAIN(CommandLineRules)
#include "tst_command_line.moc"
