#pragma once

#include <QByteArray>
#include <QDateTime>

// The date and time of a directory listing ("12-04-09 14:35": month, day, two-digit year,
// hour, minute at fixed places) as a day number: days since 30 December 1899, with the time
// of day as the fraction. Years 80-99 are 1980-1999, 00-79 are 2000-2079. A part that cannot
// be read counts as 0; months and days out of range roll over into the neighbouring months.
double ParseDirDate(const QByteArray &text);

// A day number as ParseDirDate gives it, back as a date and time (to the nearest second).
QDateTime DirDateTime(double dayNumber);
