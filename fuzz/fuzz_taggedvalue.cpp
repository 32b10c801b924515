// GetTaggedValue with tag and terminator taken from the input; for ASCII text the byte and
// the QString forms must agree.
#include "FuzzSupport.h"
#include "support/TaggedValue.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace
{
bool isAscii(const QByteArray &text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 128)
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    const QByteArray tag = fuzzBytes(provider.ConsumeRandomLengthString(16));
    const QByteArray terminator = fuzzBytes(provider.ConsumeRandomLengthString(4));
    const QByteArray text = fuzzBytes(provider.ConsumeRemainingBytesAsString());

    const QByteArray value = GetTaggedValue(text, tag, terminator);
    FUZZ_CHECK(value.size() <= text.size());
    const QString wide = GetTaggedValue(QString::fromLatin1(text), QString::fromLatin1(tag),
                                        QString::fromLatin1(terminator));
    FUZZ_CHECK(wide.size() <= text.size());
    if (isAscii(text) && isAscii(tag) && isAscii(terminator))
        FUZZ_CHECK(wide == QString::fromLatin1(value));
    return 0;
}
