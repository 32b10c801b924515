#pragma once

#include "session/InstrumentSession.h"

// What tests read and set inside an instrument session, in one place: when the session's
// insides change, only this file follows.
namespace probe
{
inline QByteArray &receiveBuffer(InstrumentSession &session)
{
    return session.state().ReceiveBuffer;
}
inline qint64 byteCount(InstrumentSession &session)
{
    return session.capture().byteCount();
}
// Seconds since the last byte arrived.
inline float silence(InstrumentSession &session)
{
    return session.capture().TimeSinceLastByte();
}
inline bool capturing(InstrumentSession &session)
{
    return session.capture().CaptureActive();
}
// A byte-counted capture of `length` into the open data file, as a download starts one.
inline void startCapture(InstrumentSession &session, qint64 length)
{
    session.capture().PrepForFileCapture(length);
}
inline DataFile &dataFile(InstrumentSession &session)
{
    return session.state().dataFile;
}
inline void setDownloadFolder(InstrumentSession &session, const QString &folder)
{
    session.state().DefaultDataFolder = folder;
}
inline Clock &clock(InstrumentSession &session)
{
    return session.state().clock;
}
} // namespace probe
