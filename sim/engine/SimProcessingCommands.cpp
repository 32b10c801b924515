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

// The report lines of one run. They go out one step apart, each alone, as the console
// takes them; with burstReports they are held and go out back to back with the last one.
class Reports
{
public:
    explicit Reports(SimEngine &engine) : m_engine(engine), m_burst(engine.options().burstReports)
    {
    }
    void say(const QByteArray &line)
    {
        if (m_burst)
            m_held += line + "\r\n";
        else
            m_engine.sendLine(line);
    }
    void sayLast(const QByteArray &line)
    {
        m_engine.send(m_held + line + "\r\n");
        m_held.clear();
    }

private:
    SimEngine &m_engine;
    bool m_burst;
    QByteArray m_held;
};

void process(SimEngine &engine, SimInstrumentDisk &disk, const QByteArray &path)
{
    const qint64 step = disk.processingStepMs;
    const QByteArray file = disk.isMounted() ? disk.findProcessingFile(path) : QByteArray();
    auto reports = std::make_shared<Reports>(engine);
    engine.keepBusy();
    engine.setStopHook([reports] { reports->sayLast("Processing aborted"); });
    if (file.isEmpty()) {
        reports->say("Cannot open " + path + ".TLT");
        engine.later(step, [&engine, reports] {
            reports->sayLast("Processing aborted");
            engine.finishCommand();
        });
        return;
    }
    reports->say("Processing " + file);
    const int steps = disk.processingSteps;
    for (int pass = 1; pass <= steps; ++pass) {
        engine.later(pass * step, [reports, pass, steps] {
            reports->say("Pass " + QByteArray::number(pass) + " of " + QByteArray::number(steps));
        });
    }
    engine.later((steps + 1) * step, [&engine, reports] {
        reports->sayLast("Processing complete");
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
