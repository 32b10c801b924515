#include "testkit/LinkRig.h"

LinkRig::LinkRig(CommPort &port, int receiveIntervalMs)
    : loop(state, port, capture, status), transaction(state, port, status), m_port(port)
{
    timer1.setInterval(receiveIntervalMs);
    QObject::connect(&timer1, &QTimer::timeout, [this] { loop.run(); });
    timer1.start();
}

bool LinkRig::open()
{
    if (!m_port.open())
        return false;
    status.SetStatus(LinkStatus::Idle);
    return true;
}
