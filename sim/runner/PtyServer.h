#pragma once

#include "LineGarbler.h"
#include "LineInput.h"
#include "LineNoise.h"
#include "LineRecord.h"
#include "PtyDevice.h"
#include "RunnerOptions.h"
#include "SampleStream.h"
#include "SimEngine.h"

#include <QByteArray>
#include <QString>
#include <chrono>

// Serves a SimEngine on the master side of a pseudo-terminal. The console opens the slave
// as if it were a serial port; the line settings it chooses are read back through the
// master, and a rate other than the instrument's own turns the traffic into garbage.
class PtyServer
{
public:
    // What the signal handlers write to the pipe that run() watches.
    static constexpr char kStopByte = 1;
    static constexpr char kStatusToggleByte = 2;
    static constexpr char kNoiseToggleByte = 3;
    // Followed by the stream's length in bytes as a native qint32.
    static constexpr char kStreamPacedByte = 4;
    static constexpr char kStreamFlatOutByte = 5;
    // Followed by how long it stays out, in milliseconds, as a native qint32; < 0: as the
    // options say.
    static constexpr char kUnplugByte = 6;

    explicit PtyServer(const RunnerOptions &options);
    ~PtyServer();
    PtyServer(const PtyServer &) = delete;
    PtyServer &operator=(const PtyServer &) = delete;

    // Creates the pseudo-terminal; false with errorString() when none can be had.
    bool open();
    QString devicePath() const { return m_device.path(); }
    QString errorString() const { return m_error; }

    // Serves until kStopByte arrives on `signalFd` (the signal handlers write to it) or the
    // hang-up time comes; kStatusToggleByte switches the answers to "st" off and on,
    // kNoiseToggleByte every answer to noise and back, kStreamPacedByte and kStreamFlatOutByte
    // start a stream of sample lines, kUnplugByte unplugs the device for a while. Returns
    // the process exit code.
    //
    // Standard output gets a line "unplugged" when the device goes and the new device's path
    // when it is back; standard error says when periodic sampling starts and stops.
    int run(int signalFd);

private:
    qint64 elapsedMs() const;
    bool lineRateMatches() const;
    // Bytes from the console as the line carried them: at the instrument's rate they reach
    // the engine; at another they arrive as garbage. The input record gets them as heard.
    void hear(const LineInput::Taken &taken);
    void writeLine(qint64 nowMs);
    void hangUp();
    // The console closed the device: nothing said to it is kept for whoever opens it next.
    void farEndClosed();
    // Takes what the signal handlers sent; true when asked to stop.
    bool readSignals(int signalFd);
    void toggleStatusAnswers();
    void toggleNoise();
    void startStream(qint32 bytes, bool flatOut);
    // Keeps the stream's next bytes waiting behind what the engine said.
    void feedStream();
    // What is on its way leaves at the line's pace for no one to hear.
    void sayToNoOne(qint64 nowMs);
    int pollTimeout(qint64 nowMs) const;
    // Writes the state file when the instrument's start-up rate has changed.
    void saveState();
    // The device goes as an unplugged adapter does, and comes back after `forMs`; while it
    // is out the instrument goes on, unheard. Unplugged already: it comes back `forMs` from now.
    void unplug(qint64 forMs);
    // What the far end had not read yet stays in the adapter: it never crossed the line, so
    // the record loses it too.
    void takeBackUnread();
    // A new device behind the link, with what the options make of the instrument meanwhile;
    // false when there is none to be had.
    bool replug();
    void reportSampling();

    RunnerOptions m_options;
    SimEngine m_engine;
    LineGarbler m_garbler;
    LineGarbler m_inputGarbler;
    LineNoise m_noise;
    bool m_noisy = false;
    SampleStream m_stream;
    bool m_flatOut = false; // a stream goes unpaced until it has all been written
    PtyDevice m_device;
    LineInput m_input;
    LineRecord m_record;      // what went down the line
    LineRecord m_recordInput; // what came up the line, as heard
    QString m_error;
    std::chrono::steady_clock::time_point m_start;

    QByteArray m_pending;          // on its way down the line
    double m_credit = 0;           // bytes the line may carry now
    qint64 m_creditMs = 0;         // when the credit was last topped up
    bool m_hungUp = false;         // no one has the slave open
    bool m_talkingToNoOne = false; // unplugged, and the new device not opened yet
    bool m_blocked = false;        // the pty buffer is full
    qint64 m_hangUpSinceMs = -1;   // when a hang-up the engine asked for became due
    int m_savedStartupRate = 0;
    bool m_unplugged = false;
    bool m_timedUnplugDone = false;
    qint64 m_replugAtMs = -1;
    bool m_sampling = false; // periodic sampling as last reported
};
