#include "app/cli/ConnectionStep.h"

#include "app/cli/CliOutput.h"
#include "app/cli/CommandLine.h"
#include "app/cli/PortProblem.h"
#include "session/InstrumentSession.h"
#include "session/LastConnection.h"
#include "session/PortSearch.h"
#include "support/StringCode.h"

namespace
{
// `first` and then the other rates of `rates`.
QStringList ratesFrom(int first, QStringList rates)
{
    if (rates.removeOne(QString::number(first)))
        rates.prepend(QString::number(first));
    return rates;
}

QString joined(const QStringList &rates)
{
    return rates.join(QStringLiteral(", "));
}
} // namespace

ConnectionStep::ConnectionStep(InstrumentSession &session, CliOutput &output)
    : m_session(session), m_output(output)
{
}

PortTable ConnectionStep::portTable(const CommandLine &line)
{
    QString device = line.portNumber() > 0 ? QString() : line.port();
    if (line.port().isEmpty())
        device = LastConnection::load().device;
    const auto withDevice = [device](QStringList devices) {
        if (!device.isEmpty() && !devices.contains(device))
            devices << device;
        return devices;
    };
    if (device.isEmpty() || qEnvironmentVariableIsSet("ORVANTIS_PORTS"))
        return PortTable(withDevice(PortTable::fromSystem().devices()));
    // The system's ports are listed only when a search needs them (the search lists them
    // afresh): until then the device named, or used last, is the only port.
    return PortTable::live([device, withDevice, listed = false]() mutable {
        const bool first = !listed;
        listed = true;
        return first ? QStringList{device} : withDevice(PortTable::fromSystem().devices());
    });
}

void ConnectionStep::cancel()
{
    m_cancelled = true;
    m_session.cancelSearch();
}

ExitStatus ConnectionStep::connect(const CommandLine &line)
{
    const QStringList rates =
        line.rate() > 0 ? QStringList{QString::number(line.rate())} : PortSearch::kBaudRates;
    if (!line.port().isEmpty()) {
        const PortTable &table = m_session.portTable();
        const int number = line.portNumber() > 0 ? line.portNumber()
                                                 : int(table.devices().indexOf(line.port())) + 1;
        const QString device = table.deviceFor(number);
        if (device.isEmpty()) {
            m_output.error(tr("port %1 has no device: ORVANTIS_PORTS or the system "
                              "lists %2 ports")
                               .arg(number)
                               .arg(table.devices().size()));
            return ExitStatus::NoInstrument;
        }
        const LastConnection last = LastConnection::load();
        return connectTo(device, last.device == device ? ratesFrom(last.rate, rates) : rates);
    }
    bool inUse = false;
    if (connectLast(rates, &inUse))
        return ExitStatus::Done;
    if (m_cancelled)
        return ExitStatus::Interrupted;
    // Whoever holds the port of the last connection most likely holds the Orvantis.
    if (inUse)
        return ExitStatus::NoInstrument;
    return search(rates, line.isSet(QStringLiteral("verbose")));
}

ExitStatus ConnectionStep::connectTo(const QString &device, const QStringList &rates)
{
    if (searchOn(device, rates))
        return connected();
    if (m_cancelled)
        return ExitStatus::Interrupted;
    bool inUse = false;
    m_output.error(failure(device, rates, &inUse));
    return ExitStatus::NoInstrument;
}

// The last connection that worked, at its rate or the one asked for.
bool ConnectionStep::connectLast(const QStringList &rates, bool *inUse)
{
    const LastConnection last = LastConnection::load();
    if (!last.isValid())
        return false;
    const QStringList rate{rates.size() == 1 ? rates.first() : QString::number(last.rate)};
    if (searchOn(last.device, rate))
        return connected() == ExitStatus::Done;
    if (m_cancelled)
        return false;
    const QString why = failure(last.device, rate, inUse);
    if (*inUse)
        m_output.error(why);
    else if (m_session.portSearch().attempts().value(0).opened)
        m_output.note(tr("No answer on %1, the port of the last connection.").arg(last.device));
    else
        m_output.note(why + QLatin1Char('.'));
    return false;
}

ExitStatus ConnectionStep::search(const QStringList &rates, bool verbose)
{
    m_output.note(tr("Searching for the Orvantis on every port at %1 baud...").arg(joined(rates)));
    if (m_session.SearchForInstrument(PortSearch::Scope{QString(), rates}))
        return connected();
    if (m_cancelled)
        return ExitStatus::Interrupted;
    QString message = tr("No Orvantis found on any port.");
    QStringList tried;
    for (const PortSearch::Attempt &attempt : m_session.portSearch().attempts()) {
        const QString port = tr("Port %1 (%2)").arg(attempt.number).arg(attempt.device);
        const PortProblem problem(attempt.device, attempt.error);
        if (problem.inUse())
            message += tr(" %1 is in use by another program.").arg(port);
        tried << QStringLiteral("  %1: %2")
                     .arg(port, attempt.opened
                                    ? tr("opened, no answer at %1 baud").arg(joined(rates))
                                    : problem.text());
    }
    if (verbose)
        message += tr("\nPorts tried:\n") +
                   (tried.isEmpty() ? tr("  none: ORVANTIS_PORTS or the system lists no port")
                                    : tried.join(QLatin1Char('\n')));
    else
        message += tr(" \"orvantis find --verbose\" lists each port tried and why.");
    m_output.error(message);
    return ExitStatus::NoInstrument;
}

bool ConnectionStep::searchOn(const QString &device, const QStringList &rates)
{
    return m_session.SearchForInstrument(PortSearch::Scope{device, rates});
}

QString ConnectionStep::failure(const QString &device, const QStringList &rates, bool *inUse) const
{
    const PortSearch::Attempt attempt = m_session.portSearch().attempts().value(0);
    *inUse = false;
    if (attempt.device != device || attempt.opened)
        return tr("the Orvantis did not answer on %1 at %2 baud").arg(device, joined(rates));
    const PortProblem problem(device, attempt.error);
    *inUse = problem.inUse();
    return problem.text();
}

ExitStatus ConnectionStep::connected()
{
    m_output.note(tr("Connected to the Orvantis %1 on %2 at %3 baud.")
                      .arg(m_session.identity().InstrumentSerial, m_session.deviceName())
                      .arg(ExtractNumber(m_session.settings().toLatin1())));
    return ExitStatus::Done;
}
