#include "SimBaudClockCommands.h"

#include "SimEngine.h"

#include <QDateTime>
#include <QRegularExpression>
#include <memory>

namespace
{

// The instrument's clock: where it stood at an engine time, running with the engine's clock.
// Kept without a time zone, so no daylight-saving jump moves it.
struct SimRealTimeClock {
    QDateTime base;
    qint64 baseMs = 0;

    QDateTime at(qint64 nowMs) const { return base.addMSecs(nowMs - baseMs); }
};

QByteArray rateReply(const SimOptions &o)
{
    return "baud: " + QByteArray::number(o.baudRate) + ',' + QByteArray::number(o.startupBaudRate);
}

// A whole number made of digits only; 0 otherwise.
int rateFrom(const QByteArray &text)
{
    bool ok = false;
    const int rate = text.toInt(&ok);
    return ok && !text.startsWith('+') && !text.startsWith('-') ? rate : 0;
}

void changeRate(SimEngine &engine, const SimCommandLine &command, int rate)
{
    const QByteArray changing = "Changing to " + QByteArray::number(rate) + " baud";
    engine.sendLine(changing);
    // The echo and the answer still go out at the old rate; only then does the line switch,
    // and the prompt comes at the new rate.
    const qint64 bytesOut = command.line.size() + 2 + changing.size() + 2;
    const qint64 lineMs = bytesOut * 10000 / qMax(1, engine.baudRate());
    engine.keepBusy();
    engine.later(lineMs + SimBaudClockCommands::kSwitchSettleMs, [&engine, rate] {
        if (!engine.options().ignoreSettings)
            engine.setBaudRate(rate);
        engine.finishCommand();
    });
}

void baud(SimEngine &engine, const SimCommandLine &command)
{
    SimOptions &o = engine.options();
    const QByteArray argument = command.arguments().value(0);
    if (argument.isEmpty()) {
        engine.sendLine(rateReply(o));
        return;
    }
    const bool store = argument.toLower().endsWith("store");
    const int rate = rateFrom(store ? argument.chopped(5) : argument);
    if (!SimBaudClockCommands::isSupportedRate(rate)) {
        engine.sendLine("Bad baud rate: " + argument);
        return;
    }
    if (store) {
        o.startupBaudRate = rate;
        engine.sendLine(rateReply(o));
        return;
    }
    changeRate(engine, command, rate);
}

QByteArray clockText(const QDateTime &t)
{
    const QDate d = t.date();
    const QTime h = t.time();
    return QString::asprintf("%02d/%02d/%04d %02d:%02d:%02d", d.month(), d.day(), d.year(),
                             h.hour(), h.minute(), h.second())
        .toLatin1();
}

// "MM/DD/YYYY HH:MM:SS"; one-digit month, day and hour are taken too. Invalid: not a time.
QDateTime clockFrom(const QByteArray &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})\\s+(\\d{1,2}):(\\d{2}):(\\d{2})$"));
    const QRegularExpressionMatch m = pattern.match(QString::fromLatin1(text));
    if (!m.hasMatch())
        return QDateTime();
    auto n = [&m](int i) { return m.captured(i).toInt(); };
    const QDate date(n(3), n(1), n(2));
    const QTime time(n(4), n(5), n(6));
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time, Qt::UTC);
}

} // namespace

bool SimBaudClockCommands::isSupportedRate(int rate)
{
    switch (rate) {
    case 9600:
    case 19200:
    case 38400:
    case 57600:
    case 115200:
        return true;
    default:
        return false;
    }
}

void SimBaudClockCommands::install(SimEngine &engine)
{
    SimOptions &o = engine.options();
    if (o.startupBaudRate <= 0)
        o.startupBaudRate = o.baudRate;
    engine.addCommand("baud", baud);

    // Until it is set the clock shows the computer's local time when the engine was made.
    auto clock = std::make_shared<SimRealTimeClock>();
    const QDateTime local = QDateTime::currentDateTime();
    clock->base = QDateTime(
        local.date(), QTime(local.time().hour(), local.time().minute(), local.time().second()),
        Qt::UTC);
    clock->baseMs = engine.now();
    engine.addCommand("time", [clock](SimEngine &e, const SimCommandLine &command) {
        if (command.rest.isEmpty()) {
            e.sendLine(clockText(clock->at(e.now())));
            return;
        }
        const QDateTime set = clockFrom(command.rest);
        if (!set.isValid()) {
            e.sendLine("Bad date or time: " + command.rest);
            return;
        }
        if (e.options().ignoreSettings)
            return;
        clock->base = set.addSecs(e.options().clockSetAheadSeconds);
        clock->baseMs = e.now();
    });
}
