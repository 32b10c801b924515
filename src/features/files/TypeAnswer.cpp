#include "features/files/TypeAnswer.h"

#include <QLatin1StringView>

TypeAnswer::Kind TypeAnswer::classify(const QByteArray &name, QByteArray afterEcho)
{
    if (afterEcho.startsWith('\n'))
        afterEcho.remove(0, 1);
    const QByteArray answer = "File not found: " + name + '\r';
    const qsizetype compared = qMin(afterEcho.size(), answer.size());
    if (QLatin1StringView(afterEcho.left(compared))
            .compare(QLatin1StringView(answer.left(compared)), Qt::CaseInsensitive) != 0)
        return Kind::Stream;
    return compared == answer.size() ? Kind::Missing : Kind::Undecided;
}
