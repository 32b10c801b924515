// Random instrument output through the receive loop into SendCommand's framing: some of it
// already in ReceiveBuffer, some arriving in chunks during the wait, markers and time-out
// taken from the input. Status lines the loop finds go on to the status parser.
#include "FuzzLink.h"
#include "FuzzSupport.h"
#include "features/status/StatusParser.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    FuzzLink link(0.25f);
    StatusParser parser(link.status);
    link.loop.setStatusLineSink([&](const QByteArray &line) {
        FUZZ_CHECK(line.contains("st:") && line.endsWith("\r\n"));
        parser.ParseStatus(line);
    });
    qsizetype shown = 0;
    link.loop.setDisplaySink([&](const QString &text) { shown += text.size(); });

    const QByteArray startMarker = fuzzBytes(provider.ConsumeRandomLengthString(12));
    const QByteArray endMarker = fuzzBytes(provider.ConsumeRandomLengthString(4));
    const float timeout = provider.ConsumeIntegralInRange<int>(0, 4) * 0.5f;
    // Old text in ReceiveBuffer, enough at times to reach its cap.
    const int filler = provider.ConsumeIntegralInRange<int>(0, 70000);
    link.state.ReceiveBuffer = QByteArray(filler, 'x');
    link.port.feed(fuzzBytes(provider.ConsumeRandomLengthString(256)));
    link.loop.run();
    while (provider.remaining_bytes() > 0)
        link.pending.append(fuzzBytes(provider.ConsumeRandomLengthString(64)));

    const QByteArray reply = link.transaction.SendCommand("", startMarker, endMarker, timeout);
    FUZZ_CHECK(reply.size() <= ProgramState::kReceiveBufferCap + 1);
    FUZZ_CHECK(link.state.ReceiveBuffer.size() <= ProgramState::kReceiveBufferCap + 1);
    FUZZ_CHECK(link.status.Status() == StatusCode::Idle);
    return 0;
}
