#include "SimEngine.h"

void SimEngine::feed(const QByteArray &) {}

QByteArray SimEngine::takeOutput()
{
    QByteArray out;
    out.swap(m_output);
    return out;
}
