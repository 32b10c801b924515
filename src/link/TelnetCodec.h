#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>

// The Telnet side of a serial line behind a device server (ser2net and the like) that
// speaks the COM-PORT-CONTROL option: takes what comes from the network apart into the
// line's bytes and the server's commands, answers the server's option requests, and wraps
// the line's bytes and the far port's settings for sending. No I/O of its own: the reader
// feeds it whatever arrived, in pieces of any size, and sends what takeOutput() gives.
//
// It offers and accepts BINARY (8-bit data both ways) and SUPPRESS-GO-AHEAD, offers
// COM-PORT-CONTROL, and refuses every other option. The server's own messages (its
// replies to settings, line and modem state notices, NOP) never reach the line's bytes.
class TelnetCodec
{
public:
    static constexpr unsigned char kIac = 255;
    static constexpr unsigned char kDont = 254;
    static constexpr unsigned char kDo = 253;
    static constexpr unsigned char kWont = 252;
    static constexpr unsigned char kWill = 251;
    static constexpr unsigned char kSb = 250;
    static constexpr unsigned char kSe = 240;
    static constexpr unsigned char kBinary = 0;
    static constexpr unsigned char kSuppressGoAhead = 3;
    static constexpr unsigned char kComPortOption = 44;
    // The COM-PORT-CONTROL command that sets the far port's rate.
    static constexpr unsigned char kSetBaudRate = 1;

    // Offers and requests at the start of the connection.
    TelnetCodec();

    // The line's bytes in what came from the server; answers go to takeOutput().
    QByteArray decode(QByteArrayView bytes);
    // The line's bytes as they go to the server: every 0xFF doubled.
    static QByteArray escape(QByteArrayView bytes);
    // Bytes for the server: offers, answers to its requests, settings.
    QByteArray takeOutput();

    // Sets the far port to `rate`, 8 data bits, no parity, 1 stop bit, no flow control, and
    // asks it to send no line or modem state notices: at once when the server has agreed to
    // COM-PORT-CONTROL, otherwise as soon as it does.
    void setLine(int rate);
    // The server has answered the offer of COM-PORT-CONTROL, either way.
    bool comPortSettled() const { return m_us[kComPortOption] != Side::Asked; }
    // The server refused COM-PORT-CONTROL: the far port's rate cannot be set.
    bool comPortRefused() const { return m_comPortRefused; }
    // The server agreed to COM-PORT-CONTROL: the far port follows setLine(). Until it has,
    // a rate asked for is only kept.
    bool comPortAgreed() const { return m_us[kComPortOption] == Side::On; }

private:
    enum class Parse { Data, Command, Option, Subnegotiation, SubnegotiationCommand };
    enum class Side { Off, Asked, On };

    void take(unsigned char c, QByteArray &data);
    void negotiate(unsigned char verb, unsigned char option);
    void sendCommand(unsigned char verb, unsigned char option);
    void sendLineSettings();
    void sendComPort(unsigned char command, QByteArrayView value);

    Parse m_parse = Parse::Data;
    unsigned char m_verb = 0;
    // Option states: m_us for what this end does (WILL/WONT), m_them for the server (DO/DONT).
    std::array<Side, 256> m_us{};
    std::array<Side, 256> m_them{};
    bool m_comPortRefused = false;
    int m_rate = 0;
    QByteArray m_output;
};
