#pragma once

#include "LineGarbler.h"
#include "SimEngine.h"
#include "testkit/MemoryCommPort.h"

#include <QElapsedTimer>

// A Comm1 with the simulated instrument on the other end of the cable, all in memory: what
// the program writes goes to a SimEngine, and the engine's answers come back as input each
// time the program asks how many characters are waiting. The instrument's clock runs with
// real time (plus any skipAhead), or only by skipAhead when the clock is manual.
//
// As on a real line, a settings rate other than the instrument's own gives garbage both
// ways, and an instrument on one port number is not heard on the others.
class SimulatedInstrument : public MemoryCommPort
{
public:
    explicit SimulatedInstrument(const SimOptions &options = SimOptions());

    SimEngine &engine() { return m_engine; }

    // Moves the instrument's clock on, e.g. past its warm-up.
    void skipAhead(qint64 ms);
    // When manual, the instrument's clock moves only through skipAhead.
    void setManualClock(bool manual);

    // Brings over what the instrument has said by now; bytesWaiting() and readWaiting() do
    // this themselves.
    void pump();
    // The cable is pulled: the port fails as a vanished device does, and stays silent and
    // unopenable. The engine's own hang-up requests do the same once their last words are in.
    void pullCable();
    // The cable is back: the port opens again. The instrument kept running meanwhile (what it
    // said was lost), unless `restarted` (see SimEngine::restart).
    void plugIn(bool restarted = false);

    bool open() override;
    // The engine drops what it had queued for the line, as when the far end closes a pty.
    void close() override;
    qint64 bytesWaiting() override;
    QByteArray readWaiting() override;

private:
    bool connected() const;
    bool rateMatches() const;
    void received(const QByteArray &bytes);
    void syncClock();

    SimEngine m_engine;
    LineGarbler m_garbler;
    QElapsedTimer m_elapsed;
    qint64 m_offsetMs = 0;
    bool m_manualClock = false;
    bool m_cablePulled = false;
};
