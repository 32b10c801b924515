#pragma once

#include <QByteArray>

// How the simulated instrument is built and which faults it shows. Times are in the
// engine's own milliseconds.
struct SimOptions {
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

    // Faults.
    bool silent = false;     // answers nothing at all
    bool noSerial = false;   // "id" leaves out its serial line
    int replyDelayMs = 0;    // echo at once, the answer only after this delay
    qint64 statusMuteMs = 0; // "st" unanswered until this engine time; < 0: never answered
};
