#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class LineClaim;

// Changes the rate of the serial link on both ends: the instrument is told first and answers
// "Changing" at the old rate, then the computer's port follows and the instrument must answer
// at the new rate. Also reads and stores the instrument's start-up rate. Runs on a claim of
// the line, which sets the port's rate between the two commands.
class BaudRateChange
{
    Q_DECLARE_TR_FUNCTIONS(BaudRateChange)

public:
    static constexpr int kLowestRate = 9600;
    static constexpr int kHighestRate = 115200;

    enum class Outcome {
        RateFixed,    // the port cannot set its rate (a raw network port): nothing sent
        NotANumber,   // the text is not a whole number: nothing sent, the dialog stays
        OutOfRange,   // below kLowestRate or above kHighestRate: nothing sent, the dialog closes
        Refused,      // no "Changing" with the rate: the port keeps its settings
        NotConfirmed, // no answer at the new rate: the port stays at the new rate
        Changed       // both ends talk at the new rate
    };

    explicit BaudRateChange(LineClaim &line);

    // Reads a rate typed or chosen by the operator: digits only, blanks around them allowed.
    static bool readRate(const QString &text, int *rate);
    // Index of the first rate whose decimal digits occur in the port settings text
    // ("57600,n,8,1" -> the entry 57600); -1 when none does.
    static int rateIndexInSettings(const QStringList &rates, const QString &settings);

    // Asks "baud" and returns the start-up rate (comma field 1 of the reply); 0 without one.
    int queryStartupRate();
    // The whole exchange for the rate in `rateText`. The rate the port had is kept in
    // previousRate() for the operator's message. A change made is kept as the LastConnection.
    Outcome change(const QString &rateText);
    // Makes `rate` the instrument's start-up rate; returns the start-up rate it then reports
    // (0 without an answer).
    int storeStartupRate(int rate);

    int rate() const { return m_rate; }
    int previousRate() const { return m_previousRate; }

    // Texts for the operator.
    static QString startupRateLabel(int rate);
    static QString rateFixedMessage(int portNumber, const QString &deviceName);
    static QString notANumberMessage(const QString &text);
    static QString notConfirmedMessage(int rate, int previousRate);
    static QString storedMessage(int startupRate);

private:
    LineClaim &m_line;
    int m_rate = 0;
    int m_previousRate = 0;
};
