#include "testkit/ConsoleLink.h"

ConsoleLink::ConsoleLink(CommPort &port, int receiveIntervalMs)
    : loop(state, port, capture, status), transaction(state, port, status)
{
    timer.setInterval(receiveIntervalMs);
    QObject::connect(&timer, &QTimer::timeout, [this] { loop.run(); });
    timer.start();
}

ConsoleLink::~ConsoleLink()
{
    timer.stop();
}
