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
#include "session/InstrumentSession.h"
#include "session/LineClaim.h"
#include "support/PathUtilities.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>

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
            output.error(QStringLiteral("\"%1\" cannot be a file on the Orvantis: %2. Nothing "
                                        "was sent.")
                             .arg(name, problem));
            return ExitStatus::Failed;
        }
    }
    return ExitStatus::Done;
}

// The listing on `line`; false (said) when none came.
bool readDirectory(FileDirectory &directory, Line &line, CliOutput &output)
{
    bool complete = false;
    const QMetaObject::Connection finished =
        QObject::connect(&directory, &FileDirectory::refreshFinished,
                         [&complete](bool freeLineSeen) { complete = freeLineSeen; });
    directory.refresh(line);
    QObject::disconnect(finished);
    if (!complete && directory.fileCount() == 0)
        output.error(QStringLiteral("the Orvantis did not list its files (no answer to "
                                    "\"Dir /V\")"));
    return complete || directory.fileCount() > 0;
}

// The row of `name` in the listing, its case as the instrument wrote it aside; -1 when the
// instrument does not list it.
int rowOf(const FileDirectory &directory, const QString &name)
{
    for (int row = 0; row < directory.fileCount(); ++row) {
        if (directory.nameAt(row).compare(name, Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}

// Every name must be listed; otherwise none is touched.
bool allListed(const FileDirectory &directory, const QStringList &names, CliOutput &output)
{
    QStringList missing;
    for (const QString &name : names) {
        if (rowOf(directory, name) < 0)
            missing << name;
    }
    if (!missing.isEmpty())
        output.error(QStringLiteral("not on the Orvantis: %1 (\"orvantis ls\" lists its files)")
                         .arg(missing.join(QStringLiteral(", "))));
    return missing.isEmpty();
}

// A directory date key (days since 30 December 1899) as a date and time; invalid when the
// key is no number.
QDateTime dateOfKey(const QString &key)
{
    bool ok = false;
    const double days = key.trimmed().toDouble(&ok);
    if (!ok)
        return QDateTime();
    const qint64 whole = qint64(std::floor(days));
    const int seconds = qRound((days - double(whole)) * 86400.0);
    return QDateTime(QDate(1899, 12, 30).addDays(whole), QTime(0, 0)).addSecs(seconds);
}

QString downloadFolder(const CommandLine &line)
{
    return line.isSet(kDir) ? line.value(kDir) : QDir::currentPath();
}

// Downloads one listed file; false when it did not arrive complete (said).
bool download(CliContext &context, FileDirectory &directory, int row, QJsonArray *files)
{
    const QString name = directory.nameAt(row);
    const QString sizeText = directory.sizeKeyAt(row).trimmed();
    bool isNumber = false;
    const int size = sizeText.toInt(&isNumber);
    if (!isNumber || size < 0) {
        context.output.error(FileDownload::badSizeMessage(name, sizeText));
        return false;
    }
    // The download keeps a good local file whatever happens, and says where the bytes are.
    const QString target = QDir(downloadFolder(context.line)).filePath(name);
    FileDownload fetch(context.session, directory, context.dialogs);
    bool complete = false;
    {
        const TransferProgress progress(fetch, context.output);
        complete = fetch.DownloadFile(target, size);
    }
    if (complete) {
        files->append(QJsonObject{{QStringLiteral("name"), name},
                                  {QStringLiteral("path"), target},
                                  {QStringLiteral("bytes"), size}});
        context.output.note(QStringLiteral("%1: %2 bytes into %3").arg(name).arg(size).arg(target));
        return true;
    }
    return false;
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
        const QDateTime modified = dateOfKey(row.value(DirListing::DateKeyColumn));
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
        output.error(QStringLiteral("the folder %1 does not exist").arg(folder.filePath()));
        return ExitStatus::Usage;
    }
    if (!folder.isWritable()) {
        output.error(QStringLiteral("the folder %1 cannot be written").arg(folder.filePath()));
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
    if (!readDirectory(directory, context.session.line(), context.output) ||
        !allListed(directory, names, context.output))
        return ExitStatus::Failed;
    QJsonArray files;
    ExitStatus status = ExitStatus::Done;
    for (const QString &name : names) {
        if (context.interrupted() ||
            !download(context, directory, rowOf(directory, name), &files)) {
            status = ExitStatus::Failed;
            break;
        }
    }
    context.output.result({{QStringLiteral("files"), files}}, {});
    return status;
}

ExitStatus checkPut(const CommandLine &line, CliOutput &output)
{
    const QStringList paths = line.arguments();
    if (line.isSet(kAs) && paths.size() > 1) {
        output.error(QStringLiteral("--as names one file; give one FILE with it"));
        return ExitStatus::Usage;
    }
    QStringList names;
    for (const QString &path : paths) {
        if (!QFileInfo(path).isFile()) {
            output.error(QStringLiteral("%1 does not exist").arg(path));
            return ExitStatus::Usage;
        }
        const QString name = line.isSet(kAs) ? line.value(kAs) : FileUpload::InstrumentName(path);
        const QString problem = InstrumentFileName::problem(name);
        if (!problem.isEmpty()) {
            output.error(FileUpload::refusedNameMessage(FileNameOf(path), name, problem));
            return ExitStatus::Failed;
        }
    }
    return ExitStatus::Done;
}

ExitStatus put(CliContext &context)
{
    context.onInterrupt = [&context] { context.session.setTransferCancelled(true); };
    FileDirectory directory(context.session);
    QTemporaryDir renamed;
    QJsonArray files;
    for (const QString &path : context.line.arguments()) {
        // The upload names the file on the instrument after its own name.
        QString source = path;
        if (context.line.isSet(kAs)) {
            source = renamed.filePath(context.line.value(kAs));
            if (!QFile::copy(path, source)) {
                context.output.error(
                    FileUpload::cannotOpenMessage(path, QStringLiteral("it cannot be read")));
                return ExitStatus::Failed;
            }
        }
        const QString name = FileUpload::InstrumentName(source);
        FileUpload upload(context.session, directory, context.dialogs);
        const int errorsBefore = context.dialogs.errorCount();
        {
            const TransferProgress progress(upload, context.output);
            upload.UploadFile(source);
        }
        if (context.interrupted()) {
            context.output.error(QStringLiteral("the upload of %1 was stopped: %2 on the Orvantis "
                                                "is incomplete")
                                     .arg(path, name));
            return ExitStatus::Failed;
        }
        if (context.dialogs.errorCount() != errorsBefore || !context.session.isOpen())
            return ExitStatus::Failed;
        const qint64 bytes = QFileInfo(path).size();
        files.append(QJsonObject{{QStringLiteral("file"), path},
                                 {QStringLiteral("name"), name},
                                 {QStringLiteral("bytes"), bytes}});
        context.output.note(
            QStringLiteral("%1: %2 bytes sent as %3").arg(path).arg(bytes).arg(name));
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
    context.onInterrupt = [] {};
    LineClaim claim = context.session.claimLine(LineOperation::Delete);
    FileDirectory directory(context.session);
    const QStringList names = context.line.arguments();
    if (!claim || !readDirectory(directory, claim, context.output) ||
        !allListed(directory, names, context.output))
        return ExitStatus::Failed;
    QStringList listed;
    for (const QString &name : names)
        listed << directory.nameAt(rowOf(directory, name));
    QJsonArray deleted;
    for (const QString &name : listed) {
        if (context.interrupted())
            return ExitStatus::Failed;
        if (!FileDelete::DeleteInstrumentFile(claim, name)) {
            context.output.error(
                QStringLiteral("the Orvantis did not answer \"Del %1\"").arg(name));
            return ExitStatus::Failed;
        }
        claim.Pause(FileDelete::kPauseAfterFileSeconds);
    }
    // Its answer's words are its own; the listing tells whether the files went.
    if (!readDirectory(directory, claim, context.output))
        return ExitStatus::Failed;
    QStringList kept;
    for (const QString &name : listed) {
        if (rowOf(directory, name) >= 0)
            kept << name;
        else
            deleted.append(name);
    }
    context.output.result({{QStringLiteral("deleted"), deleted}}, {});
    if (kept.isEmpty())
        return ExitStatus::Done;
    context.output.error(
        QStringLiteral("the Orvantis kept %1").arg(kept.join(QStringLiteral(", "))));
    return ExitStatus::Failed;
}

} // namespace FileCommands
