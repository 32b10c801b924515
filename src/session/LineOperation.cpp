#include "session/LineOperation.h"

namespace
{
QString operationText(LineOperation operation)
{
    switch (operation) {
    case LineOperation::Search:
        return QStringLiteral("the connection search");
    case LineOperation::Download:
        return QStringLiteral("a download");
    case LineOperation::Upload:
        return QStringLiteral("an upload");
    case LineOperation::Delete:
        return QStringLiteral("a deletion of files");
    case LineOperation::CalCheck:
        return QStringLiteral("the cal check");
    case LineOperation::Processing:
        return QStringLiteral("remote processing");
    case LineOperation::BaudChange:
        return QStringLiteral("the baud rate change");
    case LineOperation::Reconnection:
        return QStringLiteral("the reconnection");
    case LineOperation::None:
        break;
    }
    return QStringLiteral("another operation");
}
} // namespace

QString lineBusyNote(LineOperation owner)
{
    return QStringLiteral("Not sent: %1 is using the Orvantis.").arg(operationText(owner));
}
