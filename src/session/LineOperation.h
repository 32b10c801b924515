#pragma once

#include <QString>

// The operations that own the instrument line while they run. While one does, nothing else
// writes to the line: its commands and bytes would land in the middle of the operation's
// exchange (a command typed into a download would be stored in the downloaded file).
enum class LineOperation {
    None,
    Search,
    Download,
    Upload,
    Delete,
    CalCheck,
    Processing,
    BaudChange,
    Reconnection
};

// What the operator is told when something could not be sent while `owner` runs:
// "Not sent: a download is using the Orvantis."
QString lineBusyNote(LineOperation owner);
