#include "features/files/FileDownload.h"

#include "features/files/StagedDownload.h"
#include "features/files/TypeAnswer.h"
#include "session/InstrumentSession.h"
#include "session/LineClaim.h"
#include "session/SendAbort.h"
#include "support/PathUtilities.h"

#include <QDir>

FileDownload::FileDownload(InstrumentSession &session, FileDirectory &directory,
                           OperatorDialogs &dialogs, QObject *parent)
    : FileTransferOperation(session, directory, dialogs, parent)
{
}

bool FileDownload::GetFiles(int currentRow, int selectionEndRow)
{
    LineClaim claim = m_session.claimLine(LineOperation::Download);
    if (!claim)
        return false;
    const int first = qMin(currentRow, selectionEndRow);
    const int last = qMax(currentRow, selectionEndRow);
    bool allDone = false;
    if (first <= 0) {
        m_dialogs.ShowErrorMessage(noSelectionMessage());
    } else if (FolderExists(m_session.DefaultDataFolder()) ||
               (ChooseDownloadFolder() && FolderExists(m_session.DefaultDataFolder()))) {
        emit hourglassChanged(true);
        setBusy(true, true);
        m_session.setTransferCancelled(false);

        allDone = true;
        for (int row = first; row <= last; ++row) {
            if (m_session.TransferCancelled()) {
                allDone = false;
                break;
            }
            emit rowsSelected(row, last);
            const QString name = m_directory.nameAt(row - 1);
            const QString sizeText = m_directory.sizeKeyAt(row - 1).trimmed();
            bool isNumber = false;
            const int size = sizeText.toInt(&isNumber);
            if (!isNumber || size < 0) {
                m_dialogs.ShowErrorMessage(badSizeMessage(name, sizeText));
                allDone = false;
                break;
            }
            if (!download(claim, AddBackslash(m_session.DefaultDataFolder()) + name, size)) {
                allDone = false;
                break;
            }
        }
        if (allDone)
            emit selectionCleared();

        m_session.setTransferCancelled(false);
        setBusy(false, true);
        emit hourglassChanged(false);
    }
    return allDone;
}

bool FileDownload::DownloadFile(const QString &path, int size)
{
    LineClaim claim = m_session.claimLine(LineOperation::Download);
    return claim && download(claim, path, size);
}

bool FileDownload::download(Line &line, const QString &path, int size)
{
    emit hourglassChanged(true);
    const QString name = FileNameOf(path).trimmed();
    bool result = false;

    if (size < 0) {
        m_dialogs.ShowErrorMessage(badSizeMessage(name, QString::number(size)));
    } else {
        // The receive loop runs only inside event passes, and none run between here and
        // the opening of the new file, so the data file changes without stopping Timer1.
        if (m_session.dataFile().isOpen())
            m_session.dataFile().close();
        const StopOnExit stop = line.stopOnExit(kThreeEtx);
        result = fetch(line, path, name, size);
        if (m_session.dataFile().isOpen())
            m_session.dataFile().close();
    }

    showProgress(QString());
    emit hourglassChanged(false);
    return result;
}

bool FileDownload::fetch(Line &line, const QString &path, const QString &name, int size)
{
    StagedDownload staged(path);
    if (!staged.reserve()) {
        m_dialogs.ShowErrorMessage(cannotCreateMessage(path, staged.errorString()));
        return false;
    }
    const QByteArray latinName = name.toLatin1();
    const QByteArray reply = line.SendCommand("type " + latinName + " 0 0 300\r", latinName + " 0",
                                              "\r", kReplyTimeoutSeconds);
    emit hourglassChanged(true);
    if (reply.isEmpty()) {
        m_dialogs.ShowErrorMessage(noReplyMessage(name));
        return false;
    }
    m_echoRest = line.afterReply();
    m_replyLength = m_session.ReceiveBuffer().size();
    // A listed size of 0 has nothing to capture: a capture of length 0 would have no end.
    if (size > 0) {
        m_session.PrepForFileCapture(size);
        m_session.expectEchoLineFeed();
        if (!m_session.dataFile().open(staged.stagingPath())) {
            // The instrument is already streaming; stop it rather than wait for silence.
            SendAbort(line);
            m_session.EndFileCapture();
            m_dialogs.ShowErrorMessage(
                cannotCreateMessage(path, m_session.dataFile().errorString()));
            return false;
        }
        // The file's first bytes may have come with the echo, in the same receive run.
        m_session.captureEarly(m_echoRest);
    }

    const Outcome outcome = awaitFile(line, name, size);
    if (m_session.dataFile().isOpen())
        m_session.dataFile().close();
    if (outcome == Outcome::Refused) {
        m_dialogs.ShowErrorMessage(refusedMessage(name, TypeAnswer::words(afterEcho())));
        return false;
    }
    const qint64 arrived = size == 0 ? 0 : m_session.byteCount();
    return place(staged, outcome, name, arrived);
}

// Where the bytes go. A complete file replaces the local one; an incomplete one never does:
// beside a local file it stays as NAME.part, and where there was none it takes the name. A
// write error leaves it where the receive loop's message said (the staging file).
bool FileDownload::place(StagedDownload &staged, Outcome outcome, const QString &name,
                         qint64 arrived)
{
    const QString stagingPath = staged.stagingPath();
    const QString path = staged.targetPath();
    QString where;
    if (outcome == Outcome::Complete ||
        (arrived > 0 && !staged.targetExisted() && outcome != Outcome::WriteFailed)) {
        if (!staged.putInPlace()) {
            m_dialogs.ShowErrorMessage(notPlacedMessage(path, stagingPath, staged.errorString()));
            return false;
        }
    } else if (arrived > 0) {
        staged.keep();
        where = keptMessage(arrived, stagingPath, name);
    }
    // Nothing of the file came: the local file stays as it was and nothing is left behind.
    switch (outcome) {
    case Outcome::Complete:
        return true;
    case Outcome::TimedOut:
        m_dialogs.ShowErrorMessage(withNote(timedOutMessage(name), where));
        break;
    case Outcome::Cancelled:
        m_dialogs.ShowErrorMessage(withNote(cancelledMessage(), where));
        break;
    case Outcome::Lost: {
        // Said when nothing else says it: a line that is lost is brought back quietly (the
        // operator's Disconnect, or a loss without reconnection, leave status 0 and say
        // enough), or the bytes are not where the operator would look.
        const bool quietLoss =
            m_session.reconnectsAutomatically() && m_session.Status() != StatusCode::NotConnected;
        if (quietLoss || !where.isEmpty())
            m_dialogs.ShowErrorMessage(withNote(lostMessage(name), where));
        break;
    }
    case Outcome::WriteFailed:
    case Outcome::Refused:
        break;
    }
    return false;
}

QByteArray FileDownload::afterEcho() const
{
    return m_echoRest + m_session.ReceiveBuffer().mid(m_replyLength, TypeAnswer::kLookedAt);
}

// Polls the capture that the receive loop fills until it is complete, silent or stopped,
// or the instrument's answer has shown a refusal.
FileDownload::Outcome FileDownload::awaitFile(Line &line, const QString &name, int size)
{
    for (;;) {
        line.pass();
        const bool quiet = m_session.TimeSinceLastByte() > kRefusalQuietSeconds;
        const TypeAnswer::Kind answer = TypeAnswer::classify(afterEcho(), size, quiet);
        if (answer == TypeAnswer::Kind::Refusal) {
            m_session.EndFileCapture();
            return Outcome::Refused;
        }
        const bool allIn =
            size == 0 || (!m_session.dataFile().isOpen() && m_session.byteCount() >= size);
        if (allIn && answer == TypeAnswer::Kind::File)
            return Outcome::Complete;
        if (!allIn && !m_session.dataFile().isOpen()) {
            // Closed short of the size: a write error, already reported by the receive loop.
            m_session.EndFileCapture();
            return Outcome::WriteFailed;
        }
        // A line that went away (pulled or disconnected) brings no more bytes.
        if (!line.portOpen()) {
            m_session.EndFileCapture();
            return Outcome::Lost;
        }
        showProgress(name + QStringLiteral(": ") +
                     percentText(size > 0 ? m_session.byteCount() : 0, size));
        // Every byte is in and nothing tells it from a file: it is one.
        if (allIn && m_session.TimeSinceLastByte() > kReplyTimeoutSeconds)
            return Outcome::Complete;
        if (m_session.TimeSinceLastByte() > kSilenceSeconds) {
            SendAbort(line);
            m_session.EndFileCapture();
            return Outcome::TimedOut;
        }
        if (m_session.TransferCancelled()) {
            SendAbort(line);
            m_session.EndFileCapture();
            m_session.setTransferCancelled(false);
            return Outcome::Cancelled;
        }
    }
}

bool FileDownload::ChooseDownloadFolder()
{
    const QString folder = m_dialogs.browseForFolder(m_session.DefaultDataFolder());
    if (folder.isEmpty())
        return false;
    m_session.setDefaultDataFolder(folder);
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

QString FileDownload::refusedMessage(const QString &name, const QString &words)
{
    return noReplyMessage(name) + QStringLiteral(" The Orvantis answered: \"%1\"").arg(words);
}

QString FileDownload::lostMessage(const QString &name)
{
    return QStringLiteral("Transfer of \"%1\" stopped: the connection to the Orvantis ended.")
        .arg(name);
}

QString FileDownload::keptMessage(qint64 arrived, const QString &partPath, const QString &name)
{
    return QStringLiteral("The %1 bytes that arrived are kept in %2; the earlier %3 was left as "
                          "it was.")
        .arg(arrived)
        .arg(QDir::toNativeSeparators(partPath), name);
}

QString FileDownload::withNote(const QString &message, const QString &note)
{
    return note.isEmpty() ? message : message + QLatin1Char('\n') + note;
}

QString FileDownload::badSizeMessage(const QString &name, const QString &sizeText)
{
    return QStringLiteral("The file %1 was not fetched: the size the directory list gives for it "
                          "(\"%2\") is not a count of bytes, so the end of the file cannot be "
                          "told. If this line of the list is not a file, leave it out of the "
                          "selection. The files after it were not fetched either: select them "
                          "again to fetch them.")
        .arg(name, sizeText);
}

QString FileDownload::cannotCreateMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("The file %1 could not be created (%2). The transfer was stopped.")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString FileDownload::notPlacedMessage(const QString &path, const QString &stagingPath,
                                       const QString &reason)
{
    return QStringLiteral("The file %1 could not be replaced (%2). What arrived is kept in %3.")
        .arg(QDir::toNativeSeparators(path), reason, QDir::toNativeSeparators(stagingPath));
}
