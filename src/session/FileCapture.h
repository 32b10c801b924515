#pragma once

#include "session/ProgramState.h"

// The byte count and the byte-counted capture that downloads use: the receive loop counts
// every character and closes the data file when CaptureLength characters have arrived.
class FileCapture
{
public:
    explicit FileCapture(ProgramState &state) : m_state(state) {}

    // 64 bits: a 32-bit count runs over after about two days at the line rate.
    qint64 byteCount() const { return m_byteCount; }
    float LastByteTime() const { return m_lastByteTime; }
    qint64 CaptureLength() const { return m_captureLength; }
    bool CaptureActive() const { return m_captureActive; }

    // Starts a capture of `length` characters (0 = no limit) into the data file the caller
    // has already opened.
    void PrepForFileCapture(qint64 length);
    // The capture starts right after a reply framed at the CR of the instrument's echo, whose
    // LF has not arrived yet: a LF as the first character belongs to the echo, not the file.
    void expectEchoLineFeed() { m_echoLineFeedDue = true; }
    // Receive loop side: true when `c`, the first character after the capture started, is
    // that LF (it is then neither counted nor filed).
    bool isEchoLineFeed(char c)
    {
        const bool due = m_echoLineFeedDue;
        m_echoLineFeedDue = false;
        return due && c == '\n';
    }
    // Ends a capture early; closes the data file when one is open.
    void EndFileCapture();
    // Seconds since the last character arrived, across midnight.
    float TimeSinceLastByte() const;

    // Receive loop side: `count` characters were read at `now`.
    void countBytes(qint64 count, float now);
    // Characters the capture still takes before it is complete; -1 without a limit.
    qint64 remaining() const
    {
        return m_captureLength == 0 ? -1 : qMax<qint64>(0, m_captureLength - m_byteCount);
    }
    bool captureComplete() const { return m_captureLength != 0 && m_byteCount >= m_captureLength; }
    void finishCapture();

private:
    ProgramState &m_state;
    qint64 m_byteCount = 0;
    float m_lastByteTime = 0;
    qint64 m_captureLength = 0;
    bool m_captureActive = false;
    bool m_echoLineFeedDue = false;
};
