// The baud replies ("baud:" with the start-up rate, "Changing" and the confirmation at the
// new rate) through BaudRateChange's exchanges, the instrument's answers from the input.
#include "FuzzSession.h"
#include "FuzzSupport.h"
#include "session/BaudRateChange.h"
#include "session/LineClaim.h"

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
    QByteArrayList answers;
    const QString rateText = QString::fromLatin1(fuzzBytes(provider.ConsumeRandomLengthString(12)));
    const int storedRate = provider.ConsumeIntegral<int>();
    for (int i = 0; i < 4; ++i)
        answers.append(fuzzBytes(provider.ConsumeRandomLengthString(128)));
    // Each command the console writes is answered with the next reply, in two chunks.
    FuzzSession link(0.125f);
    link.port.setResponder([&](const QByteArray &) {
        if (answers.isEmpty())
            return;
        const QByteArray answer = answers.takeFirst();
        link.pending.append(answer.left(answer.size() / 2));
        link.pending.append(answer.mid(answer.size() / 2));
    });

    LineClaim claim = link.rig.session.claimLine(LineOperation::BaudChange);
    BaudRateChange change(claim);
    change.queryStartupRate();
    const BaudRateChange::Outcome outcome = change.change(rateText);
    if (outcome == BaudRateChange::Outcome::Changed) {
        FUZZ_CHECK(change.rate() >= BaudRateChange::kLowestRate &&
                   change.rate() <= BaudRateChange::kHighestRate);
        FUZZ_CHECK(link.port.settings().startsWith(QString::number(change.rate()) + ','));
    }
    change.storeStartupRate(storedRate);
    return 0;
}
