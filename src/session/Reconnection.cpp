#include "session/Reconnection.h"

#include "link/CommPort.h"
#include "link/PortTable.h"
#include "session/FileCapture.h"
#include "session/InstrumentInfo.h"

#include <QTime>

Reconnection::Reconnection(LineGate &gate, std::function<LineClaim()> claimLine, CommPort &port,
                           FileCapture &capture, QObject *parent)
    : QObject(parent), m_gate(gate), m_claimLine(std::move(claimLine)), m_port(port),
      m_capture(capture)
{
    m_timer.setInterval(kAttemptIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &Reconnection::attempt);
}

Reconnection::~Reconnection() = default;

void Reconnection::start(const Resume &resume)
{
    m_resume = resume;
    m_active = true;
    m_device = PortTable::portName(m_port.portNumber(), m_port.deviceName());
    setNote(tr("Connection lost at %1 - reconnecting to %2...")
                .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")), m_device));
    m_timer.start();
}

void Reconnection::cancel()
{
    if (!m_active)
        return;
    finish();
    if (m_port.isOpen())
        m_port.close();
}

void Reconnection::finish()
{
    m_active = false;
    m_timer.stop();
    // A claim in use by identify() further up the stack goes when identify() returns.
    if (!m_identifying)
        m_claim.reset();
    setNote(QString());
}

void Reconnection::setNote(const QString &note)
{
    if (note == m_note)
        return;
    m_note = note;
    emit noteChanged(note);
}

// One attempt a second. An operation that still owns the line (it is ending, its port gone)
// is waited for; the port may be held open by nobody else meanwhile.
void Reconnection::attempt()
{
    if (!m_active || m_identifying)
        return;
    if (!m_claim) {
        if (!m_gate.isFree())
            return;
        m_claim = m_claimLine();
    }
    if (!m_port.isOpen() && !m_port.open())
        return;
    m_timer.stop();
    emit portReopened();
    identify();
}

void Reconnection::identify()
{
    m_identifying = true;
    identifyOnce();
    m_identifying = false;
    if (!m_active)
        m_claim.reset();
}

void Reconnection::identifyOnce()
{
    setNote(tr("Reconnecting to %1: waiting for the Orvantis to answer...").arg(m_device));
    const bool periodic = !m_resume.startCommand.isEmpty();
    QElapsedTimer since;
    since.start();
    while (m_active && m_port.isOpen() && since.elapsed() < qint64(kAnswerSeconds * 1000)) {
        const qint64 before = m_capture.byteCount();
        const QByteArray reply = m_claim->SendCommand("id\r", "", "Orvantis>", kIdTimeoutSeconds);
        if (!m_active)
            return;
        InstrumentIdentity identity;
        if (ParseInstrumentInfo(reply, identity)) {
            if (identity.InstrumentSerial != m_resume.serial) {
                const QString why = tr("After the connection to %1 was lost, another Orvantis "
                                       "(serial number %2) answered there instead of %3. The "
                                       "connection was closed; use Connect... to connect to it.")
                                        .arg(m_device, identity.InstrumentSerial, m_resume.serial);
                finish();
                m_port.close();
                emit gaveUp(why);
                return;
            }
            // At its prompt: a run that was going has stopped, and starts again.
            if (periodic) {
                emit restartingRun();
                m_claim->SendCommand(m_resume.startCommand, "start", ">", kStartTimeoutSeconds);
            }
            finish();
            emit reconnected(periodic);
            return;
        }
        // No answer to "id", but samples coming in: the run went on by itself.
        if (periodic && m_capture.byteCount() > before) {
            finish();
            emit reconnected(false);
            return;
        }
    }
    if (!m_active)
        return;
    if (!m_port.isOpen()) {
        // Lost again while asking: back to waiting for the device.
        setNote(tr("Connection lost again - reconnecting to %1...").arg(m_device));
        m_timer.start();
        return;
    }
    finish();
    m_port.close();
    emit gaveUp(tr("The connection to the Orvantis on %1 was lost. The port opened "
                   "again, but the Orvantis did not answer within %2 seconds, so the "
                   "connection was closed. Check the instrument's power and its "
                   "baud rate, then use Connect... to connect again.")
                    .arg(m_device)
                    .arg(int(kAnswerSeconds)));
}
