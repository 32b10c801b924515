#include "support/StringCode.h"

#include <limits>

namespace
{
bool isDigitChar(char c)
{
    return c >= '0' && c <= '9';
}

bool isSkipped(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

qsizetype firstDigit(const QByteArray &text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (isDigitChar(text.at(i)))
            return i;
    return -1;
}

double radixNumber(const QByteArray &digits, int radix)
{
    double value = 0;
    for (char c : digits) {
        int d;
        if (isDigitChar(c))
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            break;
        if (d >= radix)
            break;
        value = value * radix + d;
    }
    return value;
}
} // namespace

bool IsDigit(const QByteArray &text)
{
    return !text.isEmpty() && isDigitChar(text.at(0));
}

qint32 ExtractNumber(const QByteArray &text)
{
    const qsizetype start = firstDigit(text);
    if (start < 0)
        return 0;
    qint64 value = 0;
    for (qsizetype i = start; i < text.size() && isDigitChar(text.at(i)); ++i) {
        value = value * 10 + (text.at(i) - '0');
        if (value > std::numeric_limits<qint32>::max())
            return std::numeric_limits<qint32>::max();
    }
    return qint32(value);
}

qint32 ExtractNumber(const QString &text)
{
    return ExtractNumber(text.toLatin1());
}

QByteArray FromFirstNumber(const QByteArray &text)
{
    qsizetype start = firstDigit(text);
    if (start < 0)
        return QByteArray();
    if (start > 0 && text.at(start - 1) == '.')
        --start;
    if (start > 0 && text.at(start - 1) == '-')
        --start;
    return text.mid(start);
}

double ParseNumber(const QByteArray &text)
{
    QByteArray number = FromFirstNumber(text);
    const qsizetype space = number.indexOf(' ');
    if (space > 0)
        number.truncate(space);
    return LeadingNumber(number);
}

double LeadingNumber(const QByteArray &text)
{
    QByteArray compact;
    compact.reserve(text.size());
    for (char c : text)
        if (!isSkipped(c))
            compact.append(c);

    if (compact.size() >= 2 && compact.at(0) == '&') {
        const char kind = compact.at(1);
        if (kind == 'H' || kind == 'h')
            return radixNumber(compact.mid(2), 16);
        if (kind == 'O' || kind == 'o')
            return radixNumber(compact.mid(2), 8);
        return 0;
    }

    QByteArray number;
    qsizetype i = 0;
    if (i < compact.size() && (compact.at(i) == '+' || compact.at(i) == '-'))
        number.append(compact.at(i++));
    bool digits = false;
    bool point = false;
    for (; i < compact.size(); ++i) {
        const char c = compact.at(i);
        if (isDigitChar(c)) {
            digits = true;
            number.append(c);
        } else if (c == '.' && !point) {
            point = true;
            number.append(c);
        } else {
            break;
        }
    }
    if (!digits)
        return 0;
    if (i < compact.size() && (compact.at(i) == 'E' || compact.at(i) == 'e' ||
                               compact.at(i) == 'D' || compact.at(i) == 'd')) {
        QByteArray exponent("e");
        qsizetype j = i + 1;
        if (j < compact.size() && (compact.at(j) == '+' || compact.at(j) == '-'))
            exponent.append(compact.at(j++));
        bool expDigits = false;
        for (; j < compact.size() && isDigitChar(compact.at(j)); ++j) {
            exponent.append(compact.at(j));
            expDigits = true;
        }
        if (expDigits)
            number.append(exponent);
    }
    // QByteArray::toDouble reads "." as the decimal point whatever the C locale says (the
    // application sets the user's locale at start-up, where strtod may expect ",").
    // A number too large for a double is not readable; one too small reads as 0.
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? value : 0;
}

double LeadingNumber(const QString &text)
{
    return LeadingNumber(text.toLatin1());
}

QByteArray GetField(const QByteArray &text, int n)
{
    if (n < 0)
        return QByteArray();
    qsizetype start = 0;
    for (int field = 0;; ++field) {
        if (start >= text.size())
            return QByteArray();
        // The comma that ends a field is looked for from the field's second character on.
        const qsizetype comma = text.indexOf(',', start + 1);
        if (field == n)
            return comma < 0 ? text.mid(start) : text.mid(start, comma - start);
        if (comma < 0)
            return QByteArray();
        start = comma + 1;
    }
}

QByteArray StripCommas(const QByteArray &text)
{
    QByteArray result = text;
    result.replace(",", "");
    return result;
}

QByteArray NextLine(QByteArray &text)
{
    qsizetype control = -1;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (static_cast<unsigned char>(text.at(i)) < 32) {
            control = i;
            break;
        }
    }
    if (control < 0)
        return QByteArray();
    const QByteArray line = text.left(control);
    qsizetype rest = control;
    while (rest < text.size() && static_cast<unsigned char>(text.at(rest)) < 32)
        ++rest;
    text.remove(0, rest);
    return line;
}

QByteArray FirstWord(const QByteArray &text)
{
    const qsizetype space = text.indexOf(' ');
    return space < 0 ? text : text.left(space);
}

QByteArray PadWithNulls(const QByteArray &text, int length)
{
    QByteArray result = text;
    if (length > result.size())
        result.append(QByteArray(length - result.size(), '\0'));
    return result;
}

QByteArray AppendNull(const QByteArray &text)
{
    QByteArray result = text;
    result.append('\0');
    return result;
}

QByteArray TrimAtNull(const QByteArray &text)
{
    const qsizetype nul = text.indexOf('\0');
    return nul < 0 ? text : text.left(nul);
}

QString NumberWithSign(double value)
{
    const QString digits = QString::number(value, 'g', 15);
    return value < 0 ? digits : QLatin1Char(' ') + digits;
}
