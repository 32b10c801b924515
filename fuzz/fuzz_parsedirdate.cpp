// Listing dates ("12-04-09 14:35") through ParseDirDate.
#include "FuzzSupport.h"
#include "features/files/ParseDirDate.h"

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FUZZ_CHECK(!std::isnan(ParseDirDate(fuzzBytes(data, size))));
    return 0;
}
