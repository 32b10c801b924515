#include "InstrumentInfo.h"

bool ParseInstrumentInfo(const QByteArray &reply, InstrumentIdentity &identity)
{
    const qsizetype at = reply.toLower().indexOf("serial:");
    if (at < 0)
        return false;
    const qsizetype end = reply.indexOf('\r', at);
    identity.InstrumentSerial = QString::fromLatin1(reply.mid(at + 7, end - at - 7)).trimmed();
    return !identity.InstrumentSerial.isEmpty();
}
