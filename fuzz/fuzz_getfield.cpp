// Comma fields (GetField) of instrument replies, the field number taken from the input.
#include "FuzzSupport.h"
#include "support/StringCode.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    const int n = provider.ConsumeIntegralInRange<int>(-2, 64);
    const QByteArray text = fuzzBytes(provider.ConsumeRemainingBytesAsString());
    const QByteArray field = GetField(text, n);
    FUZZ_CHECK(field.isEmpty() || text.contains(field));
    // A field other than the first one starts after a comma.
    if (n > 0 && !field.isEmpty())
        FUZZ_CHECK(text.contains("," + field));
    FUZZ_CHECK(!StripCommas(text).contains(','));
    return 0;
}
