#pragma once

#include "link/CommPort.h"
#include "session/FileCapture.h"
#include "session/LinkStatus.h"
#include "session/ProgramState.h"
#include "session/ReceiveLamp.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <functional>

// One run of the serial receive loop: the only reader of the port. Every waiting character
// goes to ReceiveBuffer (capped), to the open data file byte for byte, and, as display text,
// to the terminal; complete status lines go to the status parser. A run takes what has
// arrived as one block and gives each of these its part, so its cost follows the bytes, not
// the calls.
class ReceiveLoop
{
    Q_DECLARE_TR_FUNCTIONS(ReceiveLoop)

public:
    // The terminal shows at most this much, so a run builds no more display text than this.
    static constexpr qsizetype kDisplayTail = 32000;

    ReceiveLoop(ProgramState &state, CommPort &port, FileCapture &capture, LinkStatus &status);

    // The run's display text (CR -> CR LF, LF dropped, other codes outside 32-127 as ".").
    void setDisplaySink(std::function<void(const QString &)> sink) { m_display = std::move(sink); }
    // A complete line holding "st:", from "st:" to its end, with CR LF.
    void setStatusLineSink(std::function<void(const QByteArray &)> sink)
    {
        m_statusLine = std::move(sink);
    }
    // "Error n; description." for a failure inside a run, and what follows from it.
    void setErrorSink(std::function<void(const QString &)> sink) { m_error = std::move(sink); }
    // Every run's bytes as they came, before anything else sees them.
    void setReceivedSink(std::function<void(QByteArrayView)> sink) { m_received = std::move(sink); }
    // The port went away while open; the loop has closed it. Called once per loss.
    void setPortLostSink(std::function<void(const QString &)> sink)
    {
        m_portLost = std::move(sink);
    }

    // Bytes that came in the same run as the reply after which a capture was started (a
    // download's first bytes right behind the echo of its command): the capture takes them
    // as if they were arriving now.
    void captureEarly(QByteArrayView bytes);

    // Runs once and returns the colour of the receive lamp.
    ReceiveLamp run();

private:
    // The work of one run on what it read; false when the data file failed.
    bool take(QByteArrayView bytes, float now, QString &display);
    bool takeCaptured(QByteArrayView &bytes, float now, QString &display);
    void appendToReceiveBuffer(QByteArrayView bytes);
    bool fileCaptured(QByteArrayView bytes);
    void passStatusLines(QByteArrayView bytes);
    void keepLineChars(QByteArrayView chars);
    void reportFileError();

    ProgramState &m_state;
    CommPort &m_port;
    FileCapture &m_capture;
    LinkStatus &m_status;
    // The current line's raw characters, kept across runs so that a status line split over
    // two runs still reaches the parser.
    QByteArray m_currentLine;
    std::function<void(const QString &)> m_display;
    std::function<void(const QByteArray &)> m_statusLine;
    std::function<void(const QString &)> m_error;
    std::function<void(const QString &)> m_portLost;
    std::function<void(QByteArrayView)> m_received;
};
