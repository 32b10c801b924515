#pragma once

#include "link/Clock.h"
#include "testkit/MemoryCommPort.h"

#include <QByteArray>
#include <QList>
#include <QQueue>

// The instrument's side of the cal check. Its output goes out one chunk per tick, so the
// receive loop sees the reply in the pieces a real instrument's pace would give.
class ScriptedInstrument
{
public:
    ScriptedInstrument(MemoryCommPort &port, Clock &clock) : m_port(port), m_clock(clock) {}

    void onWrite(const QByteArray &bytes)
    {
        // A continuation writes nothing; nothing reaches the line.
        if (bytes.isEmpty())
            return;
        writes << bytes;
        if (bytes.contains('\x03')) {
            // Abandons whatever it was sending.
            m_out.clear();
            m_line.clear();
            m_out.enqueue("^C\r\nOrvantis>");
        }
        for (char c : bytes) {
            if (c == '\r') {
                command(m_line);
                m_line.clear();
            } else if (c != '\x03') {
                m_line.append(c);
            }
        }
    }

    // Feeds the next chunk once the last one was read; once all is read, passes the clock
    // over a wait the program makes in full.
    void tick()
    {
        if (m_port.bytesWaiting() > 0)
            return;
        if (!m_out.isEmpty()) {
            const QByteArray chunk = m_out.dequeue();
            fed += chunk;
            m_port.feed(chunk);
        } else if (m_skipWait) {
            m_skipWait = false;
            m_clock.setTimeOfDay(m_clock.timeOfDay() + 1.05);
        }
    }

    QList<QByteArray> writes;
    QByteArray fed;
    QByteArray statusLine = "st:1011,0,1,0,20";
    QList<int> commaChunks = QList<int>(100, 1);
    QList<int> dotChunks = QList<int>(88, 1);
    bool stallAfterHeader = false;

private:
    void command(const QByteArray &line)
    {
        m_out.enqueue(line + "\r\n");
        if (line == "st") {
            if (!statusLine.isEmpty())
                m_out.enqueue(statusLine + "\r\nOrvantis>");
        } else if (line.startsWith("acquire fixed")) {
            m_out.enqueue("ms fixed data\r\n");
            if (stallAfterHeader)
                return;
            for (int n : commaChunks)
                m_out.enqueue(QByteArray(n, ','));
            m_out.enqueue("\r\nspectral data\r\n17 42 3000\r\n");
            m_out.enqueue("Orvantis>");
        } else if (line.startsWith("lref")) {
            for (int n : dotChunks)
                m_out.enqueue(QByteArray(n, '.'));
            m_out.enqueue("\r\nOrvantis>");
        } else {
            m_skipWait = line == "auto" || line == "lpower,1";
            m_out.enqueue("Orvantis>");
        }
    }

    MemoryCommPort &m_port;
    Clock &m_clock;
    QByteArray m_line;
    QQueue<QByteArray> m_out;
    bool m_skipWait = false;
};
