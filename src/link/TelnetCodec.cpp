#include "link/TelnetCodec.h"

#include <QtEndian>

#include <utility>

namespace
{
constexpr unsigned char kSetDataSize = 2;
constexpr unsigned char kSetParity = 3;
constexpr unsigned char kSetStopSize = 4;
constexpr unsigned char kSetControl = 5;
constexpr unsigned char kSetLineStateMask = 10;
constexpr unsigned char kSetModemStateMask = 11;
constexpr char kNoParity = 1;
constexpr char kOneStopBit = 1;
constexpr char kNoFlowControl = 1;

// Options this end takes on itself, and options it lets the server take on.
bool weOffer(unsigned char option)
{
    return option == TelnetCodec::kBinary || option == TelnetCodec::kSuppressGoAhead ||
           option == TelnetCodec::kComPortOption;
}

bool weAccept(unsigned char option)
{
    return option == TelnetCodec::kBinary || option == TelnetCodec::kSuppressGoAhead;
}
} // namespace

TelnetCodec::TelnetCodec()
{
    for (unsigned char option : {kBinary, kSuppressGoAhead, kComPortOption}) {
        sendCommand(kWill, option);
        m_us[option] = Side::Asked;
    }
    for (unsigned char option : {kBinary, kSuppressGoAhead}) {
        sendCommand(kDo, option);
        m_them[option] = Side::Asked;
    }
}

QByteArray TelnetCodec::decode(QByteArrayView bytes)
{
    QByteArray data;
    data.reserve(bytes.size());
    for (const char byte : bytes)
        take(static_cast<unsigned char>(byte), data);
    return data;
}

void TelnetCodec::take(unsigned char c, QByteArray &data)
{
    switch (m_parse) {
    case Parse::Data:
        if (c == kIac)
            m_parse = Parse::Command;
        else
            data += char(c);
        return;
    case Parse::Command:
        m_parse = Parse::Data;
        if (c == kIac) {
            data += char(c);
        } else if (c >= kWill) {
            m_verb = c;
            m_parse = Parse::Option;
        } else if (c == kSb) {
            m_parse = Parse::Subnegotiation;
        }
        // Every other command (NOP, GA, a break, ...) says nothing about the line's bytes.
        return;
    case Parse::Option:
        m_parse = Parse::Data;
        negotiate(m_verb, c);
        return;
    case Parse::Subnegotiation:
        // The server's reports and notices: nothing in them is the line's.
        if (c == kIac)
            m_parse = Parse::SubnegotiationCommand;
        return;
    case Parse::SubnegotiationCommand:
        if (c == kIac) {
            m_parse = Parse::Subnegotiation;
            return;
        }
        m_parse = Parse::Data;
        // IAC SE ends it; any other command cuts it short and counts as it stands.
        if (c != kSe) {
            m_parse = Parse::Command;
            take(c, data);
        }
        return;
    }
}

QByteArray TelnetCodec::escape(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 64);
    for (const char byte : bytes) {
        out += byte;
        if (static_cast<unsigned char>(byte) == kIac)
            out += byte;
    }
    return out;
}

QByteArray TelnetCodec::takeOutput()
{
    return std::exchange(m_output, QByteArray());
}

void TelnetCodec::setLine(int rate)
{
    m_rate = rate;
    if (m_us[kComPortOption] == Side::On)
        sendLineSettings();
}

void TelnetCodec::negotiate(unsigned char verb, unsigned char option)
{
    // DO and DONT are about this end's options, WILL and WONT about the server's. A request
    // is answered only when it changes an option's state, so that two ends never loop.
    const bool ours = verb == kDo || verb == kDont;
    Side &side = ours ? m_us[option] : m_them[option];
    const bool wanted = ours ? weOffer(option) : weAccept(option);
    const unsigned char yes = ours ? kWill : kDo;
    const unsigned char no = ours ? kWont : kDont;
    if (verb == kDo || verb == kWill) {
        if (side == Side::On)
            return;
        if (!wanted) {
            sendCommand(no, option);
            return;
        }
        if (side == Side::Off)
            sendCommand(yes, option);
        side = Side::On;
        if (ours && option == kComPortOption) {
            m_comPortRefused = false;
            if (m_rate > 0)
                sendLineSettings();
        }
        return;
    }
    if (side == Side::On)
        sendCommand(no, option);
    side = Side::Off;
    if (ours && option == kComPortOption)
        m_comPortRefused = true;
}

void TelnetCodec::sendCommand(unsigned char verb, unsigned char option)
{
    m_output += char(kIac);
    m_output += char(verb);
    m_output += char(option);
}

void TelnetCodec::sendLineSettings()
{
    char rate[4];
    qToBigEndian(quint32(m_rate), rate);
    sendComPort(kSetBaudRate, QByteArrayView(rate, 4));
    struct Setting {
        unsigned char command;
        char value;
    };
    for (const Setting setting :
         {Setting{kSetDataSize, 8}, Setting{kSetParity, kNoParity},
          Setting{kSetStopSize, kOneStopBit}, Setting{kSetControl, kNoFlowControl},
          Setting{kSetLineStateMask, 0}, Setting{kSetModemStateMask, 0}})
        sendComPort(setting.command, QByteArrayView(&setting.value, 1));
}

void TelnetCodec::sendComPort(unsigned char command, QByteArrayView value)
{
    m_output += char(kIac);
    m_output += char(kSb);
    m_output += char(kComPortOption);
    m_output += char(command);
    m_output += escape(value);
    m_output += char(kIac);
    m_output += char(kSe);
}
