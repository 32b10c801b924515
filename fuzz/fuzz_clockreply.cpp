// The instrument clock's reply through InstrumentClock::parseReply; a date and time read
// must be valid and must read back the same from the command that sets them.
#include "FuzzSupport.h"
#include "features/status/InstrumentClock.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QDate date;
    QTime time;
    if (!InstrumentClock::parseReply(fuzzBytes(data, size), &date, &time))
        return 0;
    FUZZ_CHECK(date.isValid() && time.isValid());
    if (date.year() > 9999)
        return 0;
    // The set command without "time " and with the framing LF is a reply of the same clock.
    const QByteArray again = '\n' + InstrumentClock::setCommand(date, time).mid(5);
    QDate dateAgain;
    QTime timeAgain;
    FUZZ_CHECK(InstrumentClock::parseReply(again, &dateAgain, &timeAgain));
    FUZZ_CHECK(dateAgain == date && timeAgain == time);
    return 0;
}
