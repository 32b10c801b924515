#pragma once

#include <QByteArray>

// The instrument's protocol engine: bytes in, bytes out.
class SimEngine
{
public:
    void feed(const QByteArray &bytes);
    QByteArray takeOutput();

private:
    QByteArray m_output;
};
