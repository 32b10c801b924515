// Status lines ("st:" replies) through StatusParser::ParseStatus, one after another as the
// poll delivers them, including the nested parse an "Enable" box's change handler runs.
#include "FuzzSupport.h"
#include "features/status/StatusParser.h"
#include "testkit/PlainLinkStatus.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzzBytes(data, size);
    PlainLinkStatus status;
    status.SetStatus(StatusCode::NoResponse);
    StatusParser parser(status);
    QByteArray line;
    int nested = 0;
    parser.setSwitchCheckedHandler([&](StatusSwitch which) {
        parser.setSwitchChecked(which, true);
        if (nested++ == 0)
            parser.ParseStatus(line);
    });

    for (const QByteArray &part : input.split('\n')) {
        line = part;
        const StatusParseResult result = parser.ParseStatus(part);
        FUZZ_CHECK(result.statusTimerInterval == 0 ||
                   result.statusTimerInterval == StatusParser::kSettlingIntervalMs ||
                   result.statusTimerInterval == StatusParser::kStableIntervalMs);
        // Any line proves the instrument answers; an empty one shows nothing.
        if (!part.isEmpty())
            FUZZ_CHECK(status.Status() == StatusCode::Idle);
    }
    return 0;
}
