#include "features/processing/ProcessingSession.h"

#include "features/processing/ProcessingListing.h"
#include "session/Clock.h"
#include "session/InstrumentSession.h"
#include "session/LineClaim.h"
#include "support/StringCode.h"

#include <algorithm>

namespace
{
const char kEtx = 3;

// Takes the first complete line (ended by CR or LF) off the front of ReceiveBuffer; false
// while it holds none. A CR LF pair ends one line: the LF left over starts an empty one.
bool takeLine(InstrumentSession &session, QByteArray *line)
{
    const QByteArray &text = session.ReceiveBuffer();
    qsizetype end = 0;
    while (end < text.size() && text.at(end) != '\r' && text.at(end) != '\n')
        ++end;
    if (end == text.size())
        return false;
    *line = text.left(end);
    session.cutReceiveBuffer(end + 1);
    return true;
}
} // namespace

QByteArray ProcessingSession::mountCommand()
{
    return QByteArrayLiteral("OS \"mount BIHD\"\r\n");
}

QByteArray ProcessingSession::directoriesCommand()
{
    return QByteArrayLiteral("OS \"DIR /AD\"\r");
}

QByteArray ProcessingSession::filesCommand()
{
    // Lower case on purpose: the echo of this command must not pass for a ".TLT" entry.
    return QByteArrayLiteral("OS \"DIR *.tlt\"\r");
}

QByteArray ProcessingSession::driveCommand(const QByteArray &drive)
{
    // The instrument takes the drive without a closing quotation mark.
    return "OS \"" + drive + "\r\n";
}

QByteArray ProcessingSession::changeDirectoryCommand(const QByteArray &name)
{
    return "OS \"CD " + name + "\"\r\n";
}

QByteArray ProcessingSession::processCommand(const QByteArray &path)
{
    return "DIRIDovavud \"" + path + "\"\r\n";
}

ProcessingSession::ProcessingSession(InstrumentSession &session, QObject *parent)
    : QObject(parent), m_session(session)
{
}

ProcessingSession::~ProcessingSession() = default;

void ProcessingSession::mount()
{
    m_session.line().SendCommand(mountCommand(), "", "", kMountTimeout);
}

void ProcessingSession::refresh()
{
    // A refresh in the middle of a run would take the processing program's reports out of
    // ReceiveBuffer.
    if (m_busy || m_processing)
        return;
    m_claim = std::make_unique<LineClaim>(m_session.claimLine(LineOperation::Processing));
    if (!*m_claim) {
        m_claim.reset();
        return;
    }
    Line &line = *m_claim;
    m_busy = true;
    emit busyChanged(true);

    line.SendCommand(directoriesCommand(), "", "", 0);
    m_entries.clear();
    emit entriesCleared();
    emit fileCountChanged(QString());
    readListing(line, Listing::Directories);

    line.SendCommand(filesCommand(), "", "", 0);
    m_fileCount = 0;
    readListing(line, Listing::Files);

    m_busy = false;
    m_claim.reset();
    emit busyChanged(false);
}

// Takes the listing off ReceiveBuffer line by line until its "bytes free" line, or until
// nothing new has come for a while. A partial line left in the buffer (a prompt) does not
// count as something new, so a listing without its last line still ends.
void ProcessingSession::readListing(Line &line, Listing listing)
{
    const Clock &clock = m_session.clock();
    const QByteArray &buffer = m_session.ReceiveBuffer();
    float idleStart = clock.timeOfDay();
    qsizetype seen = buffer.size();
    for (;;) {
        if (!buffer.isEmpty()) {
            const qsizetype before = buffer.size();
            QByteArray rest = buffer;
            const QByteArray text = NextLine(rest);
            m_session.cutReceiveBuffer(before - rest.size());
            if (before != seen || buffer.size() != before)
                idleStart = clock.timeOfDay();
            seen = buffer.size();

            const ProcessingListing::Line entry = ProcessingListing::classify(text);
            switch (entry.kind) {
            case ProcessingListing::Kind::Header:
                m_directoryLabel = QLatin1Char(' ') + QString::fromLatin1(entry.directory);
                emit directoryChanged(m_directoryLabel);
                if (!entry.drive.isEmpty())
                    emit driveFound(QString::fromLatin1(entry.drive));
                break;
            case ProcessingListing::Kind::Entry:
                m_entries.append(QString::fromLatin1(text));
                emit entryAdded(m_entries.constLast());
                if (listing == Listing::Files) {
                    ++m_fileCount;
                    emit fileCountChanged(tr("File Count:%1").arg(m_fileCount));
                }
                break;
            case ProcessingListing::Kind::End:
                return;
            case ProcessingListing::Kind::Hidden:
            case ProcessingListing::Kind::Other:
                break;
            }
        }
        line.pass();
        // Nothing more comes over a closed port (the line went, or the program is ending).
        if (!line.portOpen())
            return;
        const float now = clock.timeOfDay();
        if (now < idleStart)
            idleStart -= Clock::kSecondsPerDay;
        if (now - idleStart >= kListingIdleSeconds)
            return;
    }
}

void ProcessingSession::chooseDrive(const QString &drive)
{
    if (m_busy)
        return;
    m_session.line().SendCommand(driveCommand(drive.toLatin1()), "", "", kChangeTimeout);
    refresh();
}

void ProcessingSession::openEntry(const QString &entry)
{
    const QByteArray text = entry.toLatin1();
    if (!ProcessingListing::isDirectory(text))
        return;
    m_session.line().SendCommand(changeDirectoryCommand(FirstWord(text)), "", "", kChangeTimeout);
    refresh();
}

void ProcessingSession::process(const QList<int> &rows)
{
    if (m_processing || m_busy)
        return;
    m_claim = std::make_unique<LineClaim>(m_session.claimLine(LineOperation::Processing));
    if (!*m_claim) {
        m_claim.reset();
        return;
    }
    Line &line = *m_claim;
    m_stop = false;
    m_processing = true;
    emit processingChanged(true);

    QList<int> order = rows;
    std::sort(order.begin(), order.end());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    const QStringList entries = m_entries;
    const QByteArray directory = m_directoryLabel.toLatin1();
    for (int row : order) {
        if (row < 0 || row >= entries.size())
            continue;
        const QByteArray path =
            ProcessingListing::processingPath(directory, entries.at(row).toLatin1());
        if (!path.isEmpty() && !processOne(line, path))
            break;
        emit rowProcessed(row);
    }

    m_processing = false;
    m_claim.reset();
    emit processingChanged(false);
}

bool ProcessingSession::processOne(Line &line, const QByteArray &path)
{
    const StopOnExit stop = line.stopOnExit(QByteArray(1, kEtx));
    line.SendCommand(processCommand(path), "", "", kProcessTimeout);
    while (!m_stop) {
        // Nothing will report on a closed port, and the wait would not let events run.
        if (!line.portOpen())
            return false;
        // The reports are taken off ReceiveBuffer a line at a time, however many arrived in
        // one receive run; the wait itself frames nothing, so no line is cut away unseen.
        QByteArray report;
        while (takeLine(m_session, &report)) {
            if (report.contains("complete"))
                return true;
            if (report.contains("aborted"))
                return false;
        }
        line.SendCommand("", "", "", kWaitTimeout);
    }
    return false;
}

void ProcessingSession::stop()
{
    // Straight to the port, past any command under way; a closed port takes nothing. During
    // a run the run's own line carries it.
    Line &line = m_claim ? static_cast<Line &>(*m_claim) : m_session.line();
    line.write(QByteArray(1, kEtx));
    m_stop = true;
}
