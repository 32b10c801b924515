#include "SimEngine.h"

#include "SimBaudClockCommands.h"
#include "SimCoreCommands.h"
#include "SimFileCommands.h"
#include "SimProcessingCommands.h"
#include "SimSamplingCommands.h"

#include <algorithm>

namespace
{
constexpr int kMaxLineLength = 512;
}

SimEngine::SimEngine(const SimOptions &options)
    : m_options(options), m_status(options), m_disk(options.diskFolder, options.diskCapacity)
{
    if (m_options.seedDisk && m_disk.entries().isEmpty())
        m_disk.seed(clockAt(0));
    SimCoreCommands::install(*this);
    SimSamplingCommands::install(*this);
    SimFileCommands::install(*this);
    SimBaudClockCommands::install(*this);
    SimProcessingCommands::install(*this);
}

void SimEngine::feed(const QByteArray &bytes)
{
    if (m_options.silent)
        return;
    runDue();
    for (char c : bytes)
        takeByte(c);
    runDue();
}

QByteArray SimEngine::takeOutput()
{
    runDue();
    QByteArray out;
    out.swap(m_output);
    return out;
}

void SimEngine::setNow(qint64 ms)
{
    if (ms <= m_now)
        return;
    m_now = ms;
    runDue();
    m_status.update(m_now);
}

qint64 SimEngine::nextDueMs() const
{
    return m_queue.empty() ? -1 : m_queue.front().due;
}

void SimEngine::addCommand(const QByteArray &name, CommandHandler handler)
{
    m_commands.insert(name.toLower(), std::move(handler));
}

bool SimEngine::hasCommand(const QByteArray &name) const
{
    return m_commands.contains(name.toLower());
}

void SimEngine::send(const QByteArray &bytes)
{
    Entry entry;
    entry.due = m_cursor;
    entry.bytes = bytes;
    enqueue(std::move(entry));
}

void SimEngine::sendLater(qint64 delayMs, const QByteArray &bytes)
{
    Entry entry;
    entry.due = m_cursor + qMax<qint64>(0, delayMs);
    entry.bytes = bytes;
    enqueue(std::move(entry));
}

void SimEngine::later(qint64 delayMs, std::function<void()> action)
{
    Entry entry;
    entry.due = m_cursor + qMax<qint64>(0, delayMs);
    entry.action = std::move(action);
    enqueue(std::move(entry));
}

void SimEngine::finishCommand()
{
    m_busy = false;
    m_stopHook = nullptr;
    sendPrompt();
}

void SimEngine::stop()
{
    m_queue.clear();
    m_busy = false;
    m_inputHook = nullptr;
    m_stopHook = nullptr;
    m_line.clear();
    m_cursor = m_now;
}

void SimEngine::lineClosed()
{
    m_queue.erase(std::remove_if(m_queue.begin(), m_queue.end(),
                                 [](const Entry &entry) { return !entry.action; }),
                  m_queue.end());
    m_output.clear();
    m_cursor = m_now;
}

void SimEngine::restart()
{
    stop();
    m_output.clear();
    m_lastEtxPromptMs = -1;
    if (m_options.startupBaudRate > 0)
        m_options.baudRate = m_options.startupBaudRate;
    m_status.restart(m_now);
}

void SimEngine::takeByte(char c)
{
    if (c == kEtx) {
        onEtx();
        return;
    }
    if (m_inputHook) {
        // Output of the hook goes after what is already queued, never before now. The hook
        // is called through a copy: it may clear itself.
        m_cursor = qMax(m_cursor, m_now);
        const std::function<bool(char)> hook = m_inputHook;
        if (hook(c))
            return;
    }
    switch (c) {
    case '\r': {
        QByteArray line;
        line.swap(m_line);
        // A command under way takes no new commands until it ends or is stopped.
        if (!m_busy) {
            runLine(line);
        } else if (m_options.echoWhileBusy) {
            m_cursor = qMax(m_cursor, m_now);
            send(line + "\r\n");
        }
        break;
    }
    case 26:
        // Ctrl-Z outside upload mode: on an empty line it brings a fresh prompt, so the
        // second of the two that end an upload is answered too.
        if (!m_busy && m_line.isEmpty())
            runLine(QByteArray());
        break;
    case '\n':
        break;
    case '\b':
    case 127:
        m_line.chop(1);
        break;
    default:
        if (m_line.size() < kMaxLineLength)
            m_line.append(c);
    }
}

void SimEngine::onEtx()
{
    if (m_options.hangupOnProbe) {
        stop();
        requestHangUp("when probed");
        return;
    }
    if (m_options.deafToStop && commandUnderWay() == "start")
        return;
    const bool quiet = m_queue.empty() && !m_busy && m_line.isEmpty() && m_lastEtxPromptMs >= 0 &&
                       m_now - m_lastEtxPromptMs < kEtxQuietMs;
    const std::function<void()> lastWords = m_busy ? m_stopHook : nullptr;
    m_mutedByStop |= m_options.stopWithoutPrompt && commandUnderWay() == "start";
    stop();
    if (quiet)
        return;
    if (lastWords)
        lastWords();
    send("\r\n");
    if (!m_mutedByStop)
        sendPrompt(true);
}

void SimEngine::runLine(const QByteArray &line)
{
    m_cursor = qMax(m_cursor, m_now);
    send(line + "\r\n");
    const QByteArray trimmed = line.trimmed();
    if (trimmed.isEmpty()) {
        sendPrompt();
        return;
    }
    wait(m_options.replyDelayMs);

    SimCommandLine command;
    command.line = line;
    qsizetype end = 0;
    while (end < trimmed.size() && trimmed.at(end) != ' ' && trimmed.at(end) != ',')
        ++end;
    command.name = trimmed.left(end).toLower();
    command.rest = trimmed.mid(end + 1).trimmed();
    m_commandName = command.name;

    // Nothing the handler queues runs before it has returned and its prompt is decided: an
    // action due at once could otherwise end the command before the handler is done.
    const bool wasRunning = m_running;
    m_running = true;
    const auto handler = m_commands.constFind(command.name);
    if (handler == m_commands.constEnd())
        sendLine("Unknown command: " + trimmed.left(end));
    else
        (*handler)(*this, command);
    m_running = wasRunning;
    if (!m_busy)
        sendPrompt();
}

void SimEngine::sendPrompt(bool fromEtx)
{
    Entry entry;
    entry.due = m_cursor;
    entry.bytes = prompt();
    entry.isPrompt = true;
    entry.fromEtx = fromEtx;
    enqueue(std::move(entry));
}

void SimEngine::enqueue(Entry entry)
{
    // Stable: entries due at the same time keep the order they were queued in.
    const auto at = std::upper_bound(m_queue.begin(), m_queue.end(), entry.due,
                                     [](qint64 due, const Entry &e) { return due < e.due; });
    m_queue.insert(at, std::move(entry));
    if (!m_running)
        runDue();
}

void SimEngine::runDue()
{
    if (m_running)
        return;
    m_running = true;
    while (!m_queue.empty() && m_queue.front().due <= m_now) {
        Entry entry = std::move(m_queue.front());
        m_queue.pop_front();
        if (entry.action) {
            // Output of a timed action is stamped from the action's own time, so a clock
            // that jumps ahead still gives evenly spaced output.
            m_status.update(entry.due);
            m_cursor = entry.due;
            entry.action();
            continue;
        }
        m_output += entry.bytes;
        if (entry.isPrompt && entry.fromEtx)
            m_lastEtxPromptMs = entry.due;
        else if (!entry.bytes.isEmpty())
            m_lastEtxPromptMs = -1;
    }
    m_running = false;
}
