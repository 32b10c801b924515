#include "testkit/MemoryInstrumentLink.h"

MemoryInstrumentLink::MemoryInstrumentLink()
{
    port.open();
    status.SetStatus(LinkStatus::Idle);
    timer1.setInterval(kReceiveIntervalMs);
    QObject::connect(&timer1, &QTimer::timeout, [this] { loop.run(); });
    timer1.start();
}
