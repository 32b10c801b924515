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
            output.error(QStringLiteral("--average takes a whole number of spectra, such as 10"));
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
            output.error(QStringLiteral("--flash %1 cannot be a name on the Orvantis: %2")
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
    if (path.isEmpty()) {
        if (!required)
            return ExitStatus::Done;
        output.error(QStringLiteral("%1 needs -o FILE, the file that receives the data")
                         .arg(line.command()));
        return ExitStatus::Usage;
    }
    const QFileInfo info(path);
    if (!info.absoluteDir().exists()) {
        output.error(QStringLiteral("the folder %1 does not exist").arg(info.absolutePath()));
        return ExitStatus::Usage;
    }
    if (info.isDir()) {
        output.error(QStringLiteral("%1 is a folder, not a file").arg(path));
        return ExitStatus::Usage;
    }
    return ExitStatus::Done;
}

bool openDataFile(InstrumentSession &session, CliOutput &output, const QString &path, bool append)
{
    DataFile &file = session.dataFile();
    const bool opened = append ? file.openForAppend(path) : file.open(path);
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
    // Without -o the sample is caught in a file of its own and then shown whole.
    QTemporaryDir scratch;
    const QString named = context.line.value(kOutput);
    const QString path = named.isEmpty() ? scratch.filePath(QStringLiteral("sample.raw")) : named;
    const bool append = context.line.isSet(kKeep) && !named.isEmpty();
    const qint64 before = append ? sizeOf(path) : 0;
    if (!openDataFile(context.session, context.output, path, append))
        return ExitStatus::Failed;
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
            QStringLiteral("%1 bytes %2 %3.")
                .arg(bytes)
                .arg(append ? QStringLiteral("appended to") : QStringLiteral("saved in"), named));
    }
    if (context.output.json())
        context.output.result(document, {});
    if (complete)
        return ExitStatus::Done;
    if (!context.interrupted() && context.session.isOpen())
        context.output.error(QStringLiteral("the Orvantis did not finish the sample within %1 s")
                                 .arg(double(SamplingController::kSampleTimeoutSeconds)));
    return ExitStatus::Failed;
}

} // namespace SamplingCommands
