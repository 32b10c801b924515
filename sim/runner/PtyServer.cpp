#include "PtyServer.h"

#include "LineSpeed.h"
#include "SimStateFile.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace
{
constexpr int kIdleMs = 1000;
// While no one has the slave open the master reports a hang-up on every poll, so it is
// looked at again only this often (unless the watch on the device says it was opened).
constexpr int kHungUpProbeMs = 50;
// Pacing wakes at most this often and writes what the line carried meanwhile.
constexpr int kTickMs = 1;
constexpr int kBurstMs = 10;
// Longest wait for the far end to read what came before a hang-up asked for by the engine.
constexpr qint64 kHangUpDrainMs = 2000;
constexpr qint64 kHangUpSettleMs = 100;
// A stream is kept this far ahead of the line: little at the line rate, so that answers are
// not held up behind it, and enough flat out to fill the pty's buffer in one write.
constexpr qint64 kStreamAheadPaced = 256;
constexpr qint64 kStreamAheadFlatOut = 65536;
// What was written last gets this long to reach a far end that reads at once before the
// plug comes out.
constexpr int kUnplugSettleMs = 50;
} // namespace

PtyServer::PtyServer(const RunnerOptions &options)
    : m_options(options), m_engine(options.engine), m_input(m_device),
      m_start(std::chrono::steady_clock::now()),
      m_savedStartupRate(m_engine.options().startupBaudRate)
{
}

PtyServer::~PtyServer() = default;

bool PtyServer::open()
{
    for (auto [record, path] : {std::pair{&m_record, m_options.recordPath},
                                std::pair{&m_recordInput, m_options.recordInputPath}}) {
        if (!record->open(path)) {
            m_error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
    }
    if (LineSpeed::fromBaud(m_engine.baudRate()) == B0) {
        m_error = QStringLiteral("no line speed for %1 baud").arg(m_engine.baudRate());
        return false;
    }
    if (!m_device.open(m_options.linkPath)) {
        m_error = m_device.errorString();
        return false;
    }
    return true;
}

qint64 PtyServer::elapsedMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 m_start)
        .count();
}

bool PtyServer::lineRateMatches() const
{
    return !m_options.garbage && m_device.lineRate() == m_engine.baudRate();
}

int PtyServer::run(int signalFd)
{
    for (;;) {
        const qint64 now = elapsedMs();
        if (m_options.hangupAfterMs >= 0 && now >= m_options.hangupAfterMs) {
            hangUp();
            std::fprintf(stderr, "orvantis-sim: line closed after %lld ms\n",
                         static_cast<long long>(now));
            return 0;
        }
        if (m_options.unplugAfterMs >= 0 && !m_timedUnplugDone && now >= m_options.unplugAfterMs) {
            m_timedUnplugDone = true;
            unplug(m_options.unplugForMs);
        }
        if (m_unplugged && now >= m_replugAtMs && !replug())
            return 1;
        // Also after the console closed the port: what was still in the adapter goes on.
        if (!m_unplugged)
            hear(m_input.take(now, m_engine.baudRate()));
        m_engine.setNow(now);
        const QByteArray out = m_engine.takeOutput();
        reportSampling();
        // An instrument talking to no one is not heard, but after an unplug what it says
        // still takes the line's time: a new device opened meanwhile hears the rest.
        if ((!m_hungUp || m_talkingToNoOne) && !out.isEmpty()) {
            if (m_noisy)
                m_pending += m_noise.next();
            else
                m_pending += m_unplugged || lineRateMatches() ? out : m_garbler.garble(out);
        }
        if (!m_hungUp) {
            feedStream();
            writeLine(now);
        } else if (m_talkingToNoOne) {
            sayToNoOne(now);
        }
        // A fault switch asked for the line to go: it goes once the bytes before have been
        // read at the far end (closing the master drops what is unread).
        if (m_engine.hangUpRequested() && (m_pending.isEmpty() || m_hungUp)) {
            if (m_hangUpSinceMs < 0)
                m_hangUpSinceMs = now;
            // Bytes just written take a moment to show up as unread at the far end.
            const bool read =
                now >= m_hangUpSinceMs + kHangUpSettleMs && m_device.unreadAtFarEnd() == 0;
            if (m_hungUp || read || now >= m_hangUpSinceMs + kHangUpDrainMs) {
                hangUp();
                std::fprintf(stderr, "orvantis-sim: line closed %s\n",
                             m_engine.hangUpReason().constData());
                return 0;
            }
        }

        pollfd fds[3] = {
            {signalFd, POLLIN, 0}, {m_device.watch(), POLLIN, 0}, {m_device.master(), 0, 0}};
        // Bytes already crossing are taken when the line has carried them, not when they
        // are there to be read.
        if (m_input.dueInMs(now, m_engine.baudRate()) < 0)
            fds[2].events |= POLLIN;
        if (m_blocked)
            fds[2].events |= POLLOUT;
        const int count = m_hungUp ? 2 : 3;
        const int ready = ::poll(fds, count, pollTimeout(now));
        if (ready < 0 && errno != EINTR)
            return 1;
        if (ready > 0 && fds[0].revents && readSignals(signalFd))
            return 0;
        // Before the device's own input: the console may have opened it again already. What
        // it sent before the close still crosses; the answers are not heard.
        if (ready > 0 && fds[1].revents && m_device.takeCloseEvents())
            farEndClosed();
        if (m_hungUp) {
            pollfd probe{m_device.master(), POLLIN, 0};
            if (!m_unplugged && ::poll(&probe, 1, 0) >= 0 && !(probe.revents & POLLHUP)) {
                sayToNoOne(elapsedMs());
                m_talkingToNoOne = false;
                m_hungUp = false;
                m_engine.lineOpened();
                m_credit = 0;
                m_creditMs = elapsedMs();
            }
            continue;
        }
        if (fds[2].revents & POLLOUT)
            m_blocked = false;
        if (fds[2].revents & (POLLHUP | POLLERR))
            farEndClosed();
    }
}

void PtyServer::hear(const LineInput::Taken &taken)
{
    if (taken.bytes.isEmpty())
        return;
    const bool atRate = !m_options.garbage && taken.rate == m_engine.baudRate();
    const QByteArray heard = atRate ? taken.bytes : m_inputGarbler.garble(taken.bytes);
    m_recordInput.append(heard);
    // The engine's clock stands where the last wake-up left it, up to a second ago; what
    // the command starts must be timed from now.
    m_engine.setNow(elapsedMs());
    if (atRate) {
        m_engine.feed(heard);
        reportSampling();
        saveState();
    } else if (!m_engine.options().silent && !m_hungUp) {
        m_pending += m_garbler.answerTo(taken.bytes);
    }
}

void PtyServer::farEndClosed()
{
    if (m_hungUp)
        return;
    m_hungUp = true;
    m_pending.clear();
    m_blocked = false;
    m_device.flushSlaveInput();
    m_engine.lineClosed();
}

void PtyServer::writeLine(qint64 nowMs)
{
    const double bytesPerMs = m_engine.baudRate() / 10.0 / 1000.0;
    m_credit = std::min(m_credit + (nowMs - m_creditMs) * bytesPerMs,
                        std::max(1.0, bytesPerMs * kBurstMs));
    m_creditMs = nowMs;
    if (m_pending.isEmpty() || m_blocked)
        return;
    const bool unpaced = m_options.fast || m_flatOut;
    const qsizetype allowed =
        unpaced ? m_pending.size() : std::min<qsizetype>(m_pending.size(), qsizetype(m_credit));
    if (allowed <= 0)
        return;
    // Recorded before it goes: a simulator killed in between has sent nothing its record
    // lacks. What the line did not take is taken off the record again.
    m_record.append(m_pending.left(allowed));
    const ssize_t n = ::write(m_device.master(), m_pending.constData(), size_t(allowed));
    if (n < allowed)
        m_record.takeBack(allowed - std::max<ssize_t>(n, 0));
    if (n > 0) {
        m_pending.remove(0, n);
        if (!unpaced)
            m_credit -= double(n);
        if (m_pending.isEmpty() && !m_stream.active())
            m_flatOut = false;
        if (n < allowed)
            m_blocked = true;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        m_blocked = true;
    }
}

void PtyServer::sayToNoOne(qint64 nowMs)
{
    m_credit += double(nowMs - m_creditMs) * m_engine.baudRate() / 10000.0;
    m_creditMs = nowMs;
    const qsizetype lost =
        m_options.fast ? m_pending.size() : std::min(m_pending.size(), qsizetype(m_credit));
    m_pending.remove(0, lost);
    m_credit = m_pending.isEmpty() ? 0 : m_credit - double(lost);
}

int PtyServer::pollTimeout(qint64 nowMs) const
{
    qint64 timeout = kIdleMs;
    const auto within = [&timeout](qint64 ms) {
        timeout = std::min(timeout, std::max<qint64>(0, ms));
    };
    const qint64 due = m_engine.nextDueMs();
    if (due >= 0)
        within(due - nowMs);
    if (m_unplugged) {
        within(m_replugAtMs - nowMs);
    } else {
        if (m_hungUp)
            within(kHungUpProbeMs);
        const qint64 input = m_input.dueInMs(nowMs, m_engine.baudRate());
        if (input >= 0)
            within(input > 0 ? std::max<qint64>(kTickMs, input) : 0);
    }
    if (!m_unplugged && !m_hungUp && (!m_pending.isEmpty() || m_stream.active()) && !m_blocked) {
        if (m_options.fast || m_flatOut) {
            timeout = 0;
        } else {
            const double bytesPerMs = m_engine.baudRate() / 10000.0;
            within(std::max<qint64>(kTickMs, qint64(std::ceil((1.0 - m_credit) / bytesPerMs))));
        }
    }
    if (m_engine.hangUpRequested())
        within(kTickMs);
    if (m_options.hangupAfterMs >= 0)
        within(m_options.hangupAfterMs - nowMs);
    if (m_options.unplugAfterMs >= 0 && !m_timedUnplugDone)
        within(m_options.unplugAfterMs - nowMs);
    return int(timeout);
}

void PtyServer::saveState()
{
    const int rate = m_engine.options().startupBaudRate;
    if (m_options.stateFile.isEmpty() || rate == m_savedStartupRate)
        return;
    SimStateFile file(m_options.stateFile);
    if (!file.save(m_engine.options()))
        std::fprintf(stderr, "orvantis-sim: cannot write %s: %s\n", qPrintable(m_options.stateFile),
                     qPrintable(file.errorString()));
    m_savedStartupRate = rate;
}

bool PtyServer::readSignals(int signalFd)
{
    // Each message is written whole (far below PIPE_BUF), so a length follows its byte.
    char byte = 0;
    bool stop = false;
    while (::read(signalFd, &byte, 1) == 1) {
        qint32 value = 0;
        if (byte == kStatusToggleByte)
            toggleStatusAnswers();
        else if (byte == kNoiseToggleByte)
            toggleNoise();
        else if (byte != kStreamPacedByte && byte != kStreamFlatOutByte && byte != kUnplugByte)
            stop = true;
        else if (::read(signalFd, &value, sizeof value) != sizeof value)
            continue;
        else if (byte == kUnplugByte)
            unplug(value < 0 ? m_options.unplugForMs : value);
        else
            startStream(value, byte == kStreamFlatOutByte);
    }
    return stop;
}

void PtyServer::toggleStatusAnswers()
{
    SimOptions &options = m_engine.options();
    const bool answering = options.statusMuteMs >= 0 && m_engine.now() >= options.statusMuteMs;
    options.statusMuteMs = answering ? -1 : 0;
    std::fprintf(stderr, "orvantis-sim: status answers %s\n", answering ? "off" : "on");
}

void PtyServer::toggleNoise()
{
    m_noisy = !m_noisy;
    std::fprintf(stderr, "orvantis-sim: noise in place of answers %s\n", m_noisy ? "on" : "off");
}

void PtyServer::startStream(qint32 bytes, bool flatOut)
{
    m_stream.start(bytes);
    m_flatOut = flatOut;
    std::fprintf(stderr, "orvantis-sim: streaming %d bytes of sample lines %s\n", int(bytes),
                 flatOut ? "flat out" : "at the line rate");
}

void PtyServer::feedStream()
{
    const qint64 ahead = m_flatOut ? kStreamAheadFlatOut : kStreamAheadPaced;
    if (!m_stream.active() || m_pending.size() >= ahead)
        return;
    const QByteArray more = m_stream.take(ahead - m_pending.size());
    m_pending += lineRateMatches() ? more : m_garbler.garble(more);
}

void PtyServer::unplug(qint64 forMs)
{
    m_replugAtMs = elapsedMs() + forMs;
    if (m_unplugged)
        return;
    if (!m_hungUp) {
        // What the console sent before the plug came out has reached the instrument.
        hear(m_input.takeAll());
        if (!m_hungUp)
            takeBackUnread();
    }
    m_device.close();
    m_unplugged = true;
    m_hungUp = true;
    m_talkingToNoOne = true;
    m_blocked = false;
    m_engine.lineClosed();
    std::printf("unplugged\n");
    std::fflush(stdout);
    std::fprintf(stderr, "orvantis-sim: unplugged for %lld ms\n", static_cast<long long>(forMs));
}

void PtyServer::takeBackUnread()
{
    ::poll(nullptr, 0, kUnplugSettleMs);
    m_record.takeBack(m_device.takeBackUnread());
}

bool PtyServer::replug()
{
    const bool another = !m_options.serialAfterReplug.isEmpty();
    // A restarted instrument does not finish what the old one was saying.
    if (m_options.restartOnReplug || another) {
        m_engine.restart();
        m_pending.clear();
    }
    if (another)
        m_engine.options().serial = m_options.serialAfterReplug;
    reportSampling();
    if (!m_device.open(m_options.linkPath)) {
        std::fprintf(stderr, "orvantis-sim: cannot plug in again: %s\n",
                     qPrintable(m_device.errorString()));
        return false;
    }
    // Hung up still, until someone opens the new device.
    m_unplugged = false;
    std::printf("%s\n", qPrintable(m_device.path()));
    std::fflush(stdout);
    std::fprintf(stderr, "orvantis-sim: plugged in again as %s%s\n", qPrintable(m_device.path()),
                 m_options.restartOnReplug || another ? ", restarted" : "");
    return true;
}

void PtyServer::reportSampling()
{
    const bool sampling = m_engine.commandUnderWay() == "start";
    if (sampling == m_sampling)
        return;
    m_sampling = sampling;
    std::fprintf(stderr, "orvantis-sim: periodic sampling %s\n", sampling ? "started" : "stopped");
}

void PtyServer::hangUp()
{
    m_device.close();
}
