#include "SimProcessingCommands.h"

#include "SimEngine.h"
#include "SimInstrumentDisk.h"

namespace
{

// The text between the quotation marks; the closing one may be missing (drive changes are
// sent without it).
QByteArray unquoted(const QByteArray &text)
{
    QByteArray inner = text.trimmed();
    if (inner.startsWith('"'))
        inner.remove(0, 1);
    if (inner.endsWith('"'))
        inner.chop(1);
    return inner.trimmed();
}

void operatingSystem(SimEngine &engine, SimInstrumentDisk &disk, const QByteArray &command)
{
    const qsizetype blank = command.indexOf(' ');
    const QByteArray verb = (blank < 0 ? command : command.left(blank)).toUpper();
    const QByteArray rest = blank < 0 ? QByteArray() : command.mid(blank + 1).trimmed();

    if (verb == "MOUNT") {
        if (disk.mount(rest))
            engine.sendLine(rest + " mounted");
        else
            engine.sendLine("Usage: mount VOLUME");
        return;
    }
    if (!disk.isMounted()) {
        engine.sendLine("Disk not mounted");
        return;
    }
    if (verb.size() == 2 && verb.at(1) == ':' && rest.isEmpty()) {
        if (!disk.setDrive(verb))
            engine.sendLine("Invalid drive");
        return;
    }
    if (verb == "DIR") {
        for (const QByteArray &line : disk.listing(rest))
            engine.sendLine(line);
        return;
    }
    if (verb == "CD" || verb == "CHDIR") {
        if (rest.isEmpty())
            engine.sendLine(disk.currentDirectory());
        else if (!disk.changeDirectory(rest))
            engine.sendLine("Invalid directory");
        return;
    }
    engine.sendLine("Bad command or file name");
}

void process(SimEngine &engine, SimInstrumentDisk &disk, const QByteArray &path)
{
    const qint64 step = disk.processingStepMs;
    const QByteArray file = disk.isMounted() ? disk.findProcessingFile(path) : QByteArray();
    engine.keepBusy();
    engine.setStopHook([&engine] { engine.sendLine("Processing aborted"); });
    // Lines go out one step apart: the console takes each report as one line.
    if (file.isEmpty()) {
        engine.sendLine("Cannot open " + path + ".TLT");
        engine.later(step, [&engine] {
            engine.sendLine("Processing aborted");
            engine.finishCommand();
        });
        return;
    }
    engine.sendLine("Processing " + file);
    const int steps = disk.processingSteps;
    for (int pass = 1; pass <= steps; ++pass) {
        engine.later(pass * step, [&engine, pass, steps] {
            engine.sendLine("Pass " + QByteArray::number(pass) + " of " +
                            QByteArray::number(steps));
        });
    }
    engine.later((steps + 1) * step, [&engine] {
        engine.sendLine("Processing complete");
        engine.finishCommand();
    });
}

} // namespace

void SimProcessingCommands::install(SimEngine &engine)
{
    install(engine, std::make_shared<SimInstrumentDisk>(SimInstrumentDisk::sample()));
}

void SimProcessingCommands::install(SimEngine &engine, std::shared_ptr<SimInstrumentDisk> disk)
{
    engine.addCommand("os", [disk](SimEngine &e, const SimCommandLine &command) {
        operatingSystem(e, *disk, unquoted(command.rest));
    });
    engine.addCommand("diridovavud", [disk](SimEngine &e, const SimCommandLine &command) {
        process(e, *disk, unquoted(command.rest));
    });
}
