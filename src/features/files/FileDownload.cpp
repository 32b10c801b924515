#include "features/files/FileDownload.h"

#include "link/SendAbort.h"
#include "link/StopOnExit.h"
#include "support/PathUtilities.h"

#include <QDir>

FileDownload::FileDownload(ProgramState &state, CommPort &port, CommandTransaction &transaction,
                           FileCapture &capture, OperatorDialogs &dialogs, QObject *parent)
    : FileTransferOperation(state, transaction, dialogs, parent), m_port(port), m_capture(capture)
{
}

bool FileDownload::GetFiles(int currentRow, int selectionEndRow, const RowReader &rowAt)
{
    const bool timerWasEnabled = statusTimerEnabled();
    setStatusTimerEnabled(false);

    const int first = qMin(currentRow, selectionEndRow);
    const int last = qMax(currentRow, selectionEndRow);
    bool allDone = false;
    if (first <= 0) {
        m_dialogs.ShowErrorMessage(noSelectionMessage());
    } else if (FolderExists(m_state.DefaultDataFolder) ||
               (ChooseDownloadFolder() && FolderExists(m_state.DefaultDataFolder))) {
        emit hourglassChanged(true);
        setBusy(true, true);
        m_state.TransferCancelled = false;

        allDone = true;
        for (int row = first; row <= last; ++row) {
            if (m_state.TransferCancelled) {
                allDone = false;
                break;
            }
            emit rowsSelected(row, last);
            const Row file = rowAt(row);
            const QString name = file.name.trimmed();
            bool isNumber = false;
            const int size = file.size.trimmed().toInt(&isNumber);
            if (!isNumber) {
                m_dialogs.ShowErrorMessage(badSizeMessage(name, file.size.trimmed()));
                allDone = false;
                break;
            }
            if (!DownloadFile(AddBackslash(m_state.DefaultDataFolder) + name, size)) {
                allDone = false;
                break;
            }
        }
        if (allDone)
            emit selectionCleared();

        m_state.TransferCancelled = false;
        setBusy(false, true);
        emit hourglassChanged(false);
    }
    setStatusTimerEnabled(timerWasEnabled);
    return allDone;
}

bool FileDownload::DownloadFile(const QString &path, int size)
{
    emit hourglassChanged(true);
    const bool timerWasEnabled = statusTimerEnabled();
    const QString name = FileNameOf(path).trimmed();
    bool result = false;

    if (size <= 0) {
        // A capture of length 0 has no end but silence or Stop, so it is not started.
        m_dialogs.ShowErrorMessage(emptyFileMessage(name, size));
    } else {
        // The receive loop runs only inside event passes, and none run between here and
        // the opening of the new file, so the data file changes without stopping Timer1.
        if (m_state.dataFile.isOpen())
            m_state.dataFile.close();

        const StopOnExit stop(m_transaction, kThreeEtx);
        const QByteArray latinName = name.toLatin1();
        const QByteArray reply = m_transaction.SendCommand(
            "type " + latinName + " 0 0 300\r", latinName + " 0", "\r", kReplyTimeoutSeconds);
        emit hourglassChanged(true);
        if (reply.isEmpty()) {
            m_dialogs.ShowErrorMessage(noReplyMessage(name));
        } else {
            m_capture.PrepForFileCapture(size);
            if (m_transaction.afterReply().isEmpty())
                m_capture.expectEchoLineFeed();
            if (!m_state.dataFile.open(path)) {
                // The instrument is already streaming; stop it rather than wait for silence.
                SendAbort(m_port);
                m_capture.EndFileCapture();
                m_dialogs.ShowErrorMessage(
                    cannotCreateMessage(path, m_state.dataFile.errorString()));
            } else {
                result = awaitCapture(name, size);
            }
        }
        if (m_state.dataFile.isOpen())
            m_state.dataFile.close();
        emit dataFileClosed();
    }

    showProgress(QString());
    setStatusTimerEnabled(timerWasEnabled);
    emit hourglassChanged(false);
    return result;
}

// Polls the capture that the receive loop fills until it is complete, silent or stopped.
bool FileDownload::awaitCapture(const QString &name, int size)
{
    for (;;) {
        m_transaction.pump().pass();
        if (!m_state.dataFile.isOpen()) {
            // Closed short of the size: a write error, already reported by the receive loop.
            if (m_capture.byteCount() >= size)
                return true;
            m_capture.EndFileCapture();
            return false;
        }
        // A line that went away (pulled or disconnected) brings no more bytes; its loss has
        // been reported, so the partial file is kept without a second message.
        if (!m_port.isOpen()) {
            m_capture.EndFileCapture();
            return false;
        }
        showProgress(name + QStringLiteral(": ") + percentText(m_capture.byteCount(), size));
        if (m_capture.TimeSinceLastByte() > kSilenceSeconds) {
            SendAbort(m_port);
            m_capture.EndFileCapture();
            m_dialogs.ShowErrorMessage(timedOutMessage(name));
            return false;
        }
        if (m_state.TransferCancelled) {
            SendAbort(m_port);
            m_capture.EndFileCapture();
            m_dialogs.ShowErrorMessage(cancelledMessage());
            m_state.TransferCancelled = false;
            return false;
        }
    }
}

bool FileDownload::ChooseDownloadFolder()
{
    const QString folder = m_dialogs.browseForFolder(m_state.DefaultDataFolder);
    if (folder.isEmpty())
        return false;
    m_state.DefaultDataFolder = folder;
    emit downloadFolderChanged(folder);
    return true;
}

QString FileDownload::noSelectionMessage()
{
    return QStringLiteral("To get files, first select them from the directory list.");
}

QString FileDownload::noReplyMessage(const QString &name)
{
    return QStringLiteral("There was an error getting the file ") + name + QLatin1Char('.');
}

QString FileDownload::timedOutMessage(const QString &name)
{
    return QStringLiteral("Transfer of \"") + name + QStringLiteral("\" timed out.");
}

QString FileDownload::cancelledMessage()
{
    return QStringLiteral("Transfer cancelled.");
}

QString FileDownload::badSizeMessage(const QString &name, const QString &sizeText)
{
    return QStringLiteral("The file %1 was not fetched: its size in the directory list (\"%2\") "
                          "is not a number. Refresh the list and try again.")
        .arg(name, sizeText);
}

QString FileDownload::emptyFileMessage(const QString &name, int size)
{
    return QStringLiteral("The file %1 was not fetched: the directory list gives its size as %2 "
                          "bytes.")
        .arg(name)
        .arg(size);
}

QString FileDownload::cannotCreateMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("The file %1 could not be created (%2). The transfer was stopped.")
        .arg(QDir::toNativeSeparators(path), reason);
}
