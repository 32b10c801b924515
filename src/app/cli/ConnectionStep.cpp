#include "app/cli/ConnectionStep.h"

#include "app/cli/CliOutput.h"
#include "app/cli/CommandLine.h"
#include "app/cli/PortProblem.h"
#include "session/InstrumentInfo.h"
#include "session/InstrumentSession.h"
#include "session/LastConnection.h"
#include "session/LineClaim.h"
#include "session/PortSearch.h"
#include "session/SendAbort.h"
#include "support/StringCode.h"

namespace
{
// The prompt's tail, which is enough even when its first characters came garbled.
const QByteArray kPromptTail("ntis>");
// How long the instrument may take to show its prompt after the three ETX, and to identify
// itself: a silent port costs their sum for each rate tried.
constexpr float kEtxSeconds = 0.3f;
constexpr float kIdSeconds = 1.0f;

QList<int> allRates()
{
    QList<int> rates;
    for (const QString &rate : PortSearch::kBaudRates)
        rates << rate.toInt();
    return rates;
}

// `first` and then the other rates of the list.
QList<int> ratesFrom(int first)
{
    QList<int> rates = allRates();
    if (rates.removeOne(first))
        rates.prepend(first);
    return rates;
}

int numberOf(const PortTable &table, const QString &device)
{
    return int(table.devices().indexOf(device)) + 1;
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
    const PortTable &table = m_session.portTable();
    if (!line.port().isEmpty()) {
        const int number = line.portNumber() > 0 ? line.portNumber() : numberOf(table, line.port());
        if (table.deviceFor(number).isEmpty()) {
            m_output.error(QStringLiteral("port %1 has no device: ORVANTIS_PORTS or the system "
                                          "lists %2 ports")
                               .arg(number)
                               .arg(table.devices().size()));
            return ExitStatus::NoInstrument;
        }
        const LastConnection last = LastConnection::load();
        const int first = line.rate() > 0                          ? line.rate()
                          : last.device == table.deviceFor(number) ? last.rate
                                                                   : 0;
        return connectTo(number, line.rate() > 0 ? QList<int>{first} : ratesFrom(first));
    }
    PortProblem problem;
    if (connectLast(line.rate(), &problem))
        return ExitStatus::Done;
    if (m_cancelled)
        return ExitStatus::Interrupted;
    // Whoever holds the port of the last connection most likely holds the Orvantis.
    if (problem.inUse()) {
        m_output.error(problem.text());
        return ExitStatus::NoInstrument;
    }
    return search();
}

ExitStatus ConnectionStep::connectTo(int number, const QList<int> &rates)
{
    QStringList tried;
    for (const int rate : rates) {
        if (m_cancelled)
            return ExitStatus::Interrupted;
        PortProblem problem;
        switch (attempt(number, rate, &problem)) {
        case Attempt::Answered:
            return connected();
        case Attempt::Unusable:
            m_output.error(problem.text());
            return ExitStatus::NoInstrument;
        case Attempt::NoAnswer:
            tried << QString::number(rate);
        }
    }
    if (m_cancelled)
        return ExitStatus::Interrupted;
    m_output.error(QStringLiteral("the Orvantis did not answer on %1 at %2 baud")
                       .arg(portText(number), tried.join(QStringLiteral(", "))));
    return ExitStatus::NoInstrument;
}

// The last connection that worked, at its rate or the one asked for.
bool ConnectionStep::connectLast(int rate, PortProblem *problem)
{
    const LastConnection last = LastConnection::load();
    if (!last.isValid())
        return false;
    const int number = numberOf(m_session.portTable(), last.device);
    switch (attempt(number, rate > 0 ? rate : last.rate, problem)) {
    case Attempt::Answered:
        return connected() == ExitStatus::Done;
    case Attempt::Unusable:
        if (!problem->inUse())
            m_output.note(problem->text() + QLatin1Char('.'));
        break;
    case Attempt::NoAnswer:
        m_output.note(QStringLiteral("No answer on %1, the port of the last connection.")
                          .arg(portText(number)));
    }
    return false;
}

ExitStatus ConnectionStep::search()
{
    m_output.note(QStringLiteral("Searching for the Orvantis on every port at %1 baud...")
                      .arg(PortSearch::kBaudRates.join(QStringLiteral(", "))));
    if (m_session.SearchForInstrument())
        return connected();
    if (m_cancelled)
        return ExitStatus::Interrupted;
    QString message = QStringLiteral("No Orvantis found on any port.");
    for (const QString &inUse : portsInUse())
        message += QLatin1Char(' ') + inUse + QLatin1Char('.');
    m_output.error(message);
    return ExitStatus::NoInstrument;
}

ConnectionStep::Attempt ConnectionStep::attempt(int number, int rate, PortProblem *problem)
{
    // Opening saves the connection for next time; one that does not answer must not be.
    const LastConnection before = LastConnection::load();
    if (!m_session.openSelectedPort(QStringLiteral("COM %1").arg(number), QString::number(rate))) {
        *problem = PortProblem(m_session.portTable().deviceFor(number), m_session.openError());
        return Attempt::Unusable;
    }
    if (identify())
        return Attempt::Answered;
    m_session.Disconnect();
    before.save();
    return Attempt::NoAnswer;
}

// As the search's probe: whatever the Orvantis was doing is stopped, and it must tell its
// serial number.
bool ConnectionStep::identify()
{
    LineClaim claim = m_session.claimLine(LineOperation::Search);
    if (!claim)
        return false;
    claim.SendCommand(kThreeEtx, QByteArray(), kPromptTail, kEtxSeconds);
    const QByteArray reply = claim.SendCommand("id\r", "id", kPromptTail, kIdSeconds);
    InstrumentIdentity identity;
    if (!ParseInstrumentInfo(reply, identity))
        return false;
    m_session.setIdentity(identity);
    return true;
}

ExitStatus ConnectionStep::connected()
{
    m_output.note(QStringLiteral("Connected to the Orvantis %1 on %2.")
                      .arg(m_session.identity().InstrumentSerial, description()));
    return ExitStatus::Done;
}

QString ConnectionStep::description() const
{
    return QStringLiteral("%1 at %2 baud")
        .arg(m_session.deviceName())
        .arg(ExtractNumber(m_session.settings().toLatin1()));
}

QString ConnectionStep::portText(int number) const
{
    return m_session.portTable().deviceFor(number);
}

// The ports of the table that another program holds, each as a sentence's text.
QStringList ConnectionStep::portsInUse()
{
    QStringList inUse;
    LineClaim claim = m_session.claimLine(LineOperation::Search);
    const PortTable &table = m_session.portTable();
    for (int number = PortTable::kFirstPort; claim && number <= PortTable::kLastPort; ++number) {
        const QString device = table.deviceFor(number);
        if (device.isEmpty())
            continue;
        PortOpenError why;
        if (claim.tryPort(number, &why))
            continue;
        const PortProblem problem(device, why);
        if (problem.inUse())
            inUse << QStringLiteral("Port %1 (%2) is in use by another program")
                         .arg(number)
                         .arg(device);
    }
    return inUse;
}
