// Identification replies ("id") through ParseInstrumentInfo and the firmware text shown.
#include "FuzzSupport.h"
#include "session/InstrumentInfo.h"

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply = fuzzBytes(data, size);
    InstrumentIdentity identity;
    const bool found = ParseInstrumentInfo(reply, identity);
    FUZZ_CHECK(found == !identity.InstrumentSerial.isEmpty());
    FUZZ_CHECK(std::isfinite(identity.InstrumentFirmware));
    if (identity.InstrumentFirmware < kDepthRatedFirmware)
        FUZZ_CHECK(identity.InstrumentMaxDepth == kShallowMaxDepth);
    FUZZ_CHECK(!FirmwareText(identity.InstrumentFirmware).isEmpty());
    return 0;
}
