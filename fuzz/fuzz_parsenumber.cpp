// The number readers: ParseNumber, ExtractNumber, LeadingNumber, FromFirstNumber. The
// QString forms must read Latin-1 text as the byte forms do.
#include "FuzzSupport.h"
#include "support/StringCode.h"

#include <algorithm>
#include <cmath>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text = fuzzBytes(data, size);
    const QString wide = QString::fromLatin1(text);

    const qint32 whole = ExtractNumber(text);
    FUZZ_CHECK(whole >= 0);
    FUZZ_CHECK(whole == ExtractNumber(wide));

    const double leading = LeadingNumber(text);
    FUZZ_CHECK(!std::isnan(leading));
    FUZZ_CHECK(leading == LeadingNumber(wide));

    const double parsed = ParseNumber(text);
    FUZZ_CHECK(!std::isnan(parsed));
    const QByteArray from = FromFirstNumber(text);
    const bool hasDigit =
        std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    FUZZ_CHECK(from.isEmpty() == !hasDigit);
    FUZZ_CHECK(hasDigit || (whole == 0 && parsed == 0));
    FUZZ_CHECK(text.endsWith(from));
    return 0;
}
