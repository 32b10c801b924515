#include "testkit/SimulatedInstrument.h"

#include "support/StringCode.h"

SimulatedInstrument::SimulatedInstrument(const SimOptions &options) : m_engine(options)
{
    m_elapsed.start();
    setResponder([this](const QByteArray &bytes) { received(bytes); });
}

void SimulatedInstrument::skipAhead(qint64 ms)
{
    m_offsetMs += qMax<qint64>(0, ms);
    pump();
}

void SimulatedInstrument::setManualClock(bool manual)
{
    if (manual == m_manualClock)
        return;
    // Keep the instrument's clock where it is; it never runs backwards anyway.
    m_offsetMs = manual ? m_engine.now() : m_engine.now() - m_elapsed.elapsed();
    m_manualClock = manual;
}

void SimulatedInstrument::syncClock()
{
    m_engine.setNow(m_manualClock ? m_offsetMs : m_elapsed.elapsed() + m_offsetMs);
}

bool SimulatedInstrument::connected() const
{
    return !m_cablePulled;
}

bool SimulatedInstrument::rateMatches() const
{
    return ExtractNumber(settings()) == m_engine.baudRate();
}

void SimulatedInstrument::received(const QByteArray &bytes)
{
    if (!connected())
        return;
    syncClock();
    if (rateMatches())
        m_engine.feed(bytes);
    else if (!m_engine.options().silent)
        feed(m_garbler.answerTo(bytes));
    // What the answer says at once goes down the line at the rate of the moment, before a
    // rate change that the answer announces.
    pump();
}

void SimulatedInstrument::pump()
{
    syncClock();
    const QByteArray out = m_engine.takeOutput();
    // Nothing is heard while the port is closed or the instrument is on another port.
    if (!out.isEmpty() && isOpen() && connected())
        feed(rateMatches() ? out : m_garbler.garble(out));
    if (m_engine.hangUpRequested() && !m_cablePulled)
        pullCable();
}

void SimulatedInstrument::pullCable()
{
    m_cablePulled = true;
    fail(QStringLiteral("Input/output error"));
}

void SimulatedInstrument::plugIn(bool restarted)
{
    pump();
    m_engine.requestHangUp(QByteArray());
    if (restarted)
        m_engine.restart();
    m_cablePulled = false;
}

bool SimulatedInstrument::open()
{
    // Whatever the instrument said while the port was closed is lost.
    pump();
    if (m_cablePulled || !MemoryCommPort::open())
        return false;
    m_engine.lineOpened();
    return true;
}

void SimulatedInstrument::close()
{
    MemoryCommPort::close();
    m_engine.lineClosed();
}

qint64 SimulatedInstrument::bytesWaiting()
{
    pump();
    return MemoryCommPort::bytesWaiting();
}

QByteArray SimulatedInstrument::readWaiting()
{
    pump();
    return MemoryCommPort::readWaiting();
}
