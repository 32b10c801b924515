<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>BaudRateChange</name>
    <message>
        <source>Startup rate %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The baud rate of %1 cannot be changed from here: the serial line is reached through a device server that keeps its own rate. Change the rate in the device server&apos;s settings, or reach it with an rfc2217:// address, which lets this program set the rate.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a baud rate. Choose one of the rates in the list or type a whole number from %2 to %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Orvantis did not answer at %1 baud. It may still be at %2 baud; &quot;Connect...&quot; will find it again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orvantis baud rate at startup is now %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CalCheck</name>
    <message>
        <source>To do a cal check, the Orvantis&apos;s sampling cavity must be completely clean and dry.  Is it ready?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot continue, because the Orvantis is not fully stabilized, or its status could not be determined.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A new file must be opened to save the cal check data.  Is it OK to close the currently open file?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next, specify the location and file name into which the cal check data will be stored.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data collection complete.  The light source will now need to stabilize because it was turned off for dark measurements.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cal Check Data Collection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Collecting %1 of %2 sets of spectra.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Collecting %1 of %2 sets of light source references.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Collecting dark spectra.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Receiving spectral data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CalCheckCommand</name>
    <message>
        <source>the cal check asks first: &quot;%1&quot; Answer it with --yes once it is; nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cal check data written to standard output.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cal check data in %1 (%2 bytes).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the cal check did not start: the Orvantis is not fully stabilized (&quot;orvantis status&quot; shows it)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the cal check stopped; %1 holds what came</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the cal check did not run</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CalCheckNotes</name>
    <message>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CliOutput</name>
    <message>
        <source>interrupted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no Orvantis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Port number 1-16 (ORVANTIS_PORTS, as in the console) or a device such as /dev/ttyUSB0. Default: the port of the last connection, then every port.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The link&apos;s rate: 9600, 57600 or 115200; only this rate is tried, on the port named or in the search. Default: the rate of the last connection, then every rate.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One JSON document on standard output, whatever the outcome (usage errors too), with &quot;exitStatus&quot; and, on failure, &quot;error&quot;; run writes one JSON object per line instead.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No progress or notes on standard error.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This help.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The program&apos;s version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit status: 0 done; 1 the Orvantis refused or the operation failed; 2 usage error, nothing sent;
3 no Orvantis (not found, port unusable or in use by another program, connection lost,
or for run lost longer than --max-outage);
130 interrupted by SIGINT or SIGTERM (or standard output closed), after stopping the Orvantis.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: orvantis [--port N|DEVICE] [--rate 9600|57600|115200] [--json] [--quiet] COMMAND [ARGS]

The Orvantis from the command line, for scripts and unattended collection. It uses the
settings of Orvantis Console: the port and rate of the last connection are tried first.

Commands:
%1

Options:
%2

%3

&quot;orvantis COMMAND --help&quot; explains a command, with an example.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: orvantis [options] %1 %2

%3
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Options:
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Every command also takes --port, --rate, --json and --quiet (see orvantis --help).

Example:
  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a command; &quot;orvantis --help&quot; lists them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no command given; the commands: %1 (&quot;orvantis --help&quot; explains them).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (&quot;orvantis %1 --help&quot; explains the command)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs %2 (&quot;orvantis %1 --help&quot;).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 does not take &quot;%2&quot; (&quot;orvantis %1 --help&quot;).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs its %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--port needs a port number (1-16) or a device.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--port %1 is not a port number: they go from %2 to %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--rate %1 is not a rate of the Orvantis: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLineDialogs</name>
    <message>
        <source>%1 - %2 (--yes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 - Yes (--yes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Which file should the data go into?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Which folder should the files go into?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not answered without a person or --yes: &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandTable</name>
    <message>
        <source>Average N spectra in each sample (default: no averaging).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Also store each sample in the Orvantis&apos;s flash memory under NAME (up to 8 characters; the extension is added there).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Append to FILE when it holds data already.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace FILE when it holds data already (without --keep or --force such a FILE is refused and nothing is sent).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>find the Orvantis: port number, device, rate and serial number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connects as every command does (the port and rate of the last connection first, then every port at every rate) and prints where the Orvantis answered. With --port only that port is tried, with --rate only that rate.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When the Orvantis is not found, list each port tried and why it failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the identification: model, configuration, serial number, depth, firmware</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prints what &quot;Instrument Info...&quot; shows: model, configuration, serial number, maximum depth and firmware version, as the Orvantis reported them when it was identified.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>thermal control, light source and ambient temperature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Asks the Orvantis for its status line (&quot;st&quot;) and prints the Thermal Control and Light Source panels as the console shows them (Stable, Cooling (2.3C), Stabilizing (1.6 min.), Off) and the ambient temperature.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>take one sample</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Takes one sample with the &quot;Acquire auto&quot; command the Sampling panel builds from the same choices. Everything the Orvantis sends for it goes to FILE, or to standard output without -o or with -o - (with --json: as the document&apos;s &quot;data&quot;). A FILE that holds data already is appended to with --keep, replaced with --force, and refused otherwise.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write what the Orvantis sends to FILE (- for standard output).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>periodic sampling into FILE until a count, a duration or a signal, or left sampling into the flash (--detach)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Starts periodic sampling with a minimum period of S seconds and saves everything the Orvantis sends into FILE (- for standard output; the lines below then go to standard error) until N samples are in FILE, DURATION has passed (90, 90s, 15m, 2h, 1d) or the process gets SIGINT or SIGTERM. Then the Orvantis is stopped (three ETX) and FILE closed at the prompt that answers the stop. Prints one line per sample: its number, time and size in bytes; a sample ends at the Orvantis&apos;s prompt. A lost connection is brought back by itself and said on standard error as it begins and ends (&quot;connection lost at 03:12:05&quot;, &quot;back at 03:12:47 after 42 s; the run went on&quot;); --max-outage ends the run with exit status 3 when the connection stays lost that long. The summary at the end counts the whole samples FILE holds and names each outage and the time without samples. With --json, one JSON object per line: {&quot;record&quot;:&quot;sample&quot;} for each sample, {&quot;record&quot;:&quot;event&quot;} for each outage&apos;s start and end, and a last {&quot;record&quot;:&quot;summary&quot;}; times in ISO 8601 with their offset from UTC. With --detach the samples go only into the Orvantis&apos;s flash memory under NAME: once the Orvantis has taken up the run, orvantis says so and ends, leaving it sampling without this computer (a deployment); &quot;orvantis stop&quot; stops it, and so does any later command or the console&apos;s connection, since finding the Orvantis stops what it is doing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum period between samples, in seconds (such as 10 or 2.5).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save everything the Orvantis sends into FILE (- for standard output).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop once N samples are in FILE (with a period shorter than a sample takes, one more may complete before the stop reaches the Orvantis; the summary counts it).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop after DURATION: seconds, or a number with s, m, h or d.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End with exit status 3 when the connection stays lost for DURATION (default: try to bring it back for as long as the run lasts).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leave the Orvantis sampling into its flash memory (needs --flash; no -o, --count, --for or --max-outage).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the files in the Orvantis&apos;s memory: name, size, date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lists the Orvantis&apos;s memory (&quot;Dir /V&quot;) as the file manager does, oldest first: name, size and date of each file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>download files from the Orvantis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloads each NAME into DIR (default: the current folder), one after the other, stopping at the first that fails. A download that does not complete never replaces a good local file: its bytes are kept as NAME.part beside it, or as NAME when there was none. Names the Orvantis does not list are refused before anything is fetched.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder to save the files in (default: the current folder).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>upload text files into the Orvantis&apos;s memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sends each FILE, line by line, into the Orvantis&apos;s memory under its own name, or under NAME with --as (one FILE only). The Orvantis stores each line with CR LF at its end, whatever ended it in FILE. A name it cannot hold (1 to 12 characters, no blanks, none of &quot; * , / : &lt; &gt; ? \ |) is refused before anything is sent, saying the name the console would give the file: choose one with --as.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The name on the Orvantis.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>delete files from the Orvantis&apos;s memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deletes each NAME from the Orvantis&apos;s memory. When a NAME is not in its list, nothing is deleted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>show the Orvantis&apos;s clock, or set it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the Orvantis&apos;s clock beside the computer&apos;s. With --set, sets it to the computer&apos;s time, or to the date and time given, and reads it back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set the clock: to the computer&apos;s time, or to the one given.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>change the link&apos;s rate at both ends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changes the rate of the link to RATE (9600, 57600 or 115200) on the Orvantis and on this computer, checks that it answers at the new rate, and keeps it for the next connection. With --startup the Orvantis also comes up at RATE after a restart.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make RATE the Orvantis&apos;s start-up rate too.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the guided cal check into FILE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Runs the cal check: three sets of spectra and light source references with the light on, one dark set with it off, everything the Orvantis sends saved into FILE. The procedure asks the operator first (is the sampling cavity clean and dry?); --yes gives that answer. Without --yes the command says what it would ask and sends nothing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the cal check data into FILE (- for standard output).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answer the procedure&apos;s questions with Yes: the sampling cavity is clean and dry.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>send one command line and print the answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sends TEXT (the words joined by blanks) and CR to the Orvantis, and prints its answer up to its prompt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seconds to wait for the prompt (default 5).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stop whatever the Orvantis is doing, such as a run left sampling</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sends three ETX, which stop whatever the Orvantis is doing (a run left sampling by run --detach, or by the console), and waits up to 2 s for its prompt. Says whether it answered: exit status 0 when it did, 1 when not. Finding the Orvantis sends three ETX already, so a run is stopped by then.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ConnectForm</name>
    <message>
        <source>Connecting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Available Ports:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baud Rate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Selected Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search Again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ConnectionStep</name>
    <message>
        <source>port %1 has no device: ORVANTIS_PORTS or the system lists %2 ports</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No answer on %1, the port of the last connection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Searching for the Orvantis on every port at %1 baud...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Orvantis found on any port.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> %1 is in use by another program.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>opened, no answer at %1 baud</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Ports tried:
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  none: ORVANTIS_PORTS or the system lists no port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> &quot;orvantis find --verbose&quot; lists each port tried and why.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis did not answer on %1 at %2 baud</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected to the Orvantis %1 on %2 at %3 baud.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DataFile</name>
    <message>
        <source>File too large (the file size limit is reached)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disk full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>standard output</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DataFileController</name>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving to &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No file open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close the current file?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text Files (*.raw);;All Files (*.*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error opening %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A file transfer is using the data file. Open or close a data file when the transfer has ended.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DirSort</name>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ErrorForm</name>
    <message>
        <source>Orvantis Console</source>
        <extracomment>The program&apos;s name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EventLog</name>
    <message>
        <source>The event log cannot be written to %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 started: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 ended.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 ended: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The event log&apos;s folder %1 cannot be made.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EventLogBinding</name>
    <message>
        <source>Event Log...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EventLogWindow</name>
    <message>
        <source>Event Log</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>&quot;%1&quot; cannot be a file on the Orvantis: %2. Nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis did not list its files (no answer to &quot;Dir /V&quot;)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis&apos;s list of its files (&quot;Dir /V&quot;) stopped before its &quot;bytes free&quot; line, so it may not be complete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not on the Orvantis: %1 (&quot;orvantis ls&quot; lists its files)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the folder %1 does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the folder %1 cannot be written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nothing was fetched</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 bytes into %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--as names one file; give one FILE with it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--as %1 cannot be a file name on the Orvantis: %2. Nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be a file name on the Orvantis: %2. The console would store it as &quot;%3&quot;; choose the name with --as NAME. Nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be a file name on the Orvantis: %2. Choose the name with --as NAME. Nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the upload of %1 was stopped: %2 on the Orvantis is incomplete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 bytes sent as %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nothing was deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis did not answer &quot;Del %1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>which files went cannot be told</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis kept %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileDelete</name>
    <message>
        <source>To delete files from the Orvantis, first select them in the directory list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete %1 from Orvantis memory?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete %1 files from Orvantis memory?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileDownload</name>
    <message>
        <source>To get files, first select them from the directory list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There was an error getting the file %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transfer of &quot;%1&quot; timed out.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transfer cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There was an error getting the file %1. The Orvantis answered: &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transfer of &quot;%1&quot; stopped: the connection to the Orvantis ended.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The %1 bytes that arrived are kept in %2; the earlier %3 was left as it was.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 was not fetched: the size the directory list gives for it (&quot;%2&quot;) is not a count of bytes, so the end of the file cannot be told. If this line of the list is not a file, leave it out of the selection. The files after it were not fetched either: select them again to fetch them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be created (%2). The transfer was stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be replaced (%2). What arrived is kept in %3.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileTransferForm</name>
    <message>
        <source>File name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files in Orvantis Memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send File...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Location for Saved Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileUpload</name>
    <message>
        <source>Select file to send to Orvantis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be opened (%2). Nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 was not sent: on the Orvantis it would be named &quot;%2&quot;, and its disk cannot hold that name (%3). Names there have 1 to 12 plain letters, digits and signs, without blanks and without any of &quot; * , / : &lt; &gt; ? \ |. Rename the file (its first 12 characters, blanks left out, make the name) and send it again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 was not sent: the Orvantis did not start storing a file named &quot;%2&quot; (it gave no answer). Nothing of the file was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 was not sent: the Orvantis did not start storing a file named &quot;%2&quot; (it answered &quot;%3&quot;). Nothing of the file was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 was not sent completely: the Orvantis did not show its Capture&gt; prompt after line %2, so no further line was sent. The file &quot;%3&quot; on the Orvantis is incomplete; send the file again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IndicatorLamp</name>
    <message>
        <source>%1: %2</source>
        <extracomment>A lamp&apos;s accessible description: its caption, then its colour (&quot;Stable: green&quot;).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unlit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>green</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yellow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>amber</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>red</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InstrumentClock</name>
    <message>
        <source>Clock change</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InstrumentCommands</name>
    <message>
        <source>port %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orvantis %1 on %2 at %3 baud</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Model:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max Depth:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Firmware:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis did not answer &quot;st&quot; with its status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>clock takes a date and time only after --set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a date and time such as 2026-12-04T14:05:09</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis did not tell its time (no answer to &quot;time&quot;)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orvantis:  %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Computer:  %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis&apos;s clock reads %1 after it was set to %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a rate of the Orvantis: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis did not answer at %1 baud; it may still be at %2 baud, where the next command looks for it first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis did not take the rate %1 (no &quot;Changing&quot; answer); the link stays at %2 baud</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The link runs at %1 baud (it was at %2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis did not confirm %1 baud as its start-up rate (it said %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>send needs a command of plain characters for the Orvantis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--timeout takes a number of seconds, such as 5 or 0.5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis did not show its prompt within %1 s</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InstrumentFileName</name>
    <message>
        <source>it would be empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is longer than %1 characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a file name there</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it holds a blank or a control character</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it holds the character &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InstrumentInfoForm</name>
    <message>
        <source>Instrument Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Model:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max Depth:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Firmware:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 m</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InstrumentPanelWidget</name>
    <message>
        <source>Enable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ambient: -00.00 C</source>
        <extracomment>Not shown: the width kept for the ambient temperature line.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stabilizing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 off lamp</source>
        <extracomment>A lamp&apos;s accessible name: the panel&apos;s title, then the state the lamp shows.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 stabilizing lamp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 stable lamp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stabilizing (59.9 min.)</source>
        <extracomment>Not shown: the width kept for the longest state text.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InstrumentSession</name>
    <message>
        <source>Gave up reconnecting.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leaving: the Orvantis goes on sampling every %1 s into its flash memory as %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leaving: the periodic run was stopped (three ETX).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leaving: the periodic run could not be stopped (the line is lost).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leaving: nothing to stop.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Orvantis connected (periodic sampling was stopped)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Orvantis connected (left sampling into its flash memory)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection lost on %1 (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reconnecting to %1 every second.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection to the Orvantis on %1 was lost. Check the cable and the instrument&apos;s power, then use Connect... to connect again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reconnected to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reconnected to %1; the periodic run was started again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reconnected to %1; the periodic run went on.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LeavingQuestion</name>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Orvantis is storing a sample every %1 s in its flash memory as %2. Leave it sampling?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LineOperation</name>
    <message>
        <source>Not sent: the connection search is using the Orvantis.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not sent: a download is using the Orvantis.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not sent: an upload is using the Orvantis.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not sent: a deletion of files is using the Orvantis.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not sent: the cal check is using the Orvantis.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not sent: remote processing is using the Orvantis.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not sent: the baud rate change is using the Orvantis.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not sent: the reconnection is using the Orvantis.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not sent: another operation is using the Orvantis.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LoggedOperatorDialogs</name>
    <message>
        <source>closed without an answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <extracomment>The title of a file chooser that opens a file.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>An event log line: a message window&apos;s title, then its text.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainForm</name>
    <message>
        <source>Orvantis Console %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Communication</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Baud Rate...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Terminal Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Status Check Rate...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reconnect automatically</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orvantis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Instrument Info...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Clock...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manage Files on Orvantis...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Collect Cal Check Data...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainFormCentralWidget</name>
    <message>
        <source>Manage Orvantis Files...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Communication</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Baud Rate...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Terminal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic status updates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NO RESPONSE-CHECK CONNECTIONS  </source>
        <extracomment>Not shown: the width kept for the longest connection state.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data lamp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save to File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New File...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop Saving</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No file open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving to &quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MMMMMMMMMMMM.raw&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sampling</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sample Once</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Periodic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum period (sec):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum period (sec)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average multiple spectra in each sample:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spectra averaged in each sample</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Store samples in Orvantis flash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flash file name:  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flash file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send samples to this computer (stored in currently open file)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thermal Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light Source</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NetworkReader</name>
    <message>
        <source>the server ended the connection</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PeriodicRun</name>
    <message>
        <source>%1 (run needs --period S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>run ends either after --count samples or after --for a time, not both</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--count takes a whole number of samples, such as 100</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--for takes a duration such as 90, 90s, 15m, 2h or 1d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--max-outage takes a duration such as 30, 90s, 15m, 2h or 1d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--detach leaves the Orvantis storing into its flash memory: it needs --flash NAME</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--detach sends no sample to this computer and leaves the run going: it takes no --%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis did not take up the run (no echo of the start command within %1 s); three ETX were sent to stop whatever it began</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Orvantis stores a sample every %1 s in its flash memory as %2, and goes on without this computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;orvantis stop&quot; stops it; so does any other command of orvantis or the console&apos;s connection, since finding the Orvantis stops what it is doing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the connection was lost at %1 and not back within %2 s; the Orvantis may still be sampling; %3 holds what came before</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the connection to the Orvantis was lost; %1 holds what came before</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Orvantis did not answer the stop with its prompt.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PortAddress</name>
    <message>
        <source>no device is named</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a kind of port this program knows: write tcp://HOST:PORT or rfc2217://HOST:PORT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; needs a host and a port number from 1 to 65535: write tcp://HOST:PORT or rfc2217://HOST:PORT</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PortProblem</name>
    <message>
        <source>cannot reach %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>port %1 does not exist: is the Orvantis&apos;s cable or adapter plugged in?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>port %1 is in use by another program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no permission to use port %1: add your user to its group (sudo usermod -aG dialout $USER) and log in again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>port %1 cannot be opened (%2)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PortSearch</name>
    <message>
        <source> Searching for Orvantis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Orvantis found on any port.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection Failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PortTable</name>
    <message>
        <source>COM  %1  (%2)</source>
        <extracomment>A port in the lists: its number, then the device or address it stands for.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM  %1</source>
        <extracomment>A port in the lists by its number alone.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM %1 (%2)</source>
        <extracomment>A port by its number and its device.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProcessingBinding</name>
    <message>
        <source>Remote Processing...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProcessingForm</name>
    <message>
        <source>Processing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Process</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProcessingSession</name>
    <message>
        <source>File Count:%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgressForm</name>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QtOperatorDialogs</name>
    <message>
        <source>All Files (*.*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReceiveLoop</name>
    <message>
        <source>%1 bytes received</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error %1; %2.
The data file %3 has been closed; what arrives from now on is not saved.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Reconnection</name>
    <message>
        <source>Connection lost at %1 - reconnecting to %2...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reconnecting to %1: waiting for the Orvantis to answer...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>After the connection to %1 was lost, another Orvantis (serial number %2) answered there instead of %3. The connection was closed; use Connect... to connect to it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection lost again - reconnecting to %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection to the Orvantis on %1 was lost. The port opened again, but the Orvantis did not answer within %2 seconds, so the connection was closed. Check the instrument&apos;s power and its baud rate, then use Connect... to connect again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RunReport</name>
    <message>
        <source>%1  %2  %3 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>connection lost at %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>back at %1 after %2 s; the run was started again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>back at %1 after %2 s; the run went on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 samples in %2 s; %3 holds %4 bytes, ending at the Orvantis&apos;s prompt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 samples in %2 s; %3 holds %4 bytes, not ending at the Orvantis&apos;s prompt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>standard output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection lost at %1, not back; no samples from %2 to %3 (%4 s).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection lost at %1, back at %2 after %3 s (the run was started again); no samples from %4 to %5 (%6 s).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection lost at %1, back at %2 after %3 s (the run went on); no samples from %4 to %5 (%6 s).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 outage(s); %2 s without samples.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SamplingCommands</name>
    <message>
        <source>--average takes a whole number of spectra, such as 10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--flash %1 cannot be a name on the Orvantis: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1; nothing was sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--keep appends to FILE and --force replaces it: not both</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs -o FILE, the file that receives the data (-o - for standard output)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-o - puts the data on standard output, where --json puts its records: use one of them</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the folder %1 does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is a folder, not a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 exists and holds %2 bytes: --keep appends to it, --force replaces it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>standard output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 bytes appended to %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 bytes saved in %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis did not finish the sample within %1 s</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SamplingController</name>
    <message>
        <source>Single sample</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flash file names are limited to 8 characters (extension is added automatically)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The minimum period must be a number of seconds, such as 10 or 2.5. Periodic sampling was not started.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SessionEventRecorder</name>
    <message>
        <source>Connection search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deletion of files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cal check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remote processing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baud rate change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reconnection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving to a data file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Periodic sampling</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis samples on into its flash memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected to %1 on %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No response from the Orvantis on %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Orvantis answers again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 at %2 baud</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SetBaudForm</name>
    <message>
        <source>Set Baud Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baud Rate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make this the startup rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SetTimeForm</name>
    <message>
        <source>Orvantis Real-Time Clock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current Orvantis Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Orvantis Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manual Time Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This Computer&apos;s Time</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusDisplay</name>
    <message>
        <source>No file open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Terminal - no connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Terminal - COM%2 - %3 baud</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Orvantis connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command in progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File tranfer in progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Periodic sampling (%1 s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NO RESPONSE-CHECK CONNECTIONS</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusHistoryBinding</name>
    <message>
        <source>Status History...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusHistoryWindow</name>
    <message>
        <source>Status History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ambient (C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thermal deviation (C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light source time left (min)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C</source>
        <extracomment>The unit of the left axis: degrees Celsius.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>min</source>
        <extracomment>The unit of the right axis: minutes.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status history chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bands along the bottom: thermal control (upper) and light source (lower); green stable, yellow stabilizing, red off.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Point at the chart to see the values of a status line.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Status History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV Files (*.csv);;All Files (*.*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The status history could not be written to %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thermal %1</source>
        <extracomment>A band of the chart; %1 is the state: off, stabilizing or stable.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light %1</source>
        <extracomment>A band of the chart; %1 is the state: off, stabilizing or stable.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusPanels</name>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stabilizing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stable</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusParser</name>
    <message>
        <source>Ambient: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stabilizing (%1C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cooling (%1C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warming (%1C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stabilizing (%1 min.)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stabilizing</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusPolling</name>
    <message>
        <source>Status Update Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seconds between status checks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status checks cannot be more than %1 seconds apart. The rate has been set to %1 seconds.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusReport</name>
    <message>
        <source>Thermal Control:  %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light Source:     %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ambient:          %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusSample</name>
    <message>
        <source>off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stabilizing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
Ambient: %2
Thermal control: %3, deviation %4 C
Light source: %5, %6 s to go</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StopCommand</name>
    <message>
        <source>Stop (three ETX): the Orvantis answered at its prompt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop (three ETX): no prompt within %1 s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Orvantis answered the stop at its prompt: it is stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(Finding it had sent three ETX already, which stop whatever it was doing.)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Orvantis did not show its prompt within %1 s after three ETX</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TerminalForm</name>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orvantis Console Terminal</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>YesNoCancelForm</name>
    <message>
        <source>Orvantis Console</source>
        <extracomment>The program&apos;s name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
