#include "app/cli/InstrumentCommands.h"

#include "app/cli/CliContext.h"
#include "app/cli/CliOutput.h"
#include "app/cli/CommandLine.h"
#include "app/cli/StatusReport.h"
#include "features/status/InstrumentClock.h"
#include "features/status/StatusMonitor.h"
#include "session/BaudRateChange.h"
#include "session/InstrumentInfo.h"
#include "session/InstrumentSession.h"
#include "session/LineClaim.h"
#include "session/PortSearch.h"
#include "support/StringCode.h"

#include <QDateTime>

namespace
{
constexpr float kDefaultSendSeconds = 5;
constexpr char kPrompt[] = "Orvantis>";
const QString kSet = QStringLiteral("set");

int currentRate(const InstrumentSession &session)
{
    return int(ExtractNumber(session.settings().toLatin1()));
}

// "2026-12-04T14:05:09", as typed after --set; invalid when it is not one.
QDateTime typedTime(const QString &text)
{
    return QDateTime::fromString(text, Qt::ISODate);
}

QString shown(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString iso(const QDateTime &time)
{
    return CliOutput::isoTime(time, Qt::ISODate);
}

double sendTimeout(const CommandLine &line)
{
    return line.isSet(QStringLiteral("timeout")) ? line.value(QStringLiteral("timeout")).toDouble()
                                                 : kDefaultSendSeconds;
}

QByteArray sendText(const CommandLine &line)
{
    return line.arguments().join(QLatin1Char(' ')).toLatin1();
}

// What came after the echo of a command up to the prompt: the echo's line end and the
// prompt's own line left out, line ends as "\n".
QString answerText(QByteArray reply, bool framed)
{
    // A reply cut off by the time-out holds the echo too.
    if (!framed)
        reply = reply.mid(qMax<qsizetype>(0, reply.indexOf('\r')));
    if (reply.startsWith('\r'))
        reply.remove(0, 1);
    if (reply.startsWith('\n'))
        reply.remove(0, 1);
    if (framed)
        reply.truncate(reply.lastIndexOf('\n') + 1);
    reply.replace("\r\n", "\n");
    reply.replace('\r', '\n');
    return QString::fromLatin1(reply);
}
} // namespace

namespace InstrumentCommands
{

ExitStatus find(CliContext &context)
{
    InstrumentSession &session = context.session;
    const QString serial = session.identity().InstrumentSerial;
    const QString device = session.deviceName();
    // The number the console gives the port; none for a device outside its table.
    const int number = int(PortTable::fromSystem().devices().indexOf(device)) + 1;
    const QString where = number > 0
                              ? QCoreApplication::translate("InstrumentCommands", "port %1 (%2)")
                                    .arg(number)
                                    .arg(device)
                              : device;
    const QJsonObject document{
        {QStringLiteral("port"), number > 0 ? QJsonValue(number) : QJsonValue()},
        {QStringLiteral("device"), device},
        {QStringLiteral("rate"), currentRate(session)},
        {QStringLiteral("serial"), serial}};
    context.output.result(
        document, {QCoreApplication::translate("InstrumentCommands", "Orvantis %1 on %2 at %3 baud")
                       .arg(serial, where)
                       .arg(currentRate(session))});
    return ExitStatus::Done;
}

ExitStatus info(CliContext &context)
{
    const InstrumentIdentity &id = context.session.identity();
    const QString depth = QString::number(id.InstrumentMaxDepth) + QStringLiteral(" m");
    const QString firmware = FirmwareText(id.InstrumentFirmware);
    const QJsonObject document{{QStringLiteral("model"), id.InstrumentModel},
                               {QStringLiteral("configuration"), id.InstrumentConfiguration},
                               {QStringLiteral("serial"), id.InstrumentSerial},
                               {QStringLiteral("maxDepth"), id.InstrumentMaxDepth},
                               {QStringLiteral("firmware"), firmware}};
    const QString row = QStringLiteral("%1 %2");
    context.output.result(
        document,
        {row.arg(QCoreApplication::translate("InstrumentCommands", "Model:"), -14)
             .arg(id.InstrumentModel),
         row.arg(QCoreApplication::translate("InstrumentCommands", "Configuration:"), -14)
             .arg(id.InstrumentConfiguration),
         row.arg(QCoreApplication::translate("InstrumentCommands", "Serial:"), -14)
             .arg(id.InstrumentSerial),
         row.arg(QCoreApplication::translate("InstrumentCommands", "Max Depth:"), -14).arg(depth),
         row.arg(QCoreApplication::translate("InstrumentCommands", "Firmware:"), -14)
             .arg(firmware)});
    return ExitStatus::Done;
}

ExitStatus status(CliContext &context)
{
    StatusMonitor monitor(context.session);
    QByteArray line;
    QObject::connect(&monitor, &StatusMonitor::statusLineSeen,
                     [&line](const QByteArray &seen) { line = seen; });
    monitor.QueryStatus();
    // The line reaches the panels after the receive run that brought it.
    context.session.runPendingEvents();
    if (line.isEmpty()) {
        if (!context.interrupted())
            context.output.error(QCoreApplication::translate(
                "InstrumentCommands", "the Orvantis did not answer \"st\" with its status"));
        return ExitStatus::Failed;
    }
    const StatusReport report(monitor.panels(), line);
    context.output.result(report.document(), report.lines());
    return ExitStatus::Done;
}

ExitStatus checkClock(const CommandLine &line, CliOutput &output)
{
    const QString given = line.arguments().value(0);
    if (!given.isEmpty() && !line.isSet(kSet)) {
        output.error(QCoreApplication::translate("InstrumentCommands",
                                                 "clock takes a date and time only after --set"));
        return ExitStatus::Usage;
    }
    if (!given.isEmpty() && !typedTime(given).isValid()) {
        output.error(
            QCoreApplication::translate("InstrumentCommands",
                                        "\"%1\" is not a date and time such as 2026-12-04T14:05:09")
                .arg(given));
        return ExitStatus::Usage;
    }
    return ExitStatus::Done;
}

ExitStatus clock(CliContext &context)
{
    InstrumentClock instrumentClock(context.session.line());
    const QString given = context.line.arguments().value(0);
    const bool set = context.line.isSet(kSet);
    QDateTime wanted;
    const QDateTime setAt = QDateTime::currentDateTime();
    if (set) {
        wanted = given.isEmpty() ? setAt : typedTime(given);
        instrumentClock.set(wanted.date(), wanted.time());
    }
    QDate date;
    QTime time;
    if (!instrumentClock.read(&date, &time)) {
        context.output.error(QCoreApplication::translate(
            "InstrumentCommands", "the Orvantis did not tell its time (no answer to "
                                  "\"time\")"));
        return ExitStatus::Failed;
    }
    const QDateTime computer = QDateTime::currentDateTime();
    const QDateTime instrument(date, time);
    const qint64 ahead = computer.secsTo(instrument);
    // Once set, the clock runs on from the time it was given as the computer's does.
    const qint64 off = set ? wanted.secsTo(instrument) - setAt.secsTo(computer) : 0;
    QJsonObject document{{QStringLiteral("instrument"), iso(instrument)},
                         {QStringLiteral("computer"), iso(computer)},
                         {QStringLiteral("aheadSeconds"), ahead}};
    if (set)
        document.insert(QStringLiteral("set"), iso(wanted));
    QStringList lines{
        QCoreApplication::translate("InstrumentCommands", "Orvantis:  %1").arg(shown(instrument)),
        QCoreApplication::translate("InstrumentCommands", "Computer:  %1").arg(shown(computer))};
    if (set && qAbs(off) > 2) {
        context.output.error(
            QCoreApplication::translate("InstrumentCommands",
                                        "the Orvantis's clock reads %1 after it was set to %2")
                .arg(shown(instrument), shown(wanted)));
        return ExitStatus::Failed;
    }
    context.output.result(document, lines);
    return ExitStatus::Done;
}

ExitStatus checkBaud(const CommandLine &line, CliOutput &output)
{
    const QString rate = line.arguments().value(0);
    if (PortSearch::kBaudRates.contains(rate))
        return ExitStatus::Done;
    output.error(
        QCoreApplication::translate("InstrumentCommands", "%1 is not a rate of the Orvantis: %2")
            .arg(rate, PortSearch::kBaudRates.join(QStringLiteral(", "))));
    return ExitStatus::Usage;
}

ExitStatus baud(CliContext &context)
{
    InstrumentSession &session = context.session;
    const int rate = context.line.arguments().value(0).toInt();
    LineClaim claim = session.claimLine(LineOperation::BaudChange);
    if (!claim)
        return ExitStatus::Failed;
    BaudRateChange change(claim);
    switch (change.change(QString::number(rate))) {
    case BaudRateChange::Outcome::Changed:
        break;
    case BaudRateChange::Outcome::RateFixed:
        context.output.error(
            BaudRateChange::rateFixedMessage(claim.portNumber(), claim.deviceName()));
        return ExitStatus::Failed;
    case BaudRateChange::Outcome::NotConfirmed:
        context.output.error(
            QCoreApplication::translate("InstrumentCommands",
                                        "the Orvantis did not answer at %1 baud; it may "
                                        "still be at %2 baud, where the next command looks "
                                        "for it first")
                .arg(rate)
                .arg(change.previousRate()));
        return ExitStatus::Failed;
    default:
        context.output.error(
            QCoreApplication::translate("InstrumentCommands",
                                        "the Orvantis did not take the rate %1 (no "
                                        "\"Changing\" answer); the link stays at %2 baud")
                .arg(rate)
                .arg(change.previousRate()));
        return ExitStatus::Failed;
    }
    QJsonObject document{{QStringLiteral("rate"), rate},
                         {QStringLiteral("previousRate"), change.previousRate()}};
    QStringList lines{QCoreApplication::translate("InstrumentCommands",
                                                  "The link runs at %1 baud (it was at %2).")
                          .arg(rate)
                          .arg(change.previousRate())};
    if (context.line.isSet(QStringLiteral("startup"))) {
        const int stored = change.storeStartupRate(rate);
        if (stored != rate) {
            context.output.error(
                QCoreApplication::translate("InstrumentCommands",
                                            "the Orvantis did not confirm %1 baud as its "
                                            "start-up rate (it said %2)")
                    .arg(rate)
                    .arg(stored));
            return ExitStatus::Failed;
        }
        document.insert(QStringLiteral("startupRate"), stored);
        lines << BaudRateChange::storedMessage(stored);
    }
    context.output.result(document, lines);
    return ExitStatus::Done;
}

ExitStatus checkSend(const CommandLine &line, CliOutput &output)
{
    const QString text = line.arguments().join(QLatin1Char(' '));
    if (text.trimmed().isEmpty() || QString::fromLatin1(text.toLatin1()) != text) {
        output.error(QCoreApplication::translate(
            "InstrumentCommands", "send needs a command of plain characters for the Orvantis"));
        return ExitStatus::Usage;
    }
    if (!(sendTimeout(line) > 0)) {
        output.error(QCoreApplication::translate(
            "InstrumentCommands", "--timeout takes a number of seconds, such as 5 or 0.5"));
        return ExitStatus::Usage;
    }
    return ExitStatus::Done;
}

ExitStatus send(CliContext &context)
{
    Line &line = context.session.line();
    // Up to the prompt itself: a ">" in the answer, or the "Capture>" of a capture, is text.
    const QByteArray reply = line.SendCommand(sendText(context.line) + '\r', "\r", kPrompt,
                                              float(sendTimeout(context.line)));
    const bool framed = line.lastReplyFramed();
    const QString answer = answerText(reply, framed);
    context.output.result({{QStringLiteral("command"), QString::fromLatin1(sendText(context.line))},
                           {QStringLiteral("answer"), answer},
                           {QStringLiteral("complete"), framed}},
                          answer.isEmpty()
                              ? QStringList()
                              : QStringList{answer.chopped(answer.endsWith('\n') ? 1 : 0)});
    if (framed || context.interrupted())
        return framed ? ExitStatus::Done : ExitStatus::Failed;
    context.output.error(
        QCoreApplication::translate("InstrumentCommands",
                                    "the Orvantis did not show its prompt within %1 s")
            .arg(sendTimeout(context.line)));
    return ExitStatus::Failed;
}

} // namespace InstrumentCommands
