#pragma once

#include <QString>

// What the instrument said about itself in its last identification reply.
struct InstrumentIdentity {
    QString InstrumentModel;
    QString InstrumentSerial;
    QString InstrumentConfiguration;
    qint16 InstrumentMaxDepth = 0;
    float InstrumentFirmware = 0;
};
