#pragma once

// What the benchmarks share: process CPU and memory figures, an event-loop stall meter, and
// the whole console built over a simulator's pseudo-terminal.

#include "app/console/ConsoleBinding.h"
#include "features/files/FileDownload.h"
#include "link/QtCommPort.h"
#include "testkit/ScriptedOperator.h"
#include "testkit/SimProcess.h"
#include "testkit/TestSettings.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <sys/resource.h>

namespace bench
{

// The line's capacity in bytes per second: 10 bits a character.
inline double lineBytesPerSecond(int baud)
{
    return baud / 10.0;
}

// User plus system CPU seconds of this process (the simulator is a child and not counted).
inline double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The number on a line such as "VmRSS:" of a status file (/proc/<pid>/status, or a thread's
// under /proc/<pid>/task/); -1 when it cannot be read.
inline long statusField(const QString &path, const char *key)
{
    QFile status(path);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray wanted(key);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(wanted))
            return line.mid(wanted.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// A line of /proc/self/status such as "VmRSS:", in kB; -1 when it cannot be read.
inline long procStatusKb(const char *key)
{
    return statusField(QStringLiteral("/proc/self/status"), key);
}

inline long rssKb()
{
    return procStatusKb("VmRSS:");
}

inline long peakRssKb()
{
    return procStatusKb("VmHWM:");
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Bytes `from`..end of a file that may be large.
inline QByteArray readFrom(const QString &path, qint64 from)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(from))
        return QByteArray();
    return file.readAll();
}

inline qint64 fileSize(const QString &path)
{
    return QFile(path).size();
}

// Lets events run for `ms` without spinning.
inline void runEventsFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// The largest lateness of a 10 ms timer: how long the event loop, nested waits included,
// went without looking at its timers.
class StallMeter
{
public:
    static constexpr int kIntervalMs = 10;

    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(kIntervalMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 gap = m_clock.nsecsElapsed();
            m_clock.restart();
            m_largestMs = qMax(m_largestMs, gap / 1e6 - kIntervalMs);
        });
        reset();
        m_timer.start();
    }
    void reset()
    {
        m_clock.restart();
        m_largestMs = 0;
    }
    double largestMs() const { return m_largestMs; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_largestMs = 0;
};

// The whole program over one simulator: port 1 is its pseudo-terminal.
class SimConsole
{
public:
    explicit SimConsole(const QString &device)
        : m_table(QStringList{device}), comm(m_table), console(comm, m_table, dialogs)
    {
    }

    // Opens port 1 at `baud` without a search, as the connection dialog's manual controls do.
    bool connect(int baud)
    {
        return console.session.openSelectedPort(QStringLiteral("COM 1"), QString::number(baud));
    }
    MainForm &form() { return console.form; }
    InstrumentSession &session() { return console.session; }

    // A download over the console's session and directory, as the file manager's; it owns
    // the line (and so holds status polling off) while it runs.
    std::unique_ptr<FileDownload> makeDownload()
    {
        return std::make_unique<FileDownload>(session(), console.files.directory(), dialogs);
    }

    // Lets events run until nothing has arrived for `quietSeconds`.
    void waitForQuietLine(float quietSeconds)
    {
        while (session().TimeSinceLastByte() < quietSeconds)
            session().line().Pause(0.05f);
    }

    // Clicks a main-window button; false (with a message) when it is greyed.
    static bool click(QAbstractButton *button)
    {
        if (!button->isEnabled()) {
            std::fprintf(stderr, "%s is disabled\n", qPrintable(button->objectName()));
            return false;
        }
        button->click();
        return true;
    }

private:
    PortTable m_table;

public:
    QtCommPort comm;
    ScriptedOperator dialogs;
    ConsoleBinding console;
};

// Random bytes of every value, ETX and Ctrl-Z included: a download is counted, not framed.
inline QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(2024);
    for (char &c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

struct DownloadFigures {
    double seconds = 0;
    double cpuSeconds = 0;
    double largestStallMs = 0;
    bool completed = false;
    bool exact = false;
};

// Opens the console's port at `baud`, lets the line go quiet, and times FileDownload of the
// instrument's file `content` into `target` (the instrument's file is named by the target's
// own name). False, with a message, when the instrument does not answer.
inline bool timedDownload(SimConsole &console, int baud, const QString &target,
                          const QByteArray &content, DownloadFigures &figures)
{
    if (!console.connect(baud) ||
        console.session().line().SendCommand("st\r", "st:", "\r", 2).isEmpty()) {
        std::fprintf(stderr, "no answer from the simulator at %d baud\n", baud);
        return false;
    }
    console.waitForQuietLine(0.3f);
    const auto download = console.makeDownload();
    StallMeter stalls;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    figures.completed = download->DownloadFile(target, int(content.size())).done();
    figures.seconds = wall.nsecsElapsed() / 1e9;
    figures.cpuSeconds = cpuSeconds() - cpuBefore;
    figures.largestStallMs = stalls.largestMs();
    figures.exact = readAll(target) == content;
    return true;
}

// Starts orvantis-sim or says why not.
inline bool startSim(SimProcess &sim, const QStringList &arguments)
{
    if (sim.start(arguments))
        return true;
    std::fprintf(stderr, "cannot start the simulator: %s\n", qPrintable(sim.errorString()));
    return false;
}

} // namespace bench
