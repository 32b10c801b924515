#include "features/files/FileTransferOperation.h"

#include "session/InstrumentSession.h"

#include <cmath>

FileTransferOperation::FileTransferOperation(InstrumentSession &session, FileDirectory &directory,
                                             OperatorDialogs &dialogs, QObject *parent)
    : QObject(parent), m_session(session), m_directory(directory), m_dialogs(dialogs)
{
    qRegisterMetaType<FileOutcome>();
}

QString FileTransferOperation::percentText(qint64 done, qint64 total)
{
    if (total <= 0)
        return QStringLiteral("0%");
    // Halves round up, as the number format "0%" does.
    const double percent = std::floor(100.0 * double(done) / double(total) + 0.5);
    return QString::number(qint64(percent)) + QLatin1Char('%');
}

void FileTransferOperation::showProgress(const QString &name, qint64 bytes, qint64 total)
{
    if (bytes == m_shownBytes)
        return;
    m_shownBytes = bytes;
    emit progressed(name, m_index, m_count, bytes, total);
}

void FileTransferOperation::endProgress()
{
    m_shownBytes = -1;
    emit progressEnded();
}

void FileTransferOperation::setPlace(int index, int count)
{
    m_index = index;
    m_count = count;
}

FileOutcome FileTransferOperation::finish(FileOutcome outcome)
{
    emit fileFinished(outcome, m_index, m_count);
    return outcome;
}
