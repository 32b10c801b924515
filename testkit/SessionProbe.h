#pragma once

#include "session/InstrumentSession.h"

// What tests read and set inside an instrument session, in one place: when the session's
// insides change, only this file follows.
struct probe {
    static const QByteArray &receiveBuffer(const InstrumentSession &s) { return s.ReceiveBuffer(); }
    static void setReceiveBuffer(InstrumentSession &s, const QByteArray &bytes)
    {
        s.clearReceiveBuffer();
        s.appendToReceiveBuffer(bytes);
    }
    static qint64 byteCount(const InstrumentSession &s) { return s.byteCount(); }
    // Seconds since the last byte arrived.
    static float silence(const InstrumentSession &s) { return s.TimeSinceLastByte(); }
    static bool capturing(const InstrumentSession &s) { return s.CaptureActive(); }
    // A byte-counted capture of `length` into the open data file, as a download starts one.
    static void startCapture(InstrumentSession &s, qint64 length) { s.PrepForFileCapture(length); }
    static DataFile &dataFile(InstrumentSession &s) { return s.dataFile(); }
    static void setDownloadFolder(InstrumentSession &s, const QString &f)
    {
        s.setDefaultDataFolder(f);
    }
    static Clock &clock(InstrumentSession &s) { return s.clock(); }
};
