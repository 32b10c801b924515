#pragma once

#include "link/PortReader.h"

#include <QSerialPort>

// Comm1 on a local serial device: the QSerialPort, read in batches on the reader's thread.
class SerialReader : public PortReader
{
    Q_OBJECT
public:
    SerialReader();

    bool open(const QString &device, int baudRate) override;
    void close() override;
    bool setBaudRate(int baudRate) override;
    bool write(const QByteArray &bytes) override;
    PortOpenError openError() const override;

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port{this};
};
