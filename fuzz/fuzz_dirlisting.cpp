// "Dir /V" listings through DirListing::parse, each row into its grid cells.
#include "FuzzSupport.h"
#include "features/files/DirListing.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply = fuzzBytes(data, size);
    bool freeLineSeen = false;
    const QList<DirListing::Row> rows = DirListing::parse(reply, &freeLineSeen);
    FUZZ_CHECK(rows.size() <= reply.size());
    for (const DirListing::Row &row : rows)
        FUZZ_CHECK(row.cells().size() == DirListing::ColumnCount);
    DirListing::parseLine(reply);
    return 0;
}
