#pragma once

#include <QByteArray>
#include <QString>

// Text routines shared by the protocol and listing code. Instrument text is 8-bit, so the
// routines work on QByteArray; positions in comments count from 1 as the replies do.

// True when the first character is a decimal digit.
bool IsDigit(const QByteArray &text);
// Value of the first run of decimal digits; 0 when there is none ("COM  12" -> 12).
qint32 ExtractNumber(const QByteArray &text);
qint32 ExtractNumber(const QString &text);
// The text from its first digit on, including a "." and then a "-" right before it.
QByteArray FromFirstNumber(const QByteArray &text);
// The leading number of FromFirstNumber(text), cut at its first blank; 0 without digits.
double ParseNumber(const QByteArray &text);
// Leading-number reading: blanks, tabs and LFs are skipped anywhere; sign, digits, one
// decimal point, exponent E or D; "&H"/"&O" hex or octal; 0 when nothing is readable.
double LeadingNumber(const QByteArray &text);
double LeadingNumber(const QString &text);
// Comma-separated field n counting from 0; a field is never empty while text remains.
QByteArray GetField(const QByteArray &text, int n);
QByteArray StripCommas(const QByteArray &text);
// Takes the first line off `text` (up to its first control character, dropping the run of
// control characters after it). Empty result when the text has no control character
// before its last position.
QByteArray NextLine(QByteArray &text);
QByteArray FirstWord(const QByteArray &text);
QByteArray PadWithNulls(const QByteArray &text, int length);
QByteArray AppendNull(const QByteArray &text);
QByteArray TrimAtNull(const QByteArray &text);
// Number written as the instrument's software writes it: a blank in the sign position of
// a non-negative number (" 3", "-2", " 2.5").
QString NumberWithSign(double value);
