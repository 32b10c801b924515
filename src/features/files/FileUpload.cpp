#include "features/files/FileUpload.h"

#include "link/StopOnExit.h"
#include "support/PathUtilities.h"
#include "support/SettingsKeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

namespace
{
const QByteArray kCtrlZ(1, '\x1a');

// The next line of `file`. A line ends at CR, CR LF or LF (files written on this system end
// their lines in LF alone); the end is not part of the line. False at the end of the file
// and on a read error.
bool readLine(QFile &file, QByteArray &line)
{
    line.clear();
    bool readAny = false;
    char c = 0;
    while (file.getChar(&c)) {
        readAny = true;
        if (c == '\n')
            return true;
        if (c == '\r') {
            char next = 0;
            if (file.peek(&next, 1) == 1 && next == '\n')
                file.getChar(&next);
            return true;
        }
        line.append(c);
    }
    return readAny;
}
} // namespace

FileUpload::FileUpload(ProgramState &state, CommandTransaction &transaction,
                       OperatorDialogs &dialogs, QObject *parent)
    : FileTransferOperation(state, transaction, dialogs, parent)
{
}

bool FileUpload::SendFile()
{
    const QString path = m_dialogs.openFileName(dialogTitle(), LastUploadFolder());
    if (path.isEmpty())
        return false;
    setLastUploadFolder(FolderOf(path));

    setBusy(true, false);
    m_state.TransferCancelled = false;
    const bool timerWasEnabled = statusTimerEnabled();
    setStatusTimerEnabled(false);

    UploadFile(path);

    setBusy(false, false);
    m_state.TransferCancelled = false;
    emit refreshRequested();
    setStatusTimerEnabled(timerWasEnabled);
    return true;
}

bool FileUpload::UploadFile(const QString &path)
{
    const bool timerWasEnabled = statusTimerEnabled();
    if (!FileExists(path))
        return false;

    QFile file(path);
    const qint64 total = file.size();
    setStatusTimerEnabled(false);
    if (!file.open(QIODevice::ReadOnly)) {
        // Nothing sent: an empty file on the instrument would only hide the problem.
        m_dialogs.ShowErrorMessage(cannotOpenMessage(path, file.errorString()));
        setStatusTimerEnabled(timerWasEnabled);
        return false;
    }

    const QString displayName = FileNameOf(path);
    m_transaction.SendCommand("capture " + InstrumentName(path).toLatin1() + '\r', QByteArray(),
                              QByteArray(), kCaptureWaitSeconds);
    m_transaction.Pause(kSettleSeconds);
    const StopOnExit stop(m_transaction, kCtrlZ + kCtrlZ);

    qint64 sent = 0;
    QByteArray line;
    // A closed port (the line went, or the program is ending) takes no more lines.
    while (!m_state.TransferCancelled && m_transaction.portOpen()) {
        if (!readLine(file, line))
            break;
        sent += line.size();
        showProgress(displayName + QStringLiteral(": ") + percentText(sent, total));
        m_transaction.Pause(kLinePauseSeconds);
        m_transaction.SendCommand(line + '\r', "\r", "Capture>", kLineTimeoutSeconds);
        m_transaction.pump().pass();
    }
    showProgress(QString());

    // Also after Stop: the instrument must always leave its capture mode.
    for (int i = 0; i < 2; ++i)
        m_transaction.SendCommand(kCtrlZ, "\r", "Orvantis>", kEndTimeoutSeconds);

    file.close();
    m_state.TransferCancelled = false;
    setStatusTimerEnabled(timerWasEnabled);
    return false;
}

QString FileUpload::InstrumentName(const QString &path)
{
    return StripSpaces(FileNameOf(path).left(kInstrumentNameLength));
}

QString FileUpload::LastUploadFolder()
{
    QSettings settings;
    settings.beginGroup(SettingsKeys::kFileTransferSection);
    const QString folder = settings.value(SettingsKeys::kLastUploadFolder).toString();
    if (FolderExists(folder))
        return AddBackslash(folder);
    return AddBackslash(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
}

void FileUpload::setLastUploadFolder(const QString &folder)
{
    QSettings settings;
    settings.beginGroup(SettingsKeys::kFileTransferSection);
    settings.setValue(SettingsKeys::kLastUploadFolder, folder);
}

QString FileUpload::dialogTitle()
{
    return QStringLiteral("Select file to send to Orvantis");
}

QString FileUpload::cannotOpenMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("The file %1 could not be opened (%2). Nothing was sent.")
        .arg(QDir::toNativeSeparators(path), reason);
}
