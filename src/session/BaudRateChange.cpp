#include "session/BaudRateChange.h"

#include "link/PortTable.h"
#include "session/LastConnection.h"
#include "session/LineClaim.h"
#include "support/StringCode.h"

#include <limits>

namespace
{
// How long the confirmation may take after the instrument has been told.
constexpr float kChangeTimeout = 0.5f;
constexpr float kConfirmTimeout = 0.5f;
constexpr float kQueryTimeout = 1.0f;
constexpr float kStoreTimeout = 1.0f;
// The instrument switches its line only after the "Changing" line has gone out.
constexpr float kSwitchPause = 0.5f;

int startupRateOf(const QByteArray &reply)
{
    // A garbled field can hold a number far beyond any rate; it is no rate at all.
    const double rate = ParseNumber(GetField(reply, 1));
    if (!(rate >= std::numeric_limits<int>::min() && rate <= std::numeric_limits<int>::max()))
        return 0;
    return int(rate);
}

// The framed answer begins with its label; a reply cut off by the time-out holds the echo
// of the command (with the rate in it) and must not pass for an answer.
bool answers(const QByteArray &reply, const QByteArray &label, int rate)
{
    return reply.toLower().startsWith(label.toLower()) && ParseNumber(reply) == double(rate);
}
} // namespace

BaudRateChange::BaudRateChange(LineClaim &line) : m_line(line)
{
}

bool BaudRateChange::readRate(const QString &text, int *rate)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 9)
        return false;
    for (QChar c : trimmed) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    *rate = trimmed.toInt();
    return true;
}

int BaudRateChange::rateIndexInSettings(const QStringList &rates, const QString &settings)
{
    for (int i = 0; i < rates.size(); ++i) {
        if (settings.contains(rates.at(i)))
            return i;
    }
    return -1;
}

int BaudRateChange::queryStartupRate()
{
    return startupRateOf(m_line.SendCommand("baud\r", "baud:", "\r", kQueryTimeout));
}

BaudRateChange::Outcome BaudRateChange::change(const QString &rateText)
{
    // Told to change, the instrument would go where the line cannot follow.
    if (!m_line.canSetRate())
        return Outcome::RateFixed;
    if (!readRate(rateText, &m_rate))
        return Outcome::NotANumber;
    if (m_rate < kLowestRate || m_rate > kHighestRate)
        return Outcome::OutOfRange;
    m_previousRate = ExtractNumber(m_line.settings());

    const QByteArray digits = QByteArray::number(m_rate);
    const QByteArray changing =
        m_line.SendCommand("Baud " + digits + "\r", "Changing", "\r", kChangeTimeout);
    if (!answers(changing, "Changing", m_rate))
        return Outcome::Refused;

    m_line.setRate(m_rate);
    m_line.Pause(kSwitchPause);
    const QByteArray confirm = m_line.SendCommand("baud\r", "baud:", "\r", kConfirmTimeout);
    if (!answers(confirm, "baud:", m_rate))
        return Outcome::NotConfirmed;
    // Either front end finds the instrument at its new rate first next time.
    LastConnection{m_line.deviceName(), m_rate}.save();
    return Outcome::Changed;
}

int BaudRateChange::storeStartupRate(int rate)
{
    const QByteArray command = "baud " + QByteArray::number(rate) + "store\r";
    return startupRateOf(m_line.SendCommand(command, "baud:", "\r", kStoreTimeout));
}

QString BaudRateChange::startupRateLabel(int rate)
{
    return tr("Startup rate %1").arg(QString::number(rate));
}

QString BaudRateChange::rateFixedMessage(int portNumber, const QString &deviceName)
{
    return tr("The baud rate of %1 cannot be changed from here: the serial line is "
              "reached through a device server that keeps its own rate. Change the "
              "rate in the device server's settings, or reach it with an rfc2217:// "
              "address, which lets this program set the rate.")
        .arg(PortTable::portName(portNumber, deviceName));
}

QString BaudRateChange::notANumberMessage(const QString &text)
{
    return tr("\"%1\" is not a baud rate. Choose one of the rates in the list or type "
              "a whole number from %2 to %3.")
        .arg(text.trimmed())
        .arg(kLowestRate)
        .arg(kHighestRate);
}

QString BaudRateChange::notConfirmedMessage(int rate, int previousRate)
{
    return tr("The Orvantis did not answer at %1 baud. It may still be at %2 baud; "
              "\"Connect...\" will find it again.")
        .arg(rate)
        .arg(previousRate);
}

QString BaudRateChange::storedMessage(int startupRate)
{
    return tr("Orvantis baud rate at startup is now %1").arg(QString::number(startupRate));
}
