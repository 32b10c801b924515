#include "session/LineOperation.h"

#include <QCoreApplication>

QString lineBusyNote(LineOperation owner)
{
    switch (owner) {
    case LineOperation::Search:
        return QCoreApplication::translate(
            "LineOperation", "Not sent: the connection search is using the Orvantis.");
    case LineOperation::Download:
        return QCoreApplication::translate("LineOperation",
                                           "Not sent: a download is using the Orvantis.");
    case LineOperation::Upload:
        return QCoreApplication::translate("LineOperation",
                                           "Not sent: an upload is using the Orvantis.");
    case LineOperation::Delete:
        return QCoreApplication::translate("LineOperation",
                                           "Not sent: a deletion of files is using the Orvantis.");
    case LineOperation::CalCheck:
        return QCoreApplication::translate("LineOperation",
                                           "Not sent: the cal check is using the Orvantis.");
    case LineOperation::Processing:
        return QCoreApplication::translate("LineOperation",
                                           "Not sent: remote processing is using the Orvantis.");
    case LineOperation::BaudChange:
        return QCoreApplication::translate("LineOperation",
                                           "Not sent: the baud rate change is using the Orvantis.");
    case LineOperation::Reconnection:
        return QCoreApplication::translate("LineOperation",
                                           "Not sent: the reconnection is using the Orvantis.");
    case LineOperation::None:
        break;
    }
    return QCoreApplication::translate("LineOperation",
                                       "Not sent: another operation is using the Orvantis.");
}
