#include "app/cli/CommandTable.h"

#include "app/cli/CalCheckCommand.h"
#include "app/cli/FileCommands.h"
#include "app/cli/InstrumentCommands.h"
#include "app/cli/PeriodicRun.h"
#include "app/cli/SamplingCommands.h"
#include "app/cli/StopCommand.h"

#include <QCoreApplication>

namespace
{
CliOption valued(const QStringList &names, const QString &description, const QString &valueName)
{
    return CliOption{names, description, valueName};
}

CliOption flag(const QStringList &names, const QString &description)
{
    return CliOption{names, description, QString()};
}

CliOption outputFile(const QString &what)
{
    return valued({QStringLiteral("o"), QStringLiteral("output")}, what, QStringLiteral("FILE"));
}

CliOption averageOption()
{
    return valued({QStringLiteral("average")},
                  QCoreApplication::translate(
                      "CommandTable", "Average N spectra in each sample (default: no averaging)."),
                  QStringLiteral("N"));
}

CliOption flashOption()
{
    return valued({QStringLiteral("flash")},
                  QCoreApplication::translate(
                      "CommandTable",
                      "Also store each sample in the Orvantis's flash memory under NAME "
                      "(up to 8 characters; the extension is added there)."),
                  QStringLiteral("NAME"));
}

CliOption keepOption()
{
    return flag(
        {QStringLiteral("keep")},
        QCoreApplication::translate("CommandTable", "Append to FILE when it holds data already."));
}

CliOption forceOption()
{
    return flag({QStringLiteral("force")},
                QCoreApplication::translate(
                    "CommandTable", "Replace FILE when it holds data already (without --keep or "
                                    "--force such a FILE is refused and nothing is sent)."));
}

ExitStatus runPeriodic(CliContext &context)
{
    return PeriodicRun(context).run();
}

QList<CommandDefinition> makeDefinitions()
{
    QList<CommandDefinition> definitions;
    definitions << CommandDefinition{
        QStringLiteral("find"),
        QString(),
        QCoreApplication::translate(
            "CommandTable", "find the Orvantis: port number, device, rate and serial number"),
        QCoreApplication::translate(
            "CommandTable",
            "Connects as every command does (the port and rate of the last connection "
            "first, then every port at every rate) and prints where the Orvantis "
            "answered. With --port only that port is tried, with --rate only that "
            "rate."),
        QStringLiteral("orvantis find --verbose"),
        {flag({QStringLiteral("verbose")},
              QCoreApplication::translate(
                  "CommandTable", "When the Orvantis is not found, list each port tried and why it "
                                  "failed."))},
        0,
        0,
        nullptr,
        InstrumentCommands::find};
    definitions << CommandDefinition{
        QStringLiteral("info"),
        QString(),
        QCoreApplication::translate(
            "CommandTable",
            "the identification: model, configuration, serial number, depth, firmware"),
        QCoreApplication::translate(
            "CommandTable",
            "Prints what \"Instrument Info...\" shows: model, configuration, serial "
            "number, maximum depth and firmware version, as the Orvantis reported them "
            "when it was identified."),
        QStringLiteral("orvantis --json info"),
        {},
        0,
        0,
        nullptr,
        InstrumentCommands::info};
    definitions << CommandDefinition{
        QStringLiteral("status"),
        QString(),
        QCoreApplication::translate("CommandTable",
                                    "thermal control, light source and ambient temperature"),
        QCoreApplication::translate(
            "CommandTable",
            "Asks the Orvantis for its status line (\"st\") and prints the Thermal "
            "Control and Light Source panels as the console shows them (Stable, "
            "Cooling (2.3C), Stabilizing (1.6 min.), Off) and the ambient temperature."),
        QStringLiteral("orvantis status"),
        {},
        0,
        0,
        nullptr,
        InstrumentCommands::status};
    definitions << CommandDefinition{
        QStringLiteral("sample"),
        QStringLiteral("[-o FILE|-] [--average N] [--flash NAME] [--keep|--force]"),
        QCoreApplication::translate("CommandTable", "take one sample"),
        QCoreApplication::translate(
            "CommandTable",
            "Takes one sample with the \"Acquire auto\" command the Sampling panel "
            "builds from the same choices. Everything the Orvantis sends for it goes "
            "to FILE, or to standard output without -o or with -o - (with --json: "
            "as the document's \"data\"). A FILE that holds data already is "
            "appended to with --keep, replaced with --force, and refused otherwise."),
        QStringLiteral("orvantis sample --average 10 -o today.raw --keep"),
        {outputFile(QCoreApplication::translate(
             "CommandTable", "Write what the Orvantis sends to FILE (- for standard "
                             "output).")),
         averageOption(), flashOption(), keepOption(), forceOption()},
        0,
        0,
        SamplingCommands::checkSample,
        SamplingCommands::sample};
    definitions << CommandDefinition{
        QStringLiteral("run"),
        QStringLiteral("--period S -o FILE|- [--count N | --for DURATION] [--max-outage DURATION] "
                       "[--keep|--force] | --period S --flash NAME --detach"),
        QCoreApplication::translate(
            "CommandTable", "periodic sampling into FILE until a count, a duration or a signal, or "
                            "left sampling into the flash (--detach)"),
        QCoreApplication::translate(
            "CommandTable",
            "Starts periodic sampling with a minimum period of S seconds and saves everything "
            "the Orvantis sends into FILE (- for standard output; the lines below then go to "
            "standard error) until N samples are in FILE, DURATION has passed (90, 90s, 15m, 2h, "
            "1d) or the process gets SIGINT or SIGTERM. Then the Orvantis is stopped (three "
            "ETX) and FILE closed at the prompt that answers the stop. Prints one line per "
            "sample: its number, time and size in bytes; a sample ends at the Orvantis's "
            "prompt. A lost connection is brought back by itself and said on standard error "
            "as it begins and ends (\"connection lost at 03:12:05\", \"back at 03:12:47 "
            "after 42 s; the run went on\"); --max-outage ends the run with exit status 3 when "
            "the connection stays lost that long. The summary at the end counts the whole "
            "samples FILE holds and names each outage and the time without samples. With "
            "--json, one JSON object per line: {\"record\":\"sample\"} for each sample, "
            "{\"record\":\"event\"} for each outage's start and end, and a last "
            "{\"record\":\"summary\"}; times in ISO 8601 with their offset from UTC. "
            "With --detach the samples go only into the Orvantis's flash memory under NAME: "
            "once the Orvantis has taken up the run, orvantis says so and ends, leaving it "
            "sampling without this computer (a deployment); \"orvantis stop\" stops it, and "
            "so does any later command or the console's connection, since finding the Orvantis "
            "stops what it is doing."),
        QStringLiteral("orvantis run --period 60 --for 8h -o night.raw"),
        {valued(
             {QStringLiteral("period")},
             QCoreApplication::translate(
                 "CommandTable", "Minimum period between samples, in seconds (such as 10 or 2.5)."),
             QStringLiteral("S")),
         outputFile(QCoreApplication::translate(
             "CommandTable", "Save everything the Orvantis sends into FILE (- for standard "
                             "output).")),
         valued({QStringLiteral("count")},
                QCoreApplication::translate(
                    "CommandTable", "Stop once N samples are in FILE (with a period shorter than a "
                                    "sample takes, one more may complete before the stop reaches "
                                    "the Orvantis; the summary counts it)."),
                QStringLiteral("N")),
         valued({QStringLiteral("for")},
                QCoreApplication::translate(
                    "CommandTable", "Stop after DURATION: seconds, or a number with s, m, h or d."),
                QStringLiteral("DURATION")),
         valued({QStringLiteral("max-outage")},
                QCoreApplication::translate(
                    "CommandTable", "End with exit status 3 when the connection stays lost for "
                                    "DURATION (default: try to bring it back for as long as the "
                                    "run lasts)."),
                QStringLiteral("DURATION")),
         averageOption(), flashOption(), keepOption(), forceOption(),
         flag({QStringLiteral("detach")},
              QCoreApplication::translate(
                  "CommandTable",
                  "Leave the Orvantis sampling into its flash memory (needs --flash; "
                  "no -o, --count, --for or --max-outage)."))},
        0,
        0,
        PeriodicRun::check,
        runPeriodic};
    definitions << CommandDefinition{
        QStringLiteral("ls"),
        QString(),
        QCoreApplication::translate("CommandTable",
                                    "the files in the Orvantis's memory: name, size, date"),
        QCoreApplication::translate(
            "CommandTable",
            "Lists the Orvantis's memory (\"Dir /V\") as the file manager does, oldest "
            "first: name, size and date of each file."),
        QStringLiteral("orvantis ls"),
        {},
        0,
        0,
        nullptr,
        FileCommands::list};
    definitions << CommandDefinition{
        QStringLiteral("get"),
        QStringLiteral("NAME... [-d DIR]"),
        QCoreApplication::translate("CommandTable", "download files from the Orvantis"),
        QCoreApplication::translate(
            "CommandTable",
            "Downloads each NAME into DIR (default: the current folder), one after "
            "the other, stopping at the first that fails. A download that does not "
            "complete never replaces a good local file: its bytes are kept as "
            "NAME.part beside it, or as NAME when there was none. Names the Orvantis "
            "does not list are refused before anything is fetched."),
        QStringLiteral("orvantis get SPECTRA.BIN README.TXT -d ~/orvantis"),
        {valued({QStringLiteral("d"), QStringLiteral("dir")},
                QCoreApplication::translate(
                    "CommandTable", "Folder to save the files in (default: the current folder)."),
                QStringLiteral("DIR"))},
        1,
        -1,
        FileCommands::checkGet,
        FileCommands::get};
    definitions << CommandDefinition{
        QStringLiteral("put"),
        QStringLiteral("FILE... [--as NAME]"),
        QCoreApplication::translate("CommandTable", "upload text files into the Orvantis's memory"),
        QCoreApplication::translate(
            "CommandTable",
            "Sends each FILE, line by line, into the Orvantis's memory under its own "
            "name, or under NAME with --as (one FILE only). The Orvantis stores each "
            "line with CR LF at its end, whatever ended it in FILE. A name it cannot "
            "hold (1 to 12 characters, no blanks, none of \" * , / : < > ? \\ |) is "
            "refused before anything is sent, saying the name the console would give "
            "the file: choose one with --as."),
        QStringLiteral("orvantis put \"my setup.ini\" --as SETUP.INI"),
        {valued({QStringLiteral("as")},
                QCoreApplication::translate("CommandTable", "The name on the Orvantis."),
                QStringLiteral("NAME"))},
        1,
        -1,
        FileCommands::checkPut,
        FileCommands::put};
    definitions << CommandDefinition{
        QStringLiteral("rm"),
        QStringLiteral("NAME..."),
        QCoreApplication::translate("CommandTable", "delete files from the Orvantis's memory"),
        QCoreApplication::translate(
            "CommandTable",
            "Deletes each NAME from the Orvantis's memory. When a NAME is not in its "
            "list, nothing is deleted."),
        QStringLiteral("orvantis rm OLDRUN.RAW"),
        {},
        1,
        -1,
        FileCommands::checkRemove,
        FileCommands::remove};
    definitions << CommandDefinition{
        QStringLiteral("clock"),
        QStringLiteral("[--set [YYYY-MM-DDTHH:MM:SS]]"),
        QCoreApplication::translate("CommandTable", "show the Orvantis's clock, or set it"),
        QCoreApplication::translate(
            "CommandTable",
            "Shows the Orvantis's clock beside the computer's. With --set, sets it to "
            "the computer's time, or to the date and time given, and reads it back."),
        QStringLiteral("orvantis clock --set"),
        {flag({QStringLiteral("set")},
              QCoreApplication::translate(
                  "CommandTable", "Set the clock: to the computer's time, or to the one given."))},
        0,
        1,
        InstrumentCommands::checkClock,
        InstrumentCommands::clock};
    definitions << CommandDefinition{
        QStringLiteral("baud"),
        QStringLiteral("RATE [--startup]"),
        QCoreApplication::translate("CommandTable", "change the link's rate at both ends"),
        QCoreApplication::translate(
            "CommandTable",
            "Changes the rate of the link to RATE (9600, 57600 or 115200) on the "
            "Orvantis and on this computer, checks that it answers at the new rate, "
            "and keeps it for the next connection. With --startup the Orvantis also "
            "comes up at RATE after a restart."),
        QStringLiteral("orvantis baud 115200 --startup"),
        {flag({QStringLiteral("startup")},
              QCoreApplication::translate("CommandTable",
                                          "Make RATE the Orvantis's start-up rate too."))},
        1,
        1,
        InstrumentCommands::checkBaud,
        InstrumentCommands::baud};
    definitions << CommandDefinition{
        QStringLiteral("cal-check"),
        QStringLiteral("-o FILE|- --yes [--keep|--force]"),
        QCoreApplication::translate("CommandTable", "the guided cal check into FILE"),
        QCoreApplication::translate(
            "CommandTable",
            "Runs the cal check: three sets of spectra and light source references "
            "with the light on, one dark set with it off, everything the Orvantis "
            "sends saved into FILE. The procedure asks the operator first (is the "
            "sampling cavity clean and dry?); --yes gives that answer. Without --yes "
            "the command says what it would ask and sends nothing."),
        QStringLiteral("orvantis cal-check -o calcheck.raw --yes"),
        {outputFile(QCoreApplication::translate("CommandTable",
                                                "Save the cal check data into FILE (- for standard "
                                                "output).")),
         flag({QStringLiteral("yes")},
              QCoreApplication::translate(
                  "CommandTable", "Answer the procedure's questions with Yes: the sampling cavity "
                                  "is clean and dry.")),
         keepOption(), forceOption()},
        0,
        0,
        CalCheckCommand::check,
        CalCheckCommand::run};
    definitions << CommandDefinition{
        QStringLiteral("send"),
        QStringLiteral("TEXT... [--timeout S]"),
        QCoreApplication::translate("CommandTable", "send one command line and print the answer"),
        QCoreApplication::translate(
            "CommandTable", "Sends TEXT (the words joined by blanks) and CR to the Orvantis, and "
                            "prints its answer up to its prompt."),
        QStringLiteral("orvantis send baud"),
        {valued({QStringLiteral("timeout")},
                QCoreApplication::translate("CommandTable",
                                            "Seconds to wait for the prompt (default 5)."),
                QStringLiteral("S"))},
        1,
        -1,
        InstrumentCommands::checkSend,
        InstrumentCommands::send};
    definitions << CommandDefinition{
        QStringLiteral("stop"),
        QString(),
        QCoreApplication::translate(
            "CommandTable", "stop whatever the Orvantis is doing, such as a run left sampling"),
        QCoreApplication::translate(
            "CommandTable",
            "Sends three ETX, which stop whatever the Orvantis is doing (a run left "
            "sampling by run --detach, or by the console), and waits up to 2 s for "
            "its prompt. Says whether it answered: exit status 0 when it did, 1 "
            "when not. Finding the Orvantis sends three ETX already, so a run is "
            "stopped by then."),
        QStringLiteral("orvantis stop"),
        {},
        0,
        0,
        nullptr,
        StopCommand::run};
    return definitions;
}
} // namespace

const QList<CommandDefinition> &commandTable()
{
    static const QList<CommandDefinition> definitions = makeDefinitions();
    return definitions;
}
