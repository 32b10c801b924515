#include "features/files/FileUpload.h"

#include "features/files/InstrumentFileName.h"
#include "session/InstrumentSession.h"
#include "session/LineClaim.h"
#include "support/PathUtilities.h"
#include "support/SettingsKeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

namespace
{
const QByteArray kCtrlZ(1, '\x1a');
const QByteArray kCapturePrompt("Capture>");
const QByteArray kCommandPrompt("Orvantis>");

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

// The instrument's own words to "capture": the line after its echo.
QByteArray capturingAnswer(const QByteArray &answer)
{
    const qsizetype lineStart = answer.indexOf('\n');
    const QByteArray said = lineStart < 0 ? QByteArray() : answer.mid(lineStart + 1);
    return said.left(said.indexOf('\r')).trimmed();
}
} // namespace

FileUpload::FileUpload(InstrumentSession &session, FileDirectory &directory,
                       OperatorDialogs &dialogs, QObject *parent)
    : FileTransferOperation(session, directory, dialogs, parent)
{
}

bool FileUpload::SendFile()
{
    const QString path = m_dialogs.openFileName(dialogTitle(), LastUploadFolder());
    if (path.isEmpty())
        return false;
    setLastUploadFolder(FolderOf(path));
    const QString name = InstrumentName(path);
    // Refused before anything reaches the instrument, the listing's refresh included.
    const FileOutcome named = checkName(path, name);
    if (!named.done()) {
        finish(named);
        return true;
    }

    LineClaim claim = m_session.claimLine(LineOperation::Upload);
    if (!claim)
        return true;
    emit batchStarted(1);
    m_session.setTransferCancelled(false);

    const FileOutcome outcome = upload(claim, path, name);

    emit batchFinished({outcome});
    m_session.setTransferCancelled(false);
    // Not while a capture mode may still be coming: the listing's command would be stored.
    if (outcome.result != FileOutcome::Result::Refused)
        m_directory.refresh(claim);
    return true;
}

FileOutcome FileUpload::UploadFile(const QString &path, const QString &name)
{
    const QString stored = name.isEmpty() ? InstrumentName(path) : name;
    LineClaim claim = m_session.claimLine(LineOperation::Upload);
    if (!claim) {
        FileOutcome refused;
        refused.name = stored;
        return refused;
    }
    return upload(claim, path, stored);
}

FileOutcome FileUpload::upload(Line &line, const QString &path, const QString &name)
{
    FileOutcome outcome = checkName(path, name);
    if (!FileExists(path)) {
        outcome.result = FileOutcome::Result::Failed;
        outcome.message.clear();
        return finish(outcome);
    }
    if (!outcome.done())
        return finish(outcome);
    outcome.result = FileOutcome::Result::Failed;

    QFile file(path);
    const qint64 total = file.size();
    if (!file.open(QIODevice::ReadOnly)) {
        // Nothing sent: an empty file on the instrument would only hide the problem.
        outcome.message = cannotOpenMessage(path, file.errorString());
        return finish(outcome);
    }

    const QString displayName = FileNameOf(path);
    // From the moment "capture" goes out, ending the program ends the capture too.
    const StopOnExit stop = line.stopOnExit(kCtrlZ + kCtrlZ);
    const QByteArray answer = line.SendCommand("capture " + name.toLatin1() + '\r', QByteArray(),
                                               QByteArray(), kCaptureWaitSeconds);
    // Without its capture mode the instrument would run every line as a command; and should
    // the mode still come, it is left at once.
    if (!answer.contains(kCapturePrompt)) {
        m_session.guardLateCapturePrompt();
        outcome.result = FileOutcome::Result::Refused;
        outcome.words = QString::fromLatin1(capturingAnswer(answer));
        outcome.message = notCapturingMessage(displayName, name, answer);
        return finish(outcome);
    }
    line.Pause(kSettleSeconds);

    qint64 sent = 0;
    int lineNumber = 0;
    bool promptMissing = false;
    bool allRead = false;
    QByteArray text;
    // A closed port (the line went, or the program is ending) takes no more lines.
    while (!m_session.TransferCancelled() && line.portOpen()) {
        if (!readLine(file, text)) {
            allRead = true;
            break;
        }
        ++lineNumber;
        sent += text.size();
        showProgress(displayName, sent, total);
        line.Pause(kLinePauseSeconds);
        promptMissing = !sendLine(line, text) && !m_session.TransferCancelled();
        if (promptMissing || !line.portOpen())
            break;
        line.pass();
    }
    endProgress();

    // Also after Stop: the instrument must always leave its capture mode, unless its command
    // prompt after the last line's echo shows that it already has.
    const QByteArray &last = m_session.ReceiveBuffer();
    const qsizetype echoEnd = last.indexOf('\r');
    if (echoEnd < 0 || last.indexOf(kCommandPrompt, echoEnd) < 0) {
        for (int i = 0; i < 2; ++i)
            line.SendCommand(kCtrlZ, "\r", kCommandPrompt, kEndTimeoutSeconds);
    }
    outcome.bytes = sent;
    outcome.result = allRead ? FileOutcome::Result::Done : FileOutcome::Result::CutShort;
    if (promptMissing && line.portOpen())
        outcome.message = promptMissingMessage(displayName, lineNumber, name);

    file.close();
    m_session.setTransferCancelled(false);
    return finish(outcome);
}

// One line into the capture; true once the instrument's "Capture>" for it has come back.
bool FileUpload::sendLine(Line &line, const QByteArray &text)
{
    line.SendCommand(text + '\r', "\r", kCapturePrompt, kLineTimeoutSeconds);
    // A long line at a low rate takes more than the 0.1 s to come back: the wait goes on
    // while its echo is still arriving.
    while (!line.lastReplyFramed() && line.portOpen() && !m_session.TransferCancelled()) {
        const QByteArray before = m_session.ReceiveBuffer();
        line.SendCommand(QByteArray(), "\r", kCapturePrompt, kEchoSilenceSeconds);
        if (!line.lastReplyFramed() && m_session.ReceiveBuffer() == before)
            return false;
    }
    return line.lastReplyFramed();
}

FileOutcome FileUpload::checkName(const QString &path, const QString &name)
{
    FileOutcome outcome;
    outcome.name = name;
    const QString problem = InstrumentFileName::problem(name);
    if (problem.isEmpty())
        outcome.result = FileOutcome::Result::Done;
    else
        outcome.message = refusedNameMessage(FileNameOf(path), name, problem);
    return outcome;
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
    return tr("Select file to send to Orvantis");
}

QString FileUpload::cannotOpenMessage(const QString &path, const QString &reason)
{
    return tr("The file %1 could not be opened (%2). Nothing was sent.")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString FileUpload::refusedNameMessage(const QString &displayName, const QString &name,
                                       const QString &problem)
{
    return tr("The file %1 was not sent: on the Orvantis it would be named \"%2\", "
              "and its disk cannot hold that name (%3). Names there have 1 to 12 "
              "plain letters, digits and signs, without blanks and without any of "
              "\" * , / : < > ? \\ |. Rename the file (its first 12 characters, "
              "blanks left out, make the name) and send it again.")
        .arg(displayName, name, problem);
}

QString FileUpload::notCapturingMessage(const QString &displayName, const QString &name,
                                        const QByteArray &answer)
{
    const QByteArray said = capturingAnswer(answer);
    if (said.isEmpty())
        return tr("The file %1 was not sent: the Orvantis did not start storing a file named "
                  "\"%2\" (it gave no answer). Nothing of the file was sent.")
            .arg(displayName, name);
    return tr("The file %1 was not sent: the Orvantis did not start storing a file named \"%2\" "
              "(it answered \"%3\"). Nothing of the file was sent.")
        .arg(displayName, name, QString::fromLatin1(said));
}

QString FileUpload::promptMissingMessage(const QString &displayName, int lineNumber,
                                         const QString &name)
{
    return tr("The file %1 was not sent completely: the Orvantis did not show its "
              "Capture> prompt after line %2, so no further line was sent. The file "
              "\"%3\" on the Orvantis is incomplete; send the file again.")
        .arg(displayName)
        .arg(lineNumber)
        .arg(name);
}
