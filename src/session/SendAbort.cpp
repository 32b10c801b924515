#include "session/SendAbort.h"

#include "link/CommPort.h"

#include <QByteArray>

void SendAbort(CommPort &port)
{
    port.write(kThreeEtx);
}
