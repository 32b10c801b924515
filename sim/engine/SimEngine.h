#pragma once

#include "SimCommandLine.h"
#include "SimFlashDisk.h"
#include "SimOptions.h"
#include "SimStatusModel.h"

#include <QByteArray>
#include <QHash>
#include <deque>
#include <functional>

// The instrument's protocol engine: bytes in (feed), bytes out (takeOutput), and a clock of
// its own that only moves when told (advance, setNow), so runs are repeatable. It echoes
// each command line, answers it, and shows its prompt; ETX stops whatever it is doing.
//
// Commands are looked up by their first word in a table (addCommand). A handler writes its
// answer with sendLine/send, may space it out with wait/later, and may keep the instrument
// busy past its own return (keepBusy ... finishCommand) for long-running work. All output
// goes through a queue stamped with engine times, released as the clock reaches them.
class SimEngine
{
public:
    using CommandHandler = std::function<void(SimEngine &engine, const SimCommandLine &command)>;

    static constexpr char kEtx = 3;
    // Three ETX in a row bring one prompt, not three: an ETX right after a prompt that an
    // ETX brought (less than this long ago, nothing since) is answered with nothing.
    static constexpr qint64 kEtxQuietMs = 1000;
    static QByteArray prompt() { return QByteArrayLiteral("Orvantis>"); }

    explicit SimEngine(const SimOptions &options = SimOptions());

    void feed(const QByteArray &bytes);
    // Everything due by now, in order; empties the output.
    QByteArray takeOutput();

    qint64 now() const { return m_now; }
    // The clock never runs backwards; an earlier time is ignored.
    void setNow(qint64 ms);
    void advance(qint64 ms) { setNow(m_now + ms); }
    // Engine time of the next queued output or action; -1 when nothing is queued.
    qint64 nextDueMs() const;

    // Line rate the instrument talks at.
    int baudRate() const { return m_options.baudRate; }
    void setBaudRate(int rate) { m_options.baudRate = rate; }

    // Fault switches (silent, noSerial, replyDelayMs, statusMuteMs, statusDelayMs, burstReports,
    // hangupOnProbe) may be changed at any time.
    SimOptions &options() { return m_options; }
    const SimOptions &options() const { return m_options; }
    SimStatusModel &status() { return m_status; }
    SimFlashDisk &disk() { return m_disk; }
    // The instrument's calendar clock at engine time `ms`.
    QDateTime clockAt(qint64 ms) const { return m_options.clockStart.addMSecs(ms); }

    // Set by a fault switch: the line is to be closed once what is queued has gone out. The
    // engine cannot close a line itself; whoever serves it checks this. `why` completes
    // "line closed ..." for whoever reports it.
    bool hangUpRequested() const { return !m_hangUpReason.isEmpty(); }
    QByteArray hangUpReason() const { return m_hangUpReason; }
    // An empty `why` withdraws the request.
    void requestHangUp(const QByteArray &why) { m_hangUpReason = why; }

    void addCommand(const QByteArray &name, CommandHandler handler);
    bool hasCommand(const QByteArray &name) const;

    // For command handlers.
    void sendLine(const QByteArray &line) { send(line + "\r\n"); }
    void send(const QByteArray &bytes);
    // Sends `bytes` `delayMs` after the current output position, which stays where it is:
    // what is sent next may go out first.
    void sendLater(qint64 delayMs, const QByteArray &bytes);
    // Output sent after this comes `ms` later.
    void wait(qint64 ms) { m_cursor += qMax<qint64>(0, ms); }
    // Engine time at which output sent now goes out.
    qint64 cursor() const { return m_cursor; }
    // Runs `action` `delayMs` after the current output position.
    void later(qint64 delayMs, std::function<void()> action);
    // The command goes on after its handler returns; no prompt until finishCommand().
    void keepBusy() { m_busy = true; }
    void finishCommand();
    bool isBusy() const { return m_busy; }
    // Name of the command that goes on past its handler ("start" while sampling
    // periodically), lower case; empty when none is.
    QByteArray commandUnderWay() const { return m_busy ? m_commandName : QByteArray(); }
    // Sees every input byte first while set (modes such as file upload); returns true when
    // it took the byte. ETX still stops the instrument and clears the hook.
    void setInputHook(std::function<bool(char)> hook) { m_inputHook = std::move(hook); }
    // Last words of a command under way when ETX stops it, sent before the prompt. Cleared
    // when the command ends or is stopped.
    void setStopHook(std::function<void()> hook) { m_stopHook = std::move(hook); }

    // What ETX does: drops queued output and any command under way.
    void stop();
    // Someone (re)opened the line: whatever prompt went before, they have not seen it.
    void lineOpened() { m_lastEtxPromptMs = -1; }
    // The far end closed the line: output already queued for it is dropped, so the next one
    // to open it hears nothing of this session. Work under way (a file stream, a processing
    // run, capture mode) goes on, as on a real instrument.
    void lineClosed();
    // The instrument lost its power and came up again: whatever it did is stopped and its
    // output dropped, it talks at its start-up rate, and thermal control and light source
    // settle afresh. The flash disk, the clock and the settings stay.
    void restart();

private:
    struct Entry {
        qint64 due = 0;
        QByteArray bytes;
        std::function<void()> action;
        bool isPrompt = false;
        bool fromEtx = false;
    };

    void takeByte(char c);
    void onEtx();
    void runLine(const QByteArray &line);
    void sendPrompt(bool fromEtx = false);
    void enqueue(Entry entry);
    void runDue();

    SimOptions m_options;
    SimStatusModel m_status;
    SimFlashDisk m_disk;
    QHash<QByteArray, CommandHandler> m_commands;
    std::function<bool(char)> m_inputHook;
    std::function<void()> m_stopHook;

    qint64 m_now = 0;
    qint64 m_cursor = 0;
    std::deque<Entry> m_queue;
    bool m_running = false;
    // Set once three ETX stopped a run under --stop-without-prompt: ETX gets no prompt after.
    bool m_mutedByStop = false;
    QByteArray m_output;
    QByteArray m_line;
    bool m_busy = false;
    QByteArray m_commandName;  // of the last command line run
    QByteArray m_hangUpReason; // empty: no hang-up asked for
    // Engine time at which a prompt brought by ETX went out with nothing after it; -1 otherwise.
    qint64 m_lastEtxPromptMs = -1;
};
