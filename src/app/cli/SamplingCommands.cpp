#include "app/cli/SamplingCommands.h"

#include "app/cli/CliContext.h"
#include "app/cli/CliOutput.h"
#include "app/cli/CommandLine.h"
#include "app/cli/CommandLineDialogs.h"
#include "features/files/InstrumentFileName.h"
#include "features/sampling/DataFileController.h"
#include "features/sampling/SamplingController.h"
#include "features/sampling/SamplingSettings.h"
#include "session/InstrumentSession.h"

#include <QFileInfo>
#include <QTemporaryDir>

namespace
{
const QString kOutput = QStringLiteral("output");
const QString kAverage = QStringLiteral("average");
const QString kFlash = QStringLiteral("flash");
const QString kKeep = QStringLiteral("keep");
const QString kForce = QStringLiteral("force");
const QString kStandardOutput = QStringLiteral("-");

qint64 sizeOf(const QString &path)
{
    return QFileInfo::exists(path) ? QFileInfo(path).size() : 0;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

namespace SamplingCommands
{

ExitStatus readSettings(const CommandLine &line, CliOutput &output, SamplingSettings *settings)
{
    if (line.isSet(kAverage)) {
        bool ok = false;
        const int count = line.value(kAverage).toInt(&ok);
        if (!ok || count < 1) {
            output.error(QCoreApplication::translate(
                "SamplingCommands", "--average takes a whole number of spectra, such as 10"));
            return ExitStatus::Usage;
        }
        settings->average = true;
        settings->averageSamples = QString::number(count);
    }
    if (line.isSet(kFlash)) {
        const QString name = line.value(kFlash);
        if (name.size() > SamplingController::kFlashNameLength) {
            output.error(SamplingController::flashNameMessage());
            return ExitStatus::Usage;
        }
        const QString problem = InstrumentFileName::problem(name);
        if (!problem.isEmpty()) {
            output.error(QCoreApplication::translate(
                             "SamplingCommands", "--flash %1 cannot be a name on the Orvantis: %2")
                             .arg(name, problem));
            return ExitStatus::Usage;
        }
        settings->storeInFlash = true;
        settings->flashFileName = name;
    }
    settings->storeInComputer = true;
    return ExitStatus::Done;
}

ExitStatus checkOutputFile(const CommandLine &line, CliOutput &output, bool required)
{
    const QString path = line.value(kOutput);
    const auto refuse = [&output](const QString &text) {
        output.error(
            QCoreApplication::translate("SamplingCommands", "%1; nothing was sent").arg(text));
        return ExitStatus::Usage;
    };
    if (line.isSet(kKeep) && line.isSet(kForce))
        return refuse(QCoreApplication::translate(
            "SamplingCommands", "--keep appends to FILE and --force replaces it: not both"));
    if (path.isEmpty()) {
        if (!required)
            return ExitStatus::Done;
        return refuse(
            QCoreApplication::translate("SamplingCommands",
                                        "%1 needs -o FILE, the file that receives the data (-o - "
                                        "for standard output)")
                .arg(line.command()));
    }
    if (path == kStandardOutput) {
        // A sample's data is a value of its document; a stream of data is not.
        if (line.json() && line.command() != QLatin1String("sample"))
            return refuse(QCoreApplication::translate(
                "SamplingCommands", "-o - puts the data on standard output, where --json "
                                    "puts its records: use one of them"));
        return ExitStatus::Done;
    }
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        return refuse(
            QCoreApplication::translate("SamplingCommands", "the folder %1 does not exist")
                .arg(info.absolutePath()));
    if (info.isDir())
        return refuse(QCoreApplication::translate("SamplingCommands", "%1 is a folder, not a file")
                          .arg(path));
    // Last night's data is not replaced by mistake.
    if (info.isFile() && info.size() > 0 && !line.isSet(kKeep) && !line.isSet(kForce))
        return refuse(QCoreApplication::translate(
                          "SamplingCommands", "%1 exists and holds %2 bytes: --keep appends to it, "
                                              "--force replaces it")
                          .arg(path)
                          .arg(info.size()));
    return ExitStatus::Done;
}

bool openDataFile(InstrumentSession &session, CliOutput &output, const CommandLine &line)
{
    const QString path = line.value(kOutput);
    DataFile &file = session.dataFile();
    if (path == kStandardOutput) {
        output.setDataOnStandardOutput(true);
        return file.openStandardOutput();
    }
    const bool opened = line.isSet(kKeep) ? file.openForAppend(path) : file.open(path);
    if (!opened)
        output.error(DataFileController::openErrorMessage(path, file.errorString()));
    return opened;
}

void closeDataFile(InstrumentSession &session)
{
    session.dataFile().close();
}

ExitStatus checkSample(const CommandLine &line, CliOutput &output)
{
    SamplingSettings settings;
    const ExitStatus status = readSettings(line, output, &settings);
    return status == ExitStatus::Done ? checkOutputFile(line, output, false) : status;
}

ExitStatus sample(CliContext &context)
{
    SamplingSettings settings;
    readSettings(context.line, context.output, &settings);
    // Without -o (or with -o -) the sample is caught in a file of its own and then shown whole.
    QTemporaryDir scratch;
    QString named = context.line.value(kOutput);
    if (named == kStandardOutput)
        named.clear();
    const QString path = named.isEmpty() ? scratch.filePath(QStringLiteral("sample.raw")) : named;
    const bool append = context.line.isSet(kKeep) && !named.isEmpty();
    const qint64 before = append ? sizeOf(path) : 0;
    DataFile &file = context.session.dataFile();
    // The event log names where the data went, not the scratch file.
    const QString shownAs = named.isEmpty()
                                ? QCoreApplication::translate("SamplingCommands", "standard output")
                                : QString();
    if (!(append ? file.openForAppend(path) : file.open(path, shownAs))) {
        context.output.error(DataFileController::openErrorMessage(path, file.errorString()));
        return ExitStatus::Failed;
    }
    SamplingController sampling(context.session, context.dialogs);
    sampling.SampleOnce(settings);
    const bool complete = context.session.line().lastReplyFramed();
    closeDataFile(context.session);

    const qint64 bytes = sizeOf(path) - before;
    QJsonObject document{{QStringLiteral("bytes"), bytes}, {QStringLiteral("complete"), complete}};
    if (named.isEmpty()) {
        const QByteArray data = contents(path);
        if (context.output.json())
            document.insert(QStringLiteral("data"), QString::fromLatin1(data));
        else
            context.output.raw(data);
    } else {
        document.insert(QStringLiteral("file"), named);
        document.insert(QStringLiteral("appended"), append);
        context.output.note(
            (append ? QCoreApplication::translate("SamplingCommands", "%1 bytes appended to %2.")
                    : QCoreApplication::translate("SamplingCommands", "%1 bytes saved in %2."))
                .arg(bytes)
                .arg(named));
    }
    if (context.output.json())
        context.output.result(document, {});
    if (complete)
        return ExitStatus::Done;
    if (!context.interrupted() && context.session.isOpen())
        context.output.error(
            QCoreApplication::translate("SamplingCommands",
                                        "the Orvantis did not finish the sample within %1 s")
                .arg(double(SamplingController::kSampleTimeoutSeconds)));
    return ExitStatus::Failed;
}

} // namespace SamplingCommands
