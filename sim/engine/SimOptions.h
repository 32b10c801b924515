#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// How the simulated instrument is built and which faults it shows. Times are in the
// engine's own milliseconds.
struct SimOptions {
    // How the instrument words a refusal of a file command: a file that is not on the disk
    // ("type", "Del") and a name the disk cannot hold ("capture"). The console must not
    // depend on the words.
    enum class Wording {
        Plain,    // "File not found: NAME", "Bad file name: NAME"
        Numbered, // "Error 2: no such file", "Error 123: bad file name"
        Terse,    // "?NAME"
    };

    // Line rate the instrument talks at; the runner compares it with the line's rate.
    int baudRate = 9600;
    // Rate it comes up at after a restart, kept by "baud Nstore"; 0: the same as baudRate.
    int startupBaudRate = 0;

    QByteArray model = "Orvantis OV-3";
    QByteArray serial = "1021";
    QByteArray configuration = "Standard 512 px";
    int depthMetres = 600;
    QByteArray firmware = "2.61";

    // Thermal control: the deviation it starts from (positive: must cool), how fast it works
    // it off, and how long it must stay on target before it reports itself stable.
    double initialDeviation = 4.0;
    double thermalRatePerSecond = 0.1;
    int thermalSettleMs = 10000;
    double ambientTemperature = 21.5;
    double supplyVolts = 12.1;
    bool thermalOn = true;

    // Light source: seconds it needs after being switched on before it is stable.
    int lightWarmupSeconds = 120;
    bool lightOn = true;

    // The instrument's calendar clock at engine time 0; a fixed default keeps runs repeatable.
    QDateTime clockStart = QDateTime(QDate(2024, 5, 14), QTime(9, 30));

    // Spectra: how long one takes, and how long the shutter settles before a series.
    int spectrumMs = 20;
    int settleMs = 500;

    // Flash disk: a folder that holds its files (empty: in memory only), whether an empty
    // disk gets the demonstration files, and its size in bytes.
    QString diskFolder;
    bool seedDisk = true;
    qint64 diskCapacity = 4194304;
    // File streams ("type") leave at once instead of at the line rate.
    bool fastTransfers = false;

    // Faults.
    bool silent = false;         // answers nothing at all
    bool noSerial = false;       // "id" leaves out its serial line
    int replyDelayMs = 0;        // echo at once, the answer only after this delay
    qint64 statusMuteMs = 0;     // "st" unanswered until this engine time; < 0: never answered
    qint64 stallTypeAfter = -1;  // "type" stops sending after this many bytes of the file
    qint64 hangupTypeAfter = -1; // the line is closed after this many bytes of a "type" file
    bool oddListing = false;     // "Dir /V" mixes junk lines among the file rows
    bool cutListing = false;     // "Dir /V" loses its closing "bytes free" line
    // "baud N" and "time ..." answer as usual but change nothing: the line keeps its rate and
    // the clock its time.
    bool ignoreSettings = false;
    int clockSetAheadSeconds = 0;   // a clock setting lands this much past the time asked
    bool stopWithoutPrompt = false; // after a stopped "start", ETX gets no prompt
    bool deafToStop = false;        // "start" samples on through ETX
    bool echoWhileBusy = false;     // a line typed during a command is echoed, then ignored
    Wording refusalWording = Wording::Plain;
    // "st" is echoed and prompted at once and takes further commands, but its line (the state
    // as it was when asked) comes only this much later: a stale reply after a later switch.
    int statusDelayMs = 0;
    // A processing run holds its report lines and sends them back to back with its last one.
    bool burstReports = false;
    // The first ETX heard closes the line, as a device that resets or an adapter pulled out.
    bool hangupOnProbe = false;
};
