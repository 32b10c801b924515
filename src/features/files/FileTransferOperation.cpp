#include "features/files/FileTransferOperation.h"

#include "session/InstrumentSession.h"

#include <cmath>

FileTransferOperation::FileTransferOperation(InstrumentSession &session, FileDirectory &directory,
                                             OperatorDialogs &dialogs, QObject *parent)
    : QObject(parent), m_session(session), m_directory(directory), m_dialogs(dialogs)
{
}

QString FileTransferOperation::percentText(qint64 done, qint64 total)
{
    if (total <= 0)
        return QStringLiteral("0%");
    // Halves round up, as the number format "0%" does.
    const double percent = std::floor(100.0 * double(done) / double(total) + 0.5);
    return QString::number(qint64(percent)) + QLatin1Char('%');
}

void FileTransferOperation::showProgress(const QString &text)
{
    if (text == m_progress)
        return;
    m_progress = text;
    emit ProgressLabelChanged(text);
}

void FileTransferOperation::setBusy(bool busy, bool lockActions)
{
    emit transferBusyChanged(busy);
    if (lockActions)
        emit actionButtonsEnabledChanged(!busy);
}
