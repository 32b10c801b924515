#include "link/SendAbort.h"

#include "link/CommPort.h"

#include <QByteArray>

void SendAbort(CommPort &port)
{
    static const QByteArray kThreeEtx(3, '\x03');
    port.write(kThreeEtx);
}
