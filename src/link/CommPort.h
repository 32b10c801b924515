#pragma once

#include "link/PortOpenError.h"

#include <QByteArray>
#include <QString>

// The main window's serial port (Comm1): the few operations the program uses.
// Production wraps QSerialPort or a network connection to a serial device server
// (QtCommPort); tests plug in MemoryCommPort.
class CommPort
{
public:
    virtual ~CommPort() = default;

    // Port number 1-16, mapped to a device by the port table.
    virtual int portNumber() const = 0;
    virtual void setPortNumber(int number) = 0;

    // Line settings text such as "57600,n,8,1"; applied at once when the port is open.
    virtual QString settings() const = 0;
    virtual void setSettings(const QString &settings) = 0;
    // False when the line's rate is fixed beyond the program's reach (a raw network
    // connection to a device server): setSettings() then changes nothing on the line.
    virtual bool canSetRate() const { return true; }

    virtual bool isOpen() const = 0;
    // Opens the port with the current number and settings; false when it cannot be opened.
    virtual bool open() = 0;
    virtual void close() = 0;
    // Why the last open() failed, as far as the system told.
    virtual PortOpenError openError() { return {}; }

    // Writes raw bytes; false when the port is closed or the write failed.
    virtual bool write(const QByteArray &bytes) = 0;
    // Count of received characters waiting to be read.
    virtual qint64 bytesWaiting() = 0;
    // Takes every waiting character, in the order received.
    virtual QByteArray readWaiting() = 0;
    // The next characters to arrive end the event loop's sleep (once). A port that hands
    // its input over at its own pace uses it to serve a waiting command promptly.
    virtual void wakeOnArrival() {}

    // True once the device has gone away while open (cable pulled, pty closed).
    virtual bool hasFailed() const = 0;
    virtual QString failureText() const = 0;
    // Device name for messages, e.g. "/dev/ttyUSB0".
    virtual QString deviceName() const = 0;
};
