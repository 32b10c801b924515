#include "link/ReceiveLoop.h"

namespace
{
constexpr int kCutTo = 32768;
constexpr float kLampHoldSeconds = 0.5f;
constexpr qsizetype kMaxLineKept = 4096;
} // namespace

ReceiveLoop::ReceiveLoop(ProgramState &state, CommPort &port, FileCapture &capture,
                         LinkStatus &status)
    : m_state(state), m_port(port), m_capture(capture), m_status(status)
{
}

ReceiveLoop::Lamp ReceiveLoop::run()
{
    float runLastByteTime = 0;
    if (m_port.isOpen()) {
        QByteArray display;
        bool failed = false;
        // One clock reading serves the whole run: a run lasts microseconds, far below the
        // clock's resolution.
        const float now = m_state.clock.timeOfDay();
        while (!failed && m_port.bytesWaiting() > 0) {
            runLastByteTime = now;
            const char c = m_port.readChar();
            const bool echoLineFeed = m_capture.CaptureActive() && m_capture.isEchoLineFeed(c);
            if (!echoLineFeed)
                m_capture.countByte(now);

            QByteArray &buffer = m_state.ReceiveBuffer;
            if (buffer.size() > ProgramState::kReceiveBufferCap)
                buffer.truncate(kCutTo);
            else
                buffer.append(c);

            if (m_state.dataFile.isOpen() && !echoLineFeed && !fileByte(c)) {
                failed = true;
                break;
            }
            if (m_capture.CaptureActive()) {
                display = QByteArray::number(m_capture.byteCount()) + " bytes received\r\n";
                continue;
            }
            routeForDisplay(c, display);
        }
        if (!failed && !m_state.dataFile.flush()) {
            failed = true;
            reportFileError();
        }
        if (failed)
            return Lamp::ButtonFace;
        if (!display.isEmpty() && m_display)
            m_display(QString::fromLatin1(display));

        if (m_port.hasFailed()) {
            const QString why = m_port.failureText();
            m_port.close();
            m_currentLine.clear();
            if (m_portLost)
                m_portLost(why);
        }
    }
    if (m_state.clock.timeOfDay() - runLastByteTime < kLampHoldSeconds)
        return Lamp::Yellow;
    return m_status.Status() == LinkStatus::Idle ? Lamp::Green : Lamp::ButtonFace;
}

// Files one character; closes the file when a byte-counted capture is complete.
bool ReceiveLoop::fileByte(char c)
{
    DataFile &file = m_state.dataFile;
    file.writeByte(c);
    if (m_capture.captureComplete()) {
        const bool ok = file.flush();
        if (!ok) {
            reportFileError();
            return false;
        }
        file.close();
        m_capture.finishCapture();
    }
    return true;
}

void ReceiveLoop::reportFileError()
{
    DataFile &file = m_state.dataFile;
    const QString message = QStringLiteral("Error %1; %2 while writing %3. The file has been "
                                           "closed; data from now on is not saved.")
                                .arg(file.errorNumber())
                                .arg(file.errorString(), file.path());
    file.abandon();
    m_capture.finishCapture();
    if (m_error)
        m_error(message);
}

void ReceiveLoop::routeForDisplay(char c, QByteArray &display)
{
    const auto code = static_cast<unsigned char>(c);
    if (code == '\r') {
        display.append("\r\n");
        const qsizetype at = m_currentLine.indexOf("st:");
        if (at >= 0 && m_statusLine)
            m_statusLine(m_currentLine.mid(at) + "\r\n");
        m_currentLine.clear();
        return;
    }
    if (code == '\n')
        return;
    if (m_currentLine.size() < kMaxLineKept)
        m_currentLine.append(c);
    display.append(code >= 32 && code <= 127 ? c : '.');
}
