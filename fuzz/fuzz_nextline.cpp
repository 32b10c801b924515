// Replies taken apart line by line with NextLine, as the listing readers do.
#include "FuzzSupport.h"
#include "support/StringCode.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray text = fuzzBytes(data, size);
    for (;;) {
        const qsizetype before = text.size();
        const QByteArray line = NextLine(text);
        for (char c : line)
            FUZZ_CHECK(static_cast<unsigned char>(c) >= 32);
        if (line.isEmpty() && text.size() == before)
            break;
        // Every line taken shortens the text, so the loop ends.
        FUZZ_CHECK(text.size() < before);
        FirstWord(line);
        TrimAtNull(line);
    }
    return 0;
}
