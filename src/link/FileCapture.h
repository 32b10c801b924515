#pragma once

#include "link/ProgramState.h"

// The byte count and the byte-counted capture that downloads use: the receive loop counts
// every character and closes the data file when CaptureLength characters have arrived.
class FileCapture
{
public:
    explicit FileCapture(ProgramState &state) : m_state(state) {}

    int byteCount() const { return m_byteCount; }
    float LastByteTime() const { return m_lastByteTime; }
    int CaptureLength() const { return m_captureLength; }
    bool CaptureActive() const { return m_captureActive; }

    // Starts a capture of `length` characters (0 = no limit) into the data file the caller
    // has already opened.
    void PrepForFileCapture(int length);
    // The capture starts right after a reply framed at the CR of the instrument's echo, whose
    // LF has not arrived yet: a LF as the first character belongs to the echo, not the file.
    void expectEchoLineFeed() { m_echoLineFeedDue = true; }
    // Receive loop side: true when `c` is that LF (it is then neither counted nor filed).
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

    // Receive loop side: one character was read at `now`. After filing it the loop asks
    // captureComplete() and, if so, closes the data file and calls finishCapture().
    void countByte(float now);
    bool captureComplete() const { return m_captureLength != 0 && m_byteCount >= m_captureLength; }
    void finishCapture();

private:
    ProgramState &m_state;
    int m_byteCount = 0;
    float m_lastByteTime = 0;
    int m_captureLength = 0;
    bool m_captureActive = false;
    bool m_echoLineFeedDue = false;
};
