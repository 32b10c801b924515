#include "LineNoise.h"

#include <algorithm>

QByteArray LineNoise::next()
{
    switch (m_turn++ % 4) {
    case 0:
        return everyByteValue();
    case 1:
        return loneCarriageReturns();
    case 2:
        return longLine();
    default:
        return burst();
    }
}

quint8 LineNoise::random()
{
    // xorshift: the same noise on every run, so a failure can be repeated.
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return quint8(m_state >> 24);
}

QByteArray LineNoise::everyByteValue()
{
    QByteArray bytes(256, '\0');
    for (int i = 0; i < 256; ++i)
        bytes[i] = char(i);
    // Shuffled, so that no run of it spells text the console looks for.
    for (int i = 255; i > 0; --i)
        std::swap(bytes[i], bytes[random() % (i + 1)]);
    return bytes;
}

QByteArray LineNoise::loneCarriageReturns()
{
    return QByteArrayLiteral("\r\r s\r:\r,\r.\r\0\r\xff\r\r");
}

QByteArray LineNoise::longLine()
{
    QByteArray line(kLongLine, '\0');
    for (char &c : line)
        c = char(' ' + random() % 95);
    return line;
}

QByteArray LineNoise::burst()
{
    QByteArray bytes(kBurst, '\0');
    for (char &c : bytes)
        c = char(random());
    return bytes;
}
