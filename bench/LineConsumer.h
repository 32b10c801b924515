#pragma once

// What the side-by-side benchmarks share: another process measured from outside through
// /proc (CPU, wakeups, peak memory), and one consumer of the simulated line (the console,
// picocom or the command line) on a fresh simulator of its own, fed the simulator's stream.

#include "BenchSupport.h"

#include <QDir>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <functional>
#include <unistd.h>
#include <vector>

namespace bench
{

constexpr int kSideBySideBaud = 115200;
constexpr double kMB = 1e6;
// Before a case starts, and at least this long after a file is complete before the work
// after it counts as done.
constexpr int kSettleMs = 1000;
inline const char kConsoleFlag[] = "--console";

struct Snapshot {
    double cpu = 0;     // s, user + system, all threads
    qint64 wakeups = 0; // voluntary context switches, all threads
    qint64 elapsed = 0; // ms on benchClock()
};

inline QElapsedTimer &benchClock()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock;
}

inline Snapshot snapshot(qint64 pid)
{
    Snapshot s;
    const QByteArray stat = readAll(QStringLiteral("/proc/%1/stat").arg(pid));
    // Fields after the command name (in brackets, it may hold blanks) start with field 3;
    // utime and stime are fields 14 and 15.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    s.cpu = (fields.value(11).toLongLong() + fields.value(12).toLongLong()) /
            double(sysconf(_SC_CLK_TCK));
    const QString tasks = QStringLiteral("/proc/%1/task/").arg(pid);
    for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        s.wakeups += statusField(tasks + task + "/status", "voluntary_ctxt_switches:");
    s.elapsed = benchClock().elapsed();
    return s;
}

inline long peakKb(qint64 pid)
{
    return statusField(QStringLiteral("/proc/%1/status").arg(pid), "VmHWM:");
}

// Sleeps in short steps until `done` or `timeoutMs`; false on the time-out.
inline bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > timeoutMs)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// Waits at least kSettleMs, then until the CPU time stops growing (at most 30 s more).
inline Snapshot settled(qint64 pid)
{
    QThread::msleep(kSettleMs);
    Snapshot last = snapshot(pid);
    for (int i = 0; i < 100; ++i) {
        QThread::msleep(300);
        const Snapshot now = snapshot(pid);
        if (now.cpu == last.cpu)
            break;
        last = now;
    }
    return last;
}

// The median of one figure over the runs.
template <typename Figures, typename Figure>
double median(const std::vector<Figures> &runs, Figure of)
{
    std::vector<double> values;
    for (const Figures &f : runs)
        values.push_back(of(f));
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A figure for the tables: whole numbers from 100 on, else two or three digits.
inline QString number(double value)
{
    return value >= 100 ? QString::number(value, 'f', 0)
                        : QString::number(value, 'g', value < 1 ? 2 : 3);
}

enum class Kind { Console, Picocom, Cli };

inline const char *name(Kind kind)
{
    switch (kind) {
    case Kind::Console:
        return "console";
    case Kind::Picocom:
        return "picocom";
    case Kind::Cli:
        return "orvantis";
    }
    return "";
}

struct StreamCase {
    bool exact = false;
    double cpuPerMB = 0;         // to the file complete
    double settledCpuPerMB = 0;  // including the work after it
    double wakeupsPerSecond = 0; // to the file complete
};

// One consumer on a fresh simulator of its own, writing what it receives to a file: the
// console (`consoleProgram --console`, see sidebyside_picocom), picocom with a log file, or
// orvantis in a periodic run whose period is longer than the benchmark.
class LineConsumer
{
public:
    LineConsumer(Kind kind, const QString &folder, bool streaming, bool terminal = false)
        : m_kind(kind), m_folder(folder), m_record(folder + "/line.bin"),
          m_output(folder + (kind == Kind::Picocom ? "/picocom.log" : "/data.raw")),
          m_streaming(streaming), m_terminal(terminal)
    {
    }
    ~LineConsumer()
    {
        m_consumer.terminate();
        if (!m_consumer.waitForFinished(5000))
            m_consumer.kill();
        m_consumer.waitForFinished(5000);
    }

    // The program that runs the console with --console (this program unless set), and the
    // command line.
    static QString &consoleProgram()
    {
        static QString program;
        return program;
    }
    static QString &cliProgram()
    {
        static QString program;
        return program;
    }

    // The simulator and the consumer, connected and quiet; false with a message.
    bool start()
    {
        if (!startSim(m_sim, {"--baud", QString::number(kSideBySideBaud), "--record", m_record}))
            return false;
        m_consumer.setStandardErrorFile(m_folder + "/" + name(m_kind) + ".err");
        const QString device = m_sim.devicePath();
        bool ready = false;
        if (m_kind == Kind::Picocom) {
            // Its terminal output goes nowhere; its standard input stays open (a pipe). It
            // passes a SIGTERM on to its process group, so it gets a group of its own.
            m_consumer.setStandardOutputFile(QProcess::nullDevice());
            m_consumer.setChildProcessModifier([] { ::setpgid(0, 0); });
            m_consumer.start("picocom", {"--baud", QString::number(kSideBySideBaud), "--noreset",
                                         "--quiet", "--logfile", m_output, device});
            ready = waitUntil([this, device] { return hasOpen(device); }, 10000);
        } else {
            if (m_kind == Kind::Console) {
                QStringList arguments{kConsoleFlag, device, m_folder + "/settings"};
                if (m_streaming)
                    arguments << m_output;
                if (m_terminal)
                    arguments << "terminal";
                const QString program = consoleProgram();
                m_consumer.start(program.isEmpty() ? QCoreApplication::applicationFilePath()
                                                   : program,
                                 arguments);
            } else {
                QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
                env.insert("XDG_CONFIG_HOME", m_folder + "/settings");
                m_consumer.setProcessEnvironment(env);
                m_consumer.start(cliProgram(),
                                 {"--port", device, "--rate", QString::number(kSideBySideBaud),
                                  "--quiet", "run", "--period", "3600", "-o", m_output});
            }
            // Ready: the console says so, orvantis prints its first sample.
            ready = waitUntil(
                        [this] {
                            m_consumer.waitForReadyRead(100);
                            return m_consumer.canReadLine() ||
                                   m_consumer.state() == QProcess::NotRunning;
                        },
                        60000) &&
                    m_consumer.readLine().size() > 1;
        }
        if (!ready) {
            std::fprintf(stderr, "%s did not get ready: %s\n", name(m_kind),
                         readAll(m_folder + "/" + name(m_kind) + ".err").constData());
            return false;
        }
        QThread::msleep(kSettleMs);
        m_lineStart = fileSize(m_record);
        m_outputStart = fileSize(m_output);
        return true;
    }

    qint64 pid() const { return m_consumer.processId(); }

    // Has the simulator send `bytes` of sample lines and measures the consumer until they
    // are all in its file, then until it has settled.
    bool stream(qint64 bytes, bool flatOut, StreamCase &result)
    {
        const Snapshot before = snapshot(pid());
        if (!m_sim.stream(int(bytes), flatOut)) {
            std::fprintf(stderr, "cannot signal the simulator: %s\n",
                         m_sim.standardError().constData());
            return false;
        }
        const qint64 from = m_sent;
        m_sent += bytes;
        const qint64 wanted = m_outputStart + m_sent;
        if (!waitUntil([&] { return fileSize(m_output) >= wanted; }, 120000)) {
            std::fprintf(stderr, "%s: %lld of %lld bytes arrived\n", name(m_kind),
                         qlonglong(fileSize(m_output) - m_outputStart), qlonglong(m_sent));
            return false;
        }
        const Snapshot done = snapshot(pid());
        const Snapshot after = settled(pid());
        const double mb = bytes / kMB;
        result.cpuPerMB = (done.cpu - before.cpu) / mb;
        result.settledCpuPerMB = (after.cpu - before.cpu) / mb;
        result.wakeupsPerSecond = (done.wakeups - before.wakeups) * 1000.0 /
                                  qMax<qint64>(1, done.elapsed - before.elapsed);
        result.exact = fileSize(m_output) == wanted && readFrom(m_output, m_outputStart + from) ==
                                                           readFrom(m_record, m_lineStart + from);
        return true;
    }

private:
    // Whether the process holds `device` open.
    bool hasOpen(const QString &device) const
    {
        const QString fds = QStringLiteral("/proc/%1/fd/").arg(pid());
        for (const QString &fd : QDir(fds).entryList(QDir::System | QDir::NoDotAndDotDot)) {
            if (QFile::symLinkTarget(fds + fd) == device)
                return true;
        }
        return false;
    }

    Kind m_kind;
    QString m_folder;
    QString m_record;
    QString m_output;
    bool m_streaming;
    bool m_terminal;
    SimProcess m_sim;
    QProcess m_consumer;
    qint64 m_lineStart = 0;
    qint64 m_outputStart = 0;
    qint64 m_sent = 0;
};

} // namespace bench
