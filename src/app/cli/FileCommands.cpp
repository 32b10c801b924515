#include "app/cli/FileCommands.h"

#include "app/cli/CliContext.h"
#include "app/cli/CliOutput.h"
#include "app/cli/CommandLine.h"
#include "app/cli/CommandLineDialogs.h"
#include "app/cli/TransferProgress.h"
#include "features/files/FileDelete.h"
#include "features/files/FileDirectory.h"
#include "features/files/FileDownload.h"
#include "features/files/FileUpload.h"
#include "features/files/InstrumentFileName.h"
#include "features/files/ParseDirDate.h"
#include "session/InstrumentSession.h"
#include "session/LineClaim.h"
#include "support/PathUtilities.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

#include <algorithm>

namespace
{
const QString kDir = QStringLiteral("dir");
const QString kAs = QStringLiteral("as");

// Names the instrument cannot hold are refused before anything is sent.
ExitStatus checkNames(const QStringList &names, CliOutput &output)
{
    for (const QString &name : names) {
        const QString problem = InstrumentFileName::problem(name);
        if (!problem.isEmpty()) {
            output.error(QCoreApplication::translate(
                             "FileCommands", "\"%1\" cannot be a file on the Orvantis: %2. Nothing "
                                             "was sent.")
                             .arg(name, problem));
            return ExitStatus::Failed;
        }
    }
    return ExitStatus::Done;
}

// The listing on `line`; false (said, with what was left undone) unless it came whole, up to
// its "bytes free" line: a cut list could lack the very files named.
bool readDirectory(FileDirectory &directory, Line &line, CliOutput &output,
                   const QString &leftUndone = QString())
{
    bool complete = false;
    const QMetaObject::Connection finished =
        QObject::connect(&directory, &FileDirectory::refreshFinished,
                         [&complete](bool freeLineSeen) { complete = freeLineSeen; });
    directory.refresh(line);
    QObject::disconnect(finished);
    if (complete)
        return true;
    const QString said =
        directory.fileCount() == 0
            ? QCoreApplication::translate(
                  "FileCommands", "the Orvantis did not list its files (no answer to \"Dir /V\")")
            : QCoreApplication::translate(
                  "FileCommands",
                  "the Orvantis's list of its files (\"Dir /V\") stopped before its "
                  "\"bytes free\" line, so it may not be complete");
    output.error(leftUndone.isEmpty() ? said : said + QStringLiteral("; ") + leftUndone);
    return false;
}

// Every name must be listed; otherwise none is touched.
bool allListed(const FileDirectory &directory, const QStringList &names, CliOutput &output)
{
    QStringList missing;
    for (const QString &name : names) {
        if (directory.rowOf(name) < 0)
            missing << name;
    }
    if (!missing.isEmpty())
        output.error(
            QCoreApplication::translate("FileCommands",
                                        "not on the Orvantis: %1 (\"orvantis ls\" lists its files)")
                .arg(missing.join(QStringLiteral(", "))));
    return missing.isEmpty();
}

QString downloadFolder(const CommandLine &line)
{
    return line.isSet(kDir) ? line.value(kDir) : QDir::currentPath();
}

// The name a file takes on the instrument: --as, or its own.
QString instrumentName(const CommandLine &line, const QString &path)
{
    return line.isSet(kAs) ? line.value(kAs) : FileNameOf(path);
}

bool allDone(const QList<FileOutcome> &outcomes, qsizetype count)
{
    return outcomes.size() == count &&
           std::all_of(outcomes.begin(), outcomes.end(),
                       [](const FileOutcome &outcome) { return outcome.done(); });
}

// What the operator is told about a file that did not go as asked.
void sayOutcome(CliOutput &output, const FileOutcome &outcome)
{
    if (!outcome.done() && !outcome.message.isEmpty())
        output.error(outcome.message);
}
} // namespace

namespace FileCommands
{

ExitStatus list(CliContext &context)
{
    FileDirectory directory(context.session);
    if (!readDirectory(directory, context.session.line(), context.output))
        return ExitStatus::Failed;
    QJsonArray files;
    QStringList lines;
    for (const QStringList &row : directory.rows()) {
        const QString name = row.value(DirListing::NameColumn);
        const QString date = row.value(DirListing::DateColumn);
        const QString size = row.value(DirListing::SizeColumn);
        bool isNumber = false;
        const qint64 bytes = row.value(DirListing::SizeKeyColumn).trimmed().toLongLong(&isNumber);
        bool isKey = false;
        const double key = row.value(DirListing::DateKeyColumn).trimmed().toDouble(&isKey);
        const QDateTime modified = isKey ? DirDateTime(key) : QDateTime();
        files.append(QJsonObject{
            {QStringLiteral("name"), name},
            {QStringLiteral("size"), isNumber ? QJsonValue(bytes) : QJsonValue()},
            {QStringLiteral("date"), date},
            {QStringLiteral("modified"),
             modified.isValid() ? QJsonValue(modified.toString(Qt::ISODate)) : QJsonValue()}});
        lines << QStringLiteral("%1 %2  %3").arg(name, -12).arg(size, 13).arg(date);
    }
    context.output.result({{QStringLiteral("files"), files}}, lines);
    return ExitStatus::Done;
}

ExitStatus checkGet(const CommandLine &line, CliOutput &output)
{
    const QFileInfo folder(downloadFolder(line));
    if (!folder.isDir()) {
        output.error(QCoreApplication::translate("FileCommands", "the folder %1 does not exist")
                         .arg(folder.filePath()));
        return ExitStatus::Usage;
    }
    if (!folder.isWritable()) {
        output.error(QCoreApplication::translate("FileCommands", "the folder %1 cannot be written")
                         .arg(folder.filePath()));
        return ExitStatus::Usage;
    }
    return checkNames(line.arguments(), output);
}

ExitStatus get(CliContext &context)
{
    // Asked to stop, the transfer stops the instrument itself, and its bytes are kept.
    context.onInterrupt = [&context] { context.session.setTransferCancelled(true); };
    FileDirectory directory(context.session);
    const QStringList names = context.line.arguments();
    if (!readDirectory(directory, context.session.line(), context.output,
                       QCoreApplication::translate("FileCommands", "nothing was fetched")) ||
        !allListed(directory, names, context.output))
        return ExitStatus::Failed;
    QList<DirListing::Row> listed;
    for (const QString &name : names)
        listed << directory.entryAt(directory.rowOf(name));

    // The download keeps a good local file whatever happens, and says where the bytes are.
    const QString folder = AddBackslash(downloadFolder(context.line));
    FileDownload download(context.session, directory, context.dialogs);
    QJsonArray files;
    QObject::connect(
        &download, &FileTransferOperation::fileFinished, [&](const FileOutcome &outcome) {
            sayOutcome(context.output, outcome);
            if (!outcome.done())
                return;
            const QString path = folder + outcome.name;
            files.append(QJsonObject{{QStringLiteral("name"), outcome.name},
                                     {QStringLiteral("path"), path},
                                     {QStringLiteral("bytes"), outcome.bytes}});
            context.output.note(QCoreApplication::translate("FileCommands", "%1: %2 bytes into %3")
                                    .arg(outcome.name)
                                    .arg(outcome.bytes)
                                    .arg(path));
        });
    const TransferProgress progress(download, context.output);
    const QList<FileOutcome> outcomes =
        context.interrupted() ? QList<FileOutcome>() : download.getFiles(listed, folder);
    context.output.result({{QStringLiteral("files"), files}}, {});
    return allDone(outcomes, listed.size()) ? ExitStatus::Done : ExitStatus::Failed;
}

ExitStatus checkPut(const CommandLine &line, CliOutput &output)
{
    const QStringList paths = line.arguments();
    if (line.isSet(kAs) && paths.size() > 1) {
        output.error(QCoreApplication::translate("FileCommands",
                                                 "--as names one file; give one FILE with it"));
        return ExitStatus::Usage;
    }
    for (const QString &path : paths) {
        if (!QFileInfo(path).isFile()) {
            output.error(
                QCoreApplication::translate("FileCommands", "%1 does not exist").arg(path));
            return ExitStatus::Usage;
        }
        const QString name = instrumentName(line, path);
        const QString problem = InstrumentFileName::problem(name);
        if (problem.isEmpty())
            continue;
        if (line.isSet(kAs)) {
            output.error(QCoreApplication::translate(
                             "FileCommands", "--as %1 cannot be a file name on the Orvantis: %2. "
                                             "Nothing was sent.")
                             .arg(name, problem));
            return ExitStatus::Usage;
        }
        // The console would store it under a name of its own making; here the user chooses.
        const QString shortened = FileUpload::InstrumentName(path);
        if (InstrumentFileName::problem(shortened).isEmpty())
            output.error(QCoreApplication::translate(
                             "FileCommands",
                             "\"%1\" cannot be a file name on the Orvantis: %2. The console "
                             "would store it as \"%3\"; choose the name with --as NAME. Nothing "
                             "was sent.")
                             .arg(name, problem, shortened));
        else
            output.error(QCoreApplication::translate(
                             "FileCommands", "\"%1\" cannot be a file name on the Orvantis: %2. "
                                             "Choose the name with --as NAME. Nothing was sent.")
                             .arg(name, problem));
        return ExitStatus::Usage;
    }
    return ExitStatus::Done;
}

ExitStatus put(CliContext &context)
{
    context.onInterrupt = [&context] { context.session.setTransferCancelled(true); };
    FileDirectory directory(context.session);
    FileUpload upload(context.session, directory, context.dialogs);
    QObject::connect(
        &upload, &FileTransferOperation::fileFinished,
        [&context](const FileOutcome &outcome) { sayOutcome(context.output, outcome); });
    const TransferProgress progress(upload, context.output);
    QJsonArray files;
    for (const QString &path : context.line.arguments()) {
        const FileOutcome outcome = upload.UploadFile(path, instrumentName(context.line, path));
        if (context.interrupted()) {
            context.output.error(
                QCoreApplication::translate("FileCommands",
                                            "the upload of %1 was stopped: %2 on the Orvantis "
                                            "is incomplete")
                    .arg(path, outcome.name));
            return ExitStatus::Failed;
        }
        if (!outcome.done())
            return ExitStatus::Failed;
        const qint64 bytes = QFileInfo(path).size();
        files.append(QJsonObject{{QStringLiteral("file"), path},
                                 {QStringLiteral("name"), outcome.name},
                                 {QStringLiteral("bytes"), bytes}});
        context.output.note(QCoreApplication::translate("FileCommands", "%1: %2 bytes sent as %3")
                                .arg(path)
                                .arg(bytes)
                                .arg(outcome.name));
    }
    context.output.result({{QStringLiteral("files"), files}}, {});
    return ExitStatus::Done;
}

ExitStatus checkRemove(const CommandLine &line, CliOutput &output)
{
    return checkNames(line.arguments(), output);
}

ExitStatus remove(CliContext &context)
{
    // A deletion under way ends; the next one does not start.
    context.onInterrupt = [&context] { context.session.setTransferCancelled(true); };
    LineClaim claim = context.session.claimLine(LineOperation::Delete);
    FileDirectory directory(context.session);
    const QStringList names = context.line.arguments();
    if (!claim ||
        !readDirectory(directory, claim, context.output,
                       QCoreApplication::translate("FileCommands", "nothing was deleted")) ||
        !allListed(directory, names, context.output))
        return ExitStatus::Failed;
    QStringList listed;
    for (const QString &name : names)
        listed << directory.nameAt(directory.rowOf(name));
    FileDelete deletion(context.session, directory, context.dialogs);
    const QList<FileOutcome> outcomes = deletion.deleteFiles(claim, listed);
    if (context.interrupted())
        return ExitStatus::Failed;
    if (!allDone(outcomes, listed.size())) {
        context.output.error(
            QCoreApplication::translate("FileCommands", "the Orvantis did not answer \"Del %1\"")
                .arg(outcomes.isEmpty() ? listed.first() : outcomes.last().name));
        return ExitStatus::Failed;
    }
    // Its answer's words are its own; the listing tells whether the files went.
    if (!readDirectory(
            directory, claim, context.output,
            QCoreApplication::translate("FileCommands", "which files went cannot be told")))
        return ExitStatus::Failed;
    QJsonArray deleted;
    QStringList kept;
    for (const QString &name : listed) {
        if (directory.rowOf(name) >= 0)
            kept << name;
        else
            deleted.append(name);
    }
    context.output.result({{QStringLiteral("deleted"), deleted}}, {});
    if (kept.isEmpty())
        return ExitStatus::Done;
    context.output.error(QCoreApplication::translate("FileCommands", "the Orvantis kept %1")
                             .arg(kept.join(QStringLiteral(", "))));
    return ExitStatus::Failed;
}

} // namespace FileCommands
