#include "session/PortSearch.h"

#include "session/InstrumentInfo.h"
#include "support/StringCode.h"

namespace
{
const QByteArray kEtx("\x03");
// The tail of the instrument's prompt: enough to recognise it even when the first
// characters arrived garbled at a rate tried before.
const QByteArray kPromptTail("ntis>");
} // namespace

const QStringList PortSearch::kBaudRates = {QStringLiteral("9600"), QStringLiteral("57600"),
                                            QStringLiteral("115200")};

PortSearch::PortSearch(ProgramState &state, CommPort &port, CommandTransaction &transaction,
                       LinkStatus &status, PortTable table, QObject *parent)
    : QObject(parent), m_state(state), m_port(port), m_transaction(transaction), m_status(status),
      m_table(std::move(table))
{
}

QString PortSearch::settingsFor(const QString &rate)
{
    return rate + QStringLiteral(",n,8,1");
}

void PortSearch::setLabel(const QString &text)
{
    m_label = text;
    emit labelChanged(text);
}

bool PortSearch::SearchForInstrument()
{
    return SearchForInstrument(Scope{QString(), kBaudRates});
}

bool PortSearch::SearchForInstrument(const Scope &scope)
{
    if (m_searching)
        return false;
    m_searching = true;
    m_attempts.clear();
    // The ports as they are now: an adapter plugged in since the last search is tried too.
    if (scope.device.isEmpty())
        m_table.refresh();
    m_status.SetStatus(StatusCode::CommandInProgress);
    setLabel(tr(" Searching for Orvantis"));
    m_cancelled = false;
    emit portListCleared();
    m_transaction.pump().runPending();

    QList<int> numbers;
    for (int number = PortTable::kFirstPort; number <= PortTable::kLastPort; ++number) {
        if (scope.device.isEmpty() || m_table.deviceFor(number) == scope.device) {
            numbers << number;
            if (!scope.device.isEmpty())
                break;
        }
    }
    m_probing = true;
    for (const int number : numbers) {
        setLabel(m_label + QLatin1Char('.'));
        if (m_port.isOpen())
            m_port.close();
        m_port.setPortNumber(number);
        m_state.ReceiveBuffer.clear();
        m_port.open();
        Attempt attempt{number, m_table.deviceFor(number), m_port.isOpen(), {}};
        if (m_port.isOpen()) {
            emit portEntryAdded(m_table.entryText(number));
            m_transaction.pump().runPending();
            QString serial;
            // A device that hung up while probed has no other rate to try.
            for (int i = 0; i < scope.rates.size() && serial.isEmpty() && m_port.isOpen(); ++i) {
                emit baudIndexSelected(int(kBaudRates.indexOf(scope.rates.at(i))));
                m_port.setSettings(settingsFor(scope.rates.at(i)));
                serial = ProbePort();
            }
            if (!serial.isEmpty()) {
                setLabel(tr("Connected to %1").arg(serial));
                emit serialNumberFound(serial);
                m_status.SetStatus(StatusCode::Idle);
            }
        } else {
            attempt.error = m_port.openError();
        }
        if (!attempt.device.isEmpty())
            m_attempts << attempt;
        if (m_status.Status() == StatusCode::Idle)
            break;
        if (m_cancelled) {
            m_status.SetStatus(StatusCode::NotConnected);
            break;
        }
    }
    m_probing = false;

    const bool found = m_status.Status() == StatusCode::Idle;
    if (found) {
        // The reply reaches the status panels through the receive loop.
        m_transaction.SendCommand("st\r", "st:", "\r", 1);
    } else {
        // A port left open by a failed search would be read as if connected; close it so
        // that "Open Selected Port" can open the operator's choice.
        if (m_port.isOpen())
            m_port.close();
        if (!m_cancelled) {
            setLabel(tr("No Orvantis found on any port."));
            m_status.SetStatus(StatusCode::NotConnected);
            emit searchFailed();
        }
    }
    m_searching = false;
    return found;
}

QString PortSearch::ProbePort()
{
    for (int i = 0; i < 3; ++i) {
        m_port.write(kEtx);
        m_transaction.Pause(0.1f);
    }
    if (!m_state.ReceiveBuffer.contains(kPromptTail))
        return QString();
    m_state.ReceiveBuffer.clear();
    m_port.write("id\r");
    m_transaction.Pause(0.3f);
    if (!ParseInstrumentInfo(m_state.ReceiveBuffer, m_state.identity))
        return QString();
    return m_state.identity.InstrumentSerial;
}

bool PortSearch::openSelectedPort(const QString &portEntry, const QString &baudEntry)
{
    if (m_port.isOpen())
        return false;
    m_port.setPortNumber(ExtractNumber(portEntry));
    m_port.setSettings(settingsFor(QString::number(ExtractNumber(baudEntry))));
    m_port.open();
    if (m_port.isOpen()) {
        m_status.SetStatus(StatusCode::Idle);
        return true;
    }
    setLabel(tr("Connection Failed"));
    m_status.SetStatus(StatusCode::NotConnected);
    return false;
}
