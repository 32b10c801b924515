#include "features/files/ParseDirDate.h"

#include "support/StringCode.h"

#include <QDate>
#include <QtMath>

#include <cmath>

namespace
{
constexpr int kDayZeroYear = 1899;
constexpr int kDayZeroMonth = 12;
constexpr int kDayZeroDay = 30;
constexpr int kCenturyPivot = 80;

// Characters `from`..`from + length - 1`, counting from 1.
QByteArray part(const QByteArray &text, int from, int length)
{
    return text.mid(from - 1, length);
}

int wholeNumber(const QByteArray &text)
{
    const double value = LeadingNumber(text);
    if (!qIsFinite(value) || value > 1e6 || value < -1e6)
        return 0;
    return qRound(value);
}

QDate dayZero()
{
    return QDate(kDayZeroYear, kDayZeroMonth, kDayZeroDay);
}

// Day number of year/month/day, letting months and days outside their range carry over.
qint64 dayNumber(int year, int month, int day)
{
    const int monthsFromZero = month - 1;
    const int carryYears = monthsFromZero >= 0 ? monthsFromZero / 12 : (monthsFromZero - 11) / 12;
    const int normalMonth = monthsFromZero - carryYears * 12 + 1;
    const QDate first(year + carryYears, normalMonth, 1);
    if (!first.isValid())
        return 0;
    return first.toJulianDay() + (day - 1) - dayZero().toJulianDay();
}
} // namespace

double ParseDirDate(const QByteArray &text)
{
    int year = wholeNumber(part(text, 7, 2));
    if (year >= kCenturyPivot)
        year += 1900;
    if (year < kCenturyPivot)
        year += 2000;
    const int month = wholeNumber(part(text, 1, 2));
    const int day = wholeNumber(part(text, 4, 2));
    double date = double(dayNumber(year, month, day));
    date += LeadingNumber(part(text, 10, 2)) / 24.0;
    date += LeadingNumber(part(text, 13, 2)) / 1440.0;
    return date;
}

QDateTime DirDateTime(double dayNumber)
{
    if (!qIsFinite(dayNumber) || qAbs(dayNumber) > 1e7)
        return QDateTime();
    const qint64 whole = qint64(std::floor(dayNumber));
    const int seconds = qRound((dayNumber - double(whole)) * 86400.0);
    return QDateTime(dayZero().addDays(whole), QTime(0, 0)).addSecs(seconds);
}
