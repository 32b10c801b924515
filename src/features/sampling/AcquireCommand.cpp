#include "features/sampling/AcquireCommand.h"

#include "support/StringCode.h"

#include <QLocale>
#include <cmath>

namespace
{
constexpr int kFlashNameSent = 7;
// Destination bits: 1 the instrument's flash, 2 this computer; 4 asks for both.
constexpr int kToFlash = 1;
constexpr int kToComputer = 2;
constexpr int kToBoth = 4;
} // namespace

QByteArray BuildAcquireCommand(const SamplingSettings &settings)
{
    QByteArray command("Acquire auto,");
    command += settings.average ? settings.averageSamples.toLatin1() : QByteArray("1");
    command += ",1,";
    command += settings.storeInFlash ? settings.flashFileName.left(kFlashNameSent).toLatin1()
                                     : QByteArray("\"\"");
    command += ",0,-1";
    const int destination =
        (settings.storeInFlash ? kToFlash : 0) | (settings.storeInComputer ? kToComputer : 0);
    if (destination == (kToFlash | kToComputer))
        command += ',' + QByteArray::number(kToBoth);
    else if (destination != 0)
        command += ',' + QByteArray::number(destination);
    command += '\r';
    return command;
}

QByteArray BuildStartCommand(double minimumPeriod, const QByteArray &acquireCommand)
{
    return "start" + NumberWithSign(minimumPeriod).toLatin1() + ' ' + acquireCommand;
}

PeriodicRunInfo BuildPeriodicRun(const SamplingSettings &settings, double minimumPeriod)
{
    PeriodicRunInfo run;
    run.startCommand = BuildStartCommand(minimumPeriod, BuildAcquireCommand(settings));
    run.period = NumberWithSign(minimumPeriod).trimmed();
    run.toFlash = settings.storeInFlash;
    run.toComputer = settings.storeInComputer;
    if (run.toFlash)
        run.flashName = settings.flashFileName.left(kFlashNameSent);
    return run;
}

bool ReadMinimumPeriod(const QString &text, double *seconds)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return false;
    *seconds = value;
    return true;
}
