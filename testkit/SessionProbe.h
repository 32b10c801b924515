#pragma once

#include "session/InstrumentSession.h"

// What tests read and set inside an instrument session, in one place: when the session's
// insides change, only this file follows.
namespace probe
{
inline const QByteArray &receiveBuffer(const InstrumentSession &session)
{
    return session.ReceiveBuffer();
}
inline void setReceiveBuffer(InstrumentSession &session, const QByteArray &bytes)
{
    session.clearReceiveBuffer();
    session.appendToReceiveBuffer(bytes);
}
inline qint64 byteCount(const InstrumentSession &session)
{
    return session.byteCount();
}
// Seconds since the last byte arrived.
inline float silence(const InstrumentSession &session)
{
    return session.TimeSinceLastByte();
}
inline bool capturing(const InstrumentSession &session)
{
    return session.CaptureActive();
}
// A byte-counted capture of `length` into the open data file, as a download starts one.
inline void startCapture(InstrumentSession &session, qint64 length)
{
    session.PrepForFileCapture(length);
}
inline DataFile &dataFile(InstrumentSession &session)
{
    return session.dataFile();
}
inline void setDownloadFolder(InstrumentSession &session, const QString &folder)
{
    session.setDefaultDataFolder(folder);
}
inline Clock &clock(InstrumentSession &session)
{
    return session.clock();
}
} // namespace probe
