#include "LineGarbler.h"

QByteArray LineGarbler::garble(const QByteArray &bytes)
{
    QByteArray out(bytes.size(), '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        // A small xorshift keeps the garbage repeatable from run to run.
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        out[i] = char(0x80 | ((quint8(bytes.at(i)) ^ m_state) & 0x7f));
    }
    return out;
}

QByteArray LineGarbler::answerTo(const QByteArray &received)
{
    if (received.isEmpty())
        return QByteArray();
    return garble(received + QByteArray("\r\n\r\n"));
}
