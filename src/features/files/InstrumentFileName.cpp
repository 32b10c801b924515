#include "features/files/InstrumentFileName.h"

QString InstrumentFileName::problem(const QString &name)
{
    if (name.isEmpty())
        return InstrumentFileName::tr("it would be empty");
    if (name.size() > kMaxLength)
        return InstrumentFileName::tr("it is longer than %1 characters").arg(kMaxLength);
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return InstrumentFileName::tr("\"%1\" is not a file name there").arg(name);
    for (const QChar c : name) {
        const char16_t code = c.unicode();
        if (code <= u' ')
            return InstrumentFileName::tr("it holds a blank or a control character");
        if (code >= 127 || QLatin1String(kForbidden).contains(c))
            return InstrumentFileName::tr("it holds the character \"%1\"").arg(c);
    }
    return QString();
}
