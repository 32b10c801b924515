// Listings of the instrument's own operating system: each line through
// ProcessingListing's classification, and the whole reply through ProcessingSession's
// refresh as it arrives over the instrument session's line (sub-directories, then ".TLT"
// files).
#include "FuzzSession.h"
#include "FuzzSupport.h"
#include "features/processing/ProcessingListing.h"
#include "features/processing/ProcessingSession.h"
#include "support/StringCode.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace
{
void classifyLines(QByteArray text)
{
    QByteArray directory;
    for (;;) {
        const QByteArray line = NextLine(text);
        if (line.isEmpty())
            break;
        const ProcessingListing::Line read = ProcessingListing::classify(line);
        FUZZ_CHECK(read.drive.size() <= 2);
        if (read.kind == ProcessingListing::Kind::Header) {
            FUZZ_CHECK(line.endsWith(read.directory));
            directory = read.directory;
        } else if (read.kind == ProcessingListing::Kind::Entry) {
            ProcessingListing::isDirectory(line);
            const QByteArray path = ProcessingListing::processingPath(directory, line);
            FUZZ_CHECK(path.isEmpty() || line.contains(".TLT"));
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    const QByteArray directories = fuzzBytes(provider.ConsumeRandomLengthString(2048));
    const QByteArray files = fuzzBytes(provider.ConsumeRemainingBytesAsString());
    classifyLines(directories);
    classifyLines(files);

    // The session's own line, fed one chunk a pass of the event pump while its clock moves
    // on a quarter of a second a pass.
    FuzzSession link(0.25f);
    QByteArrayList replies{directories, files};
    link.port.setResponder([&](const QByteArray &) {
        if (replies.isEmpty())
            return;
        const QByteArray reply = replies.takeFirst();
        for (qsizetype at = 0; at < reply.size(); at += 64)
            link.pending.append(reply.mid(at, 64));
    });

    ProcessingSession processing(link.rig.session);
    processing.refresh();
    FUZZ_CHECK(!processing.isBusy());
    FUZZ_CHECK(processing.fileCount() <= processing.entries().size());
    return 0;
}
