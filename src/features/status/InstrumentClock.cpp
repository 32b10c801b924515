#include "features/status/InstrumentClock.h"

#include "session/LoggedOperation.h"

#include <QList>

namespace
{
constexpr float kReadTimeout = 0.3f;
constexpr float kSetTimeout = 0.5f;
constexpr int kDateLength = 11;
constexpr int kTimeLength = 8;

// Three whole numbers separated by `separator`, blanks around the text allowed.
bool threeNumbers(const QByteArray &text, char separator, int *a, int *b, int *c)
{
    const QList<QByteArray> parts = text.trimmed().split(separator);
    if (parts.size() != 3)
        return false;
    int *out[] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        const QByteArray part = parts.at(i);
        if (part.isEmpty())
            return false;
        for (char ch : part) {
            if (ch < '0' || ch > '9')
                return false;
        }
        *out[i] = part.toInt();
    }
    return true;
}
} // namespace

InstrumentClock::InstrumentClock(Line &line) : m_line(line)
{
}

bool InstrumentClock::read(QDate *date, QTime *time)
{
    return parseReply(m_line.SendCommand("time\r", "\n", "\r", kReadTimeout), date, time);
}

void InstrumentClock::set(const QDate &date, const QTime &time)
{
    const LoggedOperation logged(
        m_line.eventLog(), tr("Clock change"),
        QDateTime(date, time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    m_line.SendCommand(setCommand(date, time), "", "", kSetTimeout);
}

bool InstrumentClock::parseReply(const QByteArray &reply, QDate *date, QTime *time)
{
    const qsizetype firstSlash = reply.indexOf('/');
    if (firstSlash < 0)
        return false;
    const qsizetype secondSlash = reply.indexOf('/', firstSlash + 1);
    if (secondSlash < 0)
        return false;
    // The reply's first character is the LF that frames it.
    int month = 0, day = 0, year = 0;
    if (!threeNumbers(reply.mid(1, kDateLength), '/', &month, &day, &year))
        return false;
    const QDate readDate(year, month, day);
    if (!readDate.isValid())
        return false;

    const qsizetype colon = reply.indexOf(':', secondSlash);
    if (colon < 2)
        return false;
    int hours = 0, minutes = 0, seconds = 0;
    if (!threeNumbers(reply.mid(colon - 2, kTimeLength), ':', &hours, &minutes, &seconds))
        return false;
    const QTime readTime(hours, minutes, seconds);
    if (!readTime.isValid())
        return false;

    *date = readDate;
    *time = readTime;
    return true;
}

QByteArray InstrumentClock::setCommand(const QDate &date, const QTime &time)
{
    return QByteArray("time ") +
           QString::asprintf("%02d/%02d/%04d %02d:%02d:%02d", date.month(), date.day(), date.year(),
                             time.hour(), time.minute(), time.second())
               .toLatin1() +
           '\r';
}
