#include "session/ReceiveLoop.h"

namespace
{
constexpr qsizetype kCutTo = 32768;
constexpr float kLampHoldSeconds = 0.5f;
constexpr qsizetype kMaxLineKept = 4096;

// Display text of the end of `bytes`: CR as CR LF, LF dropped, codes outside 32-127 as ".",
// only as much of it as the terminal can show.
QString displayTail(QByteArrayView bytes)
{
    qsizetype start = bytes.size();
    qsizetype length = 0;
    while (start > 0 && length < ReceiveLoop::kDisplayTail) {
        const char c = bytes[--start];
        length += c == '\r' ? 2 : c == '\n' ? 0 : 1;
    }
    QByteArray display;
    display.reserve(length);
    for (const char c : bytes.sliced(start)) {
        const auto code = static_cast<unsigned char>(c);
        if (code == '\r')
            display.append("\r\n", 2);
        else if (code != '\n')
            display.append(code >= 32 && code <= 127 ? c : '.');
    }
    return QString::fromLatin1(display);
}
} // namespace

ReceiveLoop::ReceiveLoop(ProgramState &state, CommPort &port, FileCapture &capture,
                         LinkStatus &status)
    : m_state(state), m_port(port), m_capture(capture), m_status(status)
{
}

ReceiveLamp ReceiveLoop::run()
{
    float runLastByteTime = 0;
    if (m_port.isOpen()) {
        const QByteArray bytes = m_port.readWaiting();
        if (!bytes.isEmpty()) {
            runLastByteTime = m_state.clock.timeOfDay();
            QString display;
            if (!take(bytes, runLastByteTime, display))
                return ReceiveLamp::ButtonFace;
            if (!display.isEmpty() && m_display)
                m_display(display);
        }
        if (m_port.hasFailed() && m_port.bytesWaiting() == 0) {
            const QString why = m_port.failureText();
            m_port.close();
            m_currentLine.clear();
            if (m_portLost)
                m_portLost(why);
        }
    }
    if (m_state.clock.timeOfDay() - runLastByteTime < kLampHoldSeconds)
        return ReceiveLamp::Yellow;
    // Green only over an open line: a connection being brought back keeps its status.
    return m_status.Status() == StatusCode::Idle && m_port.isOpen() ? ReceiveLamp::Green
                                                                    : ReceiveLamp::ButtonFace;
}

bool ReceiveLoop::take(QByteArrayView bytes, float now, QString &display)
{
    if (m_received)
        m_received(bytes);
    appendToReceiveBuffer(bytes);
    if (!takeCaptured(bytes, now, display))
        return false;
    if (!bytes.isEmpty()) {
        m_capture.countBytes(bytes.size(), now);
        if (m_state.dataFile.isOpen())
            m_state.dataFile.write(bytes);
        passStatusLines(bytes);
        display += displayTail(bytes);
    }
    if (!m_state.dataFile.flush()) {
        reportFileError();
        return false;
    }
    return true;
}

// The capture's share of `bytes`, taken off their front.
bool ReceiveLoop::takeCaptured(QByteArrayView &bytes, float now, QString &display)
{
    if (!m_capture.CaptureActive() || bytes.isEmpty())
        return true;
    // The echo's line feed is in ReceiveBuffer, but neither counted nor filed.
    if (m_capture.isEchoLineFeed(bytes.front()))
        bytes = bytes.sliced(1);
    const qint64 remaining = m_capture.remaining();
    const qsizetype captured =
        remaining < 0 ? bytes.size() : qsizetype(qMin<qint64>(remaining, bytes.size()));
    if (captured > 0) {
        m_capture.countBytes(captured, now);
        if (!fileCaptured(bytes.first(captured)))
            return false;
        // During a capture the terminal shows the count instead of the data.
        display = tr("%1 bytes received").arg(m_capture.byteCount()) + QStringLiteral("\r\n");
        bytes = bytes.sliced(captured);
    }
    return true;
}

void ReceiveLoop::captureEarly(QByteArrayView bytes)
{
    QString display;
    if (!takeCaptured(bytes, m_state.clock.timeOfDay(), display))
        return;
    if (!m_state.dataFile.flush())
        reportFileError();
}

// A full buffer is cut to its first 32768 characters and the character that found it full
// is dropped; then filling goes on.
void ReceiveLoop::appendToReceiveBuffer(QByteArrayView bytes)
{
    QByteArray &buffer = m_state.ReceiveBuffer;
    while (!bytes.isEmpty()) {
        const qsizetype room = ProgramState::kReceiveBufferCap + 1 - buffer.size();
        if (room <= 0) {
            buffer.truncate(kCutTo);
            bytes = bytes.sliced(1);
            continue;
        }
        const qsizetype now = qMin(room, bytes.size());
        buffer.append(bytes.first(now));
        bytes = bytes.sliced(now);
    }
}

// Files the characters of a byte-counted capture; closes the file when it is complete.
bool ReceiveLoop::fileCaptured(QByteArrayView bytes)
{
    DataFile &file = m_state.dataFile;
    if (!file.isOpen())
        return true;
    file.write(bytes);
    if (!m_capture.captureComplete())
        return true;
    if (!file.flush()) {
        reportFileError();
        return false;
    }
    file.close();
    m_capture.finishCapture();
    return true;
}

// Every complete line holding "st:" goes to the status parser, from "st:" to its end; the
// line under way is kept for the next run.
void ReceiveLoop::passStatusLines(QByteArrayView bytes)
{
    qsizetype from = 0;
    for (qsizetype cr; (cr = bytes.indexOf('\r', from)) >= 0; from = cr + 1) {
        const QByteArrayView line = bytes.sliced(from, cr - from);
        // Most lines hold no status: look before copying.
        if (m_currentLine.isEmpty() &&
            line.first(qMin(line.size(), kMaxLineKept)).indexOf("st:") < 0)
            continue;
        keepLineChars(line);
        const qsizetype at = m_currentLine.indexOf("st:");
        if (at >= 0 && m_statusLine)
            m_statusLine(m_currentLine.mid(at) + "\r\n");
        m_currentLine.clear();
    }
    keepLineChars(bytes.sliced(from));
}

void ReceiveLoop::keepLineChars(QByteArrayView chars)
{
    for (const char c : chars) {
        if (m_currentLine.size() >= kMaxLineKept)
            return;
        if (c != '\n')
            m_currentLine.append(c);
    }
}

void ReceiveLoop::reportFileError()
{
    DataFile &file = m_state.dataFile;
    const QString message =
        tr("Error %1; %2.\nThe data file %3 has been closed; what arrives from now on is not "
           "saved.")
            .arg(file.errorNumber())
            .arg(file.errorString(), file.path());
    file.abandon();
    m_capture.finishCapture();
    if (m_error)
        m_error(message);
}
