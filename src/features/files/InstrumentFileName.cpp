#include "features/files/InstrumentFileName.h"

QString InstrumentFileName::problem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("it would be empty");
    if (name.size() > kMaxLength)
        return QStringLiteral("it is longer than %1 characters").arg(kMaxLength);
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("\"%1\" is not a file name there").arg(name);
    for (const QChar c : name) {
        const char16_t code = c.unicode();
        if (code <= u' ')
            return QStringLiteral("it holds a blank or a control character");
        if (code >= 127 || QLatin1String(kForbidden).contains(c))
            return QStringLiteral("it holds the character \"%1\"").arg(c);
    }
    return QString();
}
