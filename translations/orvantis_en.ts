<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
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
    <name>DataFile</name>
    <message>
        <source>File too large (the file size limit is reached)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disk full</source>
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
    <name>NetworkReader</name>
    <message>
        <source>the server ended the connection</source>
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
        <source>COM %1 (%2)</source>
        <extracomment>The port that was lost, by its number and its device.</extracomment>
        <translation type="unfinished"></translation>
    </message>
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
