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

namespace
{
FileOutcome failed(const QString &name, const QString &message)
{
    FileOutcome outcome;
    outcome.name = name;
    outcome.message = message;
    return outcome;
}
} // namespace

QList<FileOutcome> FileDownload::GetFiles(const QList<DirListing::Row> &files)
{
    LineClaim claim = m_session.claimLine(LineOperation::Download);
    if (!claim)
        return {};
    QList<FileOutcome> outcomes;
    if (files.isEmpty()) {
        m_dialogs.ShowErrorMessage(noSelectionMessage());
    } else if (FolderExists(m_session.DefaultDataFolder()) ||
               (ChooseDownloadFolder() && FolderExists(m_session.DefaultDataFolder()))) {
        emit batchStarted(int(files.size()));
        m_session.setTransferCancelled(false);
        outcomes = fetchAll(claim, files, m_session.DefaultDataFolder());
        m_session.setTransferCancelled(false);
        emit batchFinished(outcomes);
    }
    return outcomes;
}

QList<FileOutcome> FileDownload::getFiles(const QList<DirListing::Row> &files,
                                          const QString &folder)
{
    LineClaim claim = m_session.claimLine(LineOperation::Download);
    return claim ? fetchAll(claim, files, folder) : QList<FileOutcome>();
}

QList<FileOutcome> FileDownload::fetchAll(Line &line, const QList<DirListing::Row> &files,
                                          const QString &folder)
{
    QList<FileOutcome> outcomes;
    const int count = int(files.size());
    for (int index = 0; index < count && !m_session.TransferCancelled(); ++index) {
        const QString name = files.at(index).name.trimmed();
        setPlace(index, count);
        emit fileStarted(name, index, count);
        const QString sizeText = files.at(index).sizeKey.trimmed();
        bool isNumber = false;
        const int size = sizeText.toInt(&isNumber);
        outcomes << (isNumber && size >= 0 ? download(line, AddBackslash(folder) + name, size)
                                           : finish(failed(name, badSizeMessage(name, sizeText))));
        if (!outcomes.last().done())
            break;
    }
    setPlace(0, 1);
    return outcomes;
}

FileOutcome FileDownload::DownloadFile(const QString &path, int size)
{
    LineClaim claim = m_session.claimLine(LineOperation::Download);
    if (!claim)
        return failed(FileNameOf(path).trimmed(), QString());
    return download(claim, path, size);
}

FileOutcome FileDownload::download(Line &line, const QString &path, int size)
{
    const QString name = FileNameOf(path).trimmed();
    FileOutcome outcome;
    if (size < 0) {
        outcome = failed(name, badSizeMessage(name, QString::number(size)));
    } else {
        // The receive loop runs only inside event passes, and none run between here and
        // the opening of the new file, so the data file changes without stopping Timer1.
        if (m_session.dataFile().isOpen())
            m_session.dataFile().close();
        const StopOnExit stop = line.stopOnExit(kThreeEtx);
        outcome = fetch(line, path, name, size);
        if (m_session.dataFile().isOpen())
            m_session.dataFile().close();
    }
    finish(outcome);
    endProgress();
    return outcome;
}

FileOutcome FileDownload::fetch(Line &line, const QString &path, const QString &name, int size)
{
    StagedDownload staged(path);
    if (!staged.reserve())
        return failed(name, cannotCreateMessage(path, staged.errorString()));
    const QByteArray latinName = name.toLatin1();
    const QByteArray reply = line.SendCommand("type " + latinName + " 0 0 300\r", latinName + " 0",
                                              "\r", kReplyTimeoutSeconds);
    if (reply.isEmpty())
        return failed(name, noReplyMessage(name));
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
            return failed(name, cannotCreateMessage(path, m_session.dataFile().errorString()));
        }
        // The file's first bytes may have come with the echo, in the same receive run.
        m_session.captureEarly(m_echoRest);
    }

    const Ending ending = awaitFile(line, name, size);
    if (m_session.dataFile().isOpen())
        m_session.dataFile().close();
    if (ending == Ending::Refused) {
        FileOutcome outcome = failed(name, QString());
        outcome.result = FileOutcome::Result::Refused;
        outcome.words = TypeAnswer::words(afterEcho());
        outcome.message = refusedMessage(name, outcome.words);
        return outcome;
    }
    // The capture's count goes on past the file (its prompt); the file holds at most `size`.
    const qint64 arrived = qMin<qint64>(m_session.byteCount(), size);
    return place(staged, ending, name, arrived);
}

// Where the bytes go. A complete file replaces the local one; an incomplete one never does:
// beside a local file it stays as NAME.part, and where there was none it takes the name. A
// write error leaves it where the receive loop's message said (the staging file).
FileOutcome FileDownload::place(StagedDownload &staged, Ending ending, const QString &name,
                                qint64 arrived)
{
    const QString stagingPath = staged.stagingPath();
    const QString path = staged.targetPath();
    FileOutcome outcome = failed(name, QString());
    outcome.bytes = arrived;
    QString where;
    if (ending == Ending::Complete ||
        (arrived > 0 && !staged.targetExisted() && ending != Ending::WriteFailed)) {
        if (!staged.putInPlace()) {
            outcome.partPath = stagingPath;
            outcome.message = notPlacedMessage(path, stagingPath, staged.errorString());
            return outcome;
        }
        if (ending != Ending::Complete)
            outcome.partPath = path;
    } else if (arrived > 0) {
        staged.keep();
        outcome.partPath = stagingPath;
        outcome.earlierKept = staged.targetExisted();
        where = keptMessage(arrived, stagingPath, name);
    }
    // Nothing of the file came: the local file stays as it was and nothing is left behind.
    outcome.result = FileOutcome::Result::CutShort;
    switch (ending) {
    case Ending::Complete:
        outcome.result = FileOutcome::Result::Done;
        break;
    case Ending::TimedOut:
        outcome.message = withNote(timedOutMessage(name), where);
        break;
    case Ending::Cancelled:
        outcome.message = withNote(cancelledMessage(), where);
        break;
    case Ending::Lost: {
        // Said when nothing else says it: a line that is lost is brought back quietly (the
        // operator's Disconnect, or a loss without reconnection, leave status 0 and say
        // enough), or the bytes are not where the operator would look.
        const bool quietLoss =
            m_session.reconnectsAutomatically() && m_session.Status() != StatusCode::NotConnected;
        if (quietLoss || !where.isEmpty())
            outcome.message = withNote(lostMessage(name), where);
        break;
    }
    case Ending::WriteFailed:
    case Ending::Refused:
        // The receive loop has said what the disk refused.
        break;
    }
    return outcome;
}

QByteArray FileDownload::afterEcho() const
{
    return m_echoRest + m_session.ReceiveBuffer().mid(m_replyLength, TypeAnswer::kLookedAt);
}

// Polls the capture that the receive loop fills until it is complete, silent or stopped,
// or the instrument's answer has shown a refusal.
FileDownload::Ending FileDownload::awaitFile(Line &line, const QString &name, int size)
{
    for (;;) {
        line.pass();
        const bool quiet = m_session.TimeSinceLastByte() > kRefusalQuietSeconds;
        const TypeAnswer::Kind answer = TypeAnswer::classify(afterEcho(), size, quiet);
        if (answer == TypeAnswer::Kind::Refusal) {
            m_session.EndFileCapture();
            return Ending::Refused;
        }
        const bool allIn =
            size == 0 || (!m_session.dataFile().isOpen() && m_session.byteCount() >= size);
        if (allIn && answer == TypeAnswer::Kind::File)
            return Ending::Complete;
        if (!allIn && !m_session.dataFile().isOpen()) {
            // Closed short of the size: a write error, already reported by the receive loop.
            m_session.EndFileCapture();
            return Ending::WriteFailed;
        }
        // A line that went away (pulled or disconnected) brings no more bytes.
        if (!line.portOpen()) {
            m_session.EndFileCapture();
            return Ending::Lost;
        }
        showProgress(name, size > 0 ? m_session.byteCount() : 0, size);
        // Every byte is in and nothing tells it from a file: it is one.
        if (allIn && m_session.TimeSinceLastByte() > kReplyTimeoutSeconds)
            return Ending::Complete;
        if (m_session.TimeSinceLastByte() > kSilenceSeconds) {
            SendAbort(line);
            m_session.EndFileCapture();
            return Ending::TimedOut;
        }
        if (m_session.TransferCancelled()) {
            SendAbort(line);
            m_session.EndFileCapture();
            m_session.setTransferCancelled(false);
            return Ending::Cancelled;
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
    return tr("To get files, first select them from the directory list.");
}

QString FileDownload::noReplyMessage(const QString &name)
{
    return tr("There was an error getting the file %1.").arg(name);
}

QString FileDownload::timedOutMessage(const QString &name)
{
    return tr("Transfer of \"%1\" timed out.").arg(name);
}

QString FileDownload::cancelledMessage()
{
    return tr("Transfer cancelled.");
}

QString FileDownload::refusedMessage(const QString &name, const QString &words)
{
    return tr("There was an error getting the file %1. The Orvantis answered: \"%2\"")
        .arg(name, words);
}

QString FileDownload::lostMessage(const QString &name)
{
    return tr("Transfer of \"%1\" stopped: the connection to the Orvantis ended.").arg(name);
}

QString FileDownload::keptMessage(qint64 arrived, const QString &partPath, const QString &name)
{
    return tr("The %1 bytes that arrived are kept in %2; the earlier %3 was left as "
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
    return tr("The file %1 was not fetched: the size the directory list gives for it "
              "(\"%2\") is not a count of bytes, so the end of the file cannot be "
              "told. If this line of the list is not a file, leave it out of the "
              "selection. The files after it were not fetched either: select them "
              "again to fetch them.")
        .arg(name, sizeText);
}

QString FileDownload::cannotCreateMessage(const QString &path, const QString &reason)
{
    return tr("The file %1 could not be created (%2). The transfer was stopped.")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString FileDownload::notPlacedMessage(const QString &path, const QString &stagingPath,
                                       const QString &reason)
{
    return tr("The file %1 could not be replaced (%2). What arrived is kept in %3.")
        .arg(QDir::toNativeSeparators(path), reason, QDir::toNativeSeparators(stagingPath));
}
