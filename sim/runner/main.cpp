#include "PtyServer.h"
#include "RunnerOptions.h"
#include "SimStateFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

// orvantis-sim: serves the simulated instrument on a pseudo-terminal. The first line on
// standard output is the device to open; problems go to standard error.

namespace
{

// Signals reach the serving loop as one byte each on this pipe (PtyServer::kStopByte,
// kStatusToggleByte, ...), a stream's length after its byte.
int signalPipe[2] = {-1, -1};
// Signals that may carry a value (sigqueue): SIGRTMIN streams paced, the next one flat out,
// the one after unplugs. Their numbers are fixed at run time.
int streamPacedSignal = 0;
int unplugSignal = 0;
constexpr qint32 kDefaultStreamBytes = 200000;

void notify(char byte)
{
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

void onStopSignal(int)
{
    notify(PtyServer::kStopByte);
}

void onStatusToggleSignal(int)
{
    notify(PtyServer::kStatusToggleByte);
}

void onNoiseToggleSignal(int)
{
    notify(PtyServer::kNoiseToggleByte);
}

// A stream's length, or how long an unplug lasts, is the signal's value when it was queued
// with one (sigqueue).
void onValueSignal(int signal, siginfo_t *info, void *)
{
    char message[1 + sizeof(qint32)];
    qint32 value = -1;
    if (signal == unplugSignal) {
        message[0] = PtyServer::kUnplugByte;
    } else {
        message[0] = signal == streamPacedSignal ? PtyServer::kStreamPacedByte
                                                 : PtyServer::kStreamFlatOutByte;
        value = kDefaultStreamBytes;
    }
    if (info->si_code == SI_QUEUE)
        value = qint32(info->si_value.sival_int);
    std::memcpy(message + 1, &value, sizeof value);
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], message, sizeof message);
}

bool installSignalHandlers()
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {
    };
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
    action.sa_handler = onStatusToggleSignal;
    sigaction(SIGUSR1, &action, nullptr);
    action.sa_handler = onNoiseToggleSignal;
    sigaction(SIGUSR2, &action, nullptr);
    streamPacedSignal = SIGRTMIN;
    unplugSignal = SIGRTMIN + 2;
    action.sa_handler = nullptr;
    action.sa_sigaction = onValueSignal;
    action.sa_flags = SA_SIGINFO;
    for (int signal : {streamPacedSignal, streamPacedSignal + 1, unplugSignal})
        sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

bool readOptions(const QCoreApplication &app, RunnerOptions *options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated Orvantis instrument on a pseudo-terminal.\n"
        "Prints the device path as the first line on standard output, then serves the\n"
        "instrument on it until SIGTERM or SIGINT. The console may open, close and reopen\n"
        "the device. When the console sets a rate other than the instrument's own, the\n"
        "instrument's output arrives as garbage and what the console sends is not understood.\n"
        "What the console sends crosses at the line's pace (ten bits a byte at the rate it has\n"
        "set, --fast or not) and each byte is heard at the rate the line has as it crosses:\n"
        "bytes still on their way when the console changes its rate, or closes the device and\n"
        "its old settings come back, arrive as garbage. A new device's line starts at 9600\n"
        "baud, as an adapter's does.\n"
        "The flash disk (\"Dir /V\", \"type\", \"capture\", \"Del\") holds a few demonstration\n"
        "files unless --empty-disk; with --disk it lives in a folder and survives restarts.\n"
        "SIGUSR1 switches the answers to \"st\" off, and on again (a sensor that hangs).\n"
        "SIGUSR2 puts noise in place of every answer, and takes it away again: every byte\n"
        "value, lone carriage returns, a 5000-byte line, a 70 000-byte burst, in turn."));
    // The stream signals' numbers are known only at run time.
    parser.setApplicationDescription(
        parser.applicationDescription() +
        QStringLiteral("\nSIGRTMIN (%1) sends sample lines at the line rate, SIGRTMIN+1 (%2) the "
                       "same\nflat out: as many bytes as the signal's value (sigqueue, or "
                       "\"/bin/kill -q N -s %1 PID\"),\n%3 without one. For benchmarks that "
                       "compare consumers of the line.\n"
                       "SIGRTMIN+2 (%4) unplugs the device for as many milliseconds as the "
                       "signal's value\n(--unplug-for without one): the device and its --link "
                       "vanish, and standard output\ngets a line \"unplugged\"; then a new "
                       "device appears behind the link, and its path\non standard output. "
                       "Standard error says when periodic sampling starts and stops.")
            .arg(SIGRTMIN)
            .arg(SIGRTMIN + 1)
            .arg(kDefaultStreamBytes)
            .arg(SIGRTMIN + 2));
    parser.addHelpOption();
    const QCommandLineOption baud(QStringLiteral("baud"),
                                  QStringLiteral("The instrument's own rate (default 9600)."),
                                  QStringLiteral("N"), QStringLiteral("9600"));
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Also make a symlink to the device at PATH "
                                                 "(removed at exit and while unplugged)."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption fast(QStringLiteral("fast"),
                                  QStringLiteral("Send at full speed instead of rate/10 bytes "
                                                 "per second (file streams too); what the "
                                                 "console sends still crosses at the line's "
                                                 "pace."));
    const QCommandLineOption silent(QStringLiteral("silent"),
                                    QStringLiteral("Answer nothing at all (an empty port)."));
    const QCommandLineOption noSerial(QStringLiteral("no-serial"),
                                      QStringLiteral("Leave the serial line out of the \"id\" "
                                                     "answer."));
    const QCommandLineOption serial(QStringLiteral("serial"),
                                    QStringLiteral("Serial number to report (default 1021)."),
                                    QStringLiteral("TEXT"));
    const QCommandLineOption slow(QStringLiteral("slow-ms"),
                                  QStringLiteral("Echo at once but answer every command only "
                                                 "N ms later."),
                                  QStringLiteral("N"));
    const QCommandLineOption statusDelay(
        QStringLiteral("status-delay-ms"),
        QStringLiteral("Echo \"st\" and show the prompt at once, taking further commands, but "
                       "send its status line (the state when asked) only N ms later."),
        QStringLiteral("N"));
    const QCommandLineOption noStatus(QStringLiteral("no-status"),
                                      QStringLiteral("Never answer \"st\" (echo and prompt "
                                                     "only)."));
    const QCommandLineOption noStatusFor(QStringLiteral("no-status-for"),
                                         QStringLiteral("Do not answer \"st\" during the "
                                                        "first SECONDS."),
                                         QStringLiteral("SECONDS"));
    const QCommandLineOption stable(QStringLiteral("stable"),
                                    QStringLiteral("Start with thermal control and light "
                                                   "source already stable."));
    const QCommandLineOption settle(QStringLiteral("settle-seconds"),
                                    QStringLiteral("Thermal control and light source settle "
                                                   "within SECONDS of start (and the light "
                                                   "warms up that long after each switch-on)."),
                                    QStringLiteral("SECONDS"));
    const QCommandLineOption hangup(QStringLiteral("hangup-after"),
                                    QStringLiteral("Close the line after SECONDS, as a pulled "
                                                   "cable, and exit."),
                                    QStringLiteral("SECONDS"));
    const QCommandLineOption record(QStringLiteral("record"),
                                    QStringLiteral("Append every byte sent down the line to "
                                                   "PATH (for tests that compare)."),
                                    QStringLiteral("PATH"));
    const QCommandLineOption recordInput(QStringLiteral("record-input"),
                                         QStringLiteral("Append every byte received from the "
                                                        "line to PATH, as heard (garbage where "
                                                        "it crossed at another rate)."),
                                         QStringLiteral("PATH"));
    const QCommandLineOption disk(QStringLiteral("disk"),
                                  QStringLiteral("Keep the flash disk's files in folder DIR "
                                                 "(made if missing; an empty one gets the "
                                                 "demonstration files). Default: in memory."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption emptyDisk(QStringLiteral("empty-disk"),
                                       QStringLiteral("Start with no files on the flash disk."));
    const QCommandLineOption spectrum(QStringLiteral("spectrum-ms"),
                                      QStringLiteral("Time one spectrum takes (default 20)."),
                                      QStringLiteral("N"));
    const QCommandLineOption stallType(QStringLiteral("stall-type-after"),
                                       QStringLiteral("Stop sending a \"type\" file after N "
                                                      "bytes of it (no prompt until ETX)."),
                                       QStringLiteral("N"));
    const QCommandLineOption hangupType(QStringLiteral("hangup-type-after"),
                                        QStringLiteral("Close the line after N bytes of a "
                                                       "\"type\" file have gone out, and exit."),
                                        QStringLiteral("N"));
    const QCommandLineOption burstReports(
        QStringLiteral("burst-reports"),
        QStringLiteral("Hold the report lines of a processing run (\"Processing ...\", "
                       "\"Pass ...\") and send them back to back with \"Processing "
                       "complete\" or \"Processing aborted\"."));
    const QCommandLineOption hangupProbe(
        QStringLiteral("hangup-on-probe"),
        QStringLiteral("Close the line at the first ETX heard at the instrument's rate, without "
                       "an answer, and exit (a device that resets, an adapter pulled out)."));
    const QCommandLineOption oddListing(QStringLiteral("odd-listing"),
                                        QStringLiteral("Mix junk lines (volume line, no size, "
                                                       "bad date, blanks, a tab) into the "
                                                       "\"Dir /V\" listing."));
    const QCommandLineOption cutListing(QStringLiteral("cut-listing"),
                                        QStringLiteral("Leave the closing \"bytes free\" line "
                                                       "out of the \"Dir /V\" listing, as if it "
                                                       "were lost on the line."));
    const QCommandLineOption ignoreSettings(
        QStringLiteral("ignore-settings"),
        QStringLiteral("Answer \"baud N\" and a clock setting as usual but change nothing: "
                       "the line keeps its rate, the clock its time."));
    const QCommandLineOption clockAhead(
        QStringLiteral("clock-set-ahead"),
        QStringLiteral("A clock setting puts the clock this many seconds past the time asked."),
        QStringLiteral("seconds"), QStringLiteral("0"));
    const QCommandLineOption deafToStop(
        QStringLiteral("deaf-to-stop"),
        QStringLiteral("ETX neither stops periodic sampling nor is answered while it runs."));
    const QCommandLineOption echoWhileBusy(
        QStringLiteral("echo-while-busy"),
        QStringLiteral("A line typed while a command runs (periodic sampling among them) is "
                       "echoed, then ignored."));
    const QCommandLineOption stopWithoutPrompt(
        QStringLiteral("stop-without-prompt"),
        QStringLiteral(
            "ETX stops periodic sampling, but from then on gets a line end, no prompt."));
    const QCommandLineOption wording(
        QStringLiteral("refusal-wording"),
        QStringLiteral("How a file command is refused: \"plain\" (default: \"File not found: "
                       "NAME\", \"Bad file name: NAME\"), \"numbered\" (\"Error 2: no such "
                       "file\", \"Error 123: bad file name\") or \"terse\" (\"?NAME\"), for "
                       "\"type\" and \"Del\" of a missing file and \"capture\" with a bad "
                       "name."),
        QStringLiteral("WORDING"), QStringLiteral("plain"));
    const QCommandLineOption unplugAfter(
        QStringLiteral("unplug-after"),
        QStringLiteral("Unplug the device once, SECONDS after start, as a USB adapter pulled "
                       "out: it vanishes, and what the instrument says meanwhile is lost."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption unplugFor(
        QStringLiteral("unplug-for"),
        QStringLiteral("An unplugged device comes back after SECONDS (default 5) as a new "
                       "pseudo-terminal, behind the same --link."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption restartOnReplug(
        QStringLiteral("restart-on-replug"),
        QStringLiteral("After a replug the instrument has restarted: sampling stopped, at its "
                       "start-up rate, settling afresh (disk and clock kept). Without it the "
                       "instrument went on, periodic sampling too."));
    const QCommandLineOption serialAfterReplug(
        QStringLiteral("serial-after-replug"),
        QStringLiteral("After a replug another instrument (restarted) is behind the link, "
                       "with serial number TEXT."),
        QStringLiteral("TEXT"));
    const QCommandLineOption garbage(QStringLiteral("garbage"),
                                     QStringLiteral("Send line noise in place of every answer, "
                                                    "and understand nothing, at any rate."));
    const QCommandLineOption state(
        QStringLiteral("state-file"),
        QStringLiteral("Keep the instrument's start-up rate in PATH over restarts: a rate stored "
                       "there (by \"baud Nstore\") is the rate it comes up at, in place of "
                       "--baud."),
        QStringLiteral("PATH"));
    parser.addOptions({baud,         link,        fast,        silent,          noSerial,
                       serial,       slow,        statusDelay, noStatus,        noStatusFor,
                       stable,       settle,      hangup,      hangupProbe,     disk,
                       emptyDisk,    spectrum,    stallType,   hangupType,      oddListing,
                       burstReports, record,      recordInput, garbage,         state,
                       wording,      unplugAfter, unplugFor,   restartOnReplug, serialAfterReplug});
    parser.addOption(cutListing);
    parser.addOption(ignoreSettings);
    parser.addOption(stopWithoutPrompt);
    parser.addOption(clockAhead);
    parser.addOption(deafToStop);
    parser.addOption(echoWhileBusy);
    parser.process(app);

    bool ok = true;
    auto number = [&](const QCommandLineOption &option) {
        bool good = false;
        const double value = parser.value(option).toDouble(&good);
        if (!good || value < 0) {
            std::fprintf(stderr, "orvantis-sim: bad value for --%s\n",
                         qPrintable(option.names().constFirst()));
            ok = false;
        }
        return value;
    };
    SimOptions &engine = options->engine;
    engine.baudRate = int(number(baud));
    options->linkPath = parser.value(link);
    options->fast = parser.isSet(fast);
    options->garbage = parser.isSet(garbage);
    engine.silent = parser.isSet(silent);
    engine.noSerial = parser.isSet(noSerial);
    if (parser.isSet(serial))
        engine.serial = parser.value(serial).toLatin1();
    if (parser.isSet(slow))
        engine.replyDelayMs = int(number(slow));
    if (parser.isSet(statusDelay))
        engine.statusDelayMs = int(number(statusDelay));
    if (parser.isSet(noStatusFor))
        engine.statusMuteMs = qint64(number(noStatusFor) * 1000);
    if (parser.isSet(noStatus))
        engine.statusMuteMs = -1;
    if (parser.isSet(stable)) {
        engine.initialDeviation = 0;
        engine.thermalSettleMs = 0;
        engine.lightWarmupSeconds = 0;
    }
    if (parser.isSet(settle)) {
        // Half the time to work the deviation off, half to hold it there; the light source
        // counts down the whole time.
        const double seconds = number(settle);
        engine.thermalSettleMs = int(seconds * 500);
        engine.thermalRatePerSecond =
            seconds > 0 ? engine.initialDeviation / (seconds / 2) : engine.initialDeviation * 1000;
        engine.lightWarmupSeconds = int(std::ceil(seconds));
    }
    if (parser.isSet(hangup))
        options->hangupAfterMs = qint64(number(hangup) * 1000);
    if (parser.isSet(unplugAfter))
        options->unplugAfterMs = qint64(number(unplugAfter) * 1000);
    if (parser.isSet(unplugFor))
        options->unplugForMs = qint64(number(unplugFor) * 1000);
    options->restartOnReplug = parser.isSet(restartOnReplug);
    options->serialAfterReplug = parser.value(serialAfterReplug).toLatin1();
    engine.clockStart = QDateTime::currentDateTime();
    engine.fastTransfers = options->fast;
    engine.diskFolder = parser.value(disk);
    engine.seedDisk = !parser.isSet(emptyDisk);
    if (parser.isSet(spectrum))
        engine.spectrumMs = int(number(spectrum));
    if (parser.isSet(stallType))
        engine.stallTypeAfter = qint64(number(stallType));
    if (parser.isSet(hangupType))
        engine.hangupTypeAfter = qint64(number(hangupType));
    engine.oddListing = parser.isSet(oddListing);
    engine.cutListing = parser.isSet(cutListing);
    engine.ignoreSettings = parser.isSet(ignoreSettings);
    engine.stopWithoutPrompt = parser.isSet(stopWithoutPrompt);
    engine.clockSetAheadSeconds = int(number(clockAhead));
    engine.deafToStop = parser.isSet(deafToStop);
    engine.echoWhileBusy = parser.isSet(echoWhileBusy);
    const QString wordingName = parser.value(wording);
    if (wordingName == QLatin1String("numbered")) {
        engine.refusalWording = SimOptions::Wording::Numbered;
    } else if (wordingName == QLatin1String("terse")) {
        engine.refusalWording = SimOptions::Wording::Terse;
    } else if (wordingName != QLatin1String("plain")) {
        std::fprintf(stderr, "orvantis-sim: bad value for --refusal-wording\n");
        ok = false;
    }
    engine.burstReports = parser.isSet(burstReports);
    engine.hangupOnProbe = parser.isSet(hangupProbe);
    if (!engine.diskFolder.isEmpty() && !QDir().mkpath(engine.diskFolder)) {
        std::fprintf(stderr, "orvantis-sim: cannot make the disk folder %s\n",
                     qPrintable(engine.diskFolder));
        ok = false;
    }
    options->recordPath = parser.value(record);
    options->recordInputPath = parser.value(recordInput);
    options->stateFile = parser.value(state);
    if (!options->stateFile.isEmpty())
        SimStateFile(options->stateFile).load(&engine);
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvantis-sim"));
    RunnerOptions options;
    if (!readOptions(app, &options))
        return 2;
    if (!installSignalHandlers()) {
        std::perror("orvantis-sim: pipe");
        return 1;
    }

    PtyServer server(options);
    if (!server.open()) {
        std::fprintf(stderr, "orvantis-sim: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    std::printf("%s\n", qPrintable(server.devicePath()));
    std::fflush(stdout);

    return server.run(signalPipe[0]);
}
