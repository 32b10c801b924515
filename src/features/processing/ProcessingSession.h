#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>

class InstrumentSession;
class Line;
class LineClaim;

// The remote processing window's dealings with the instrument's own operating system:
// mounting its disk, listing the current directory's sub-directories and ".TLT" files,
// changing drive and directory, and running the processing program on chosen files. The
// window mirrors what the signals report; all waits let events run, so the receive loop
// keeps filling ReceiveBuffer and the Stop button stays live. A listing and a run each own
// the line: the lines they read come from ReceiveBuffer, which any other command clears.
class ProcessingSession : public QObject
{
    Q_OBJECT
public:
    static constexpr float kMountTimeout = 3.0f;
    static constexpr float kChangeTimeout = 0.2f;
    static constexpr float kProcessTimeout = 0.1f;
    static constexpr float kWaitTimeout = 0.1f;
    // A listing ends after this long without anything new arriving.
    static constexpr float kListingIdleSeconds = 2.0f;

    static QByteArray mountCommand();
    static QByteArray directoriesCommand();
    static QByteArray filesCommand();
    static QByteArray driveCommand(const QByteArray &drive);
    static QByteArray changeDirectoryCommand(const QByteArray &name);
    static QByteArray processCommand(const QByteArray &path);

    explicit ProcessingSession(InstrumentSession &session, QObject *parent = nullptr);
    ~ProcessingSession() override;

    // Mounts the instrument's disk; the call lasts its full time-out.
    void mount();
    // Lists the sub-directories, then the ".TLT" files of the current directory.
    void refresh();
    // The operator picked a drive; ignored while a refresh is under way (the refresh itself
    // shows the drive of the listing).
    void chooseDrive(const QString &drive);
    // The operator double-clicked a list line: a sub-directory is entered, others ignored.
    void openEntry(const QString &entry);
    // Runs the processing program on the ".TLT" entries among `rows` (list order), one
    // after the other, each until it reports "complete". An "aborted" report, Stop, or a
    // lost connection ends the whole run; the rows not finished stay selected.
    void process(const QList<int> &rows);
    // Interrupts the instrument (ETX straight to the port) and ends the current run.
    void stop();

    bool isBusy() const { return m_busy; }
    bool isProcessing() const { return m_processing; }
    bool stopRequested() const { return m_stop; }
    // The current directory as the list's label shows it: a blank, then the directory.
    QString directoryLabel() const { return m_directoryLabel; }
    QStringList entries() const { return m_entries; }
    int fileCount() const { return m_fileCount; }

signals:
    // A refresh began (true) or ended (false).
    void busyChanged(bool busy);
    void processingChanged(bool running);
    void entriesCleared();
    void entryAdded(const QString &entry);
    void fileCountChanged(const QString &text);
    void directoryChanged(const QString &label);
    // A listing header named this drive ("D:").
    void driveFound(const QString &drive);
    // The row's file is done; the window deselects it.
    void rowProcessed(int row);

private:
    enum class Listing { Directories, Files };
    void readListing(Line &line, Listing listing);
    // Returns false when the run must end (aborted, stopped, connection gone).
    bool processOne(Line &line, const QByteArray &path);

    InstrumentSession &m_session;
    // The line while a listing or a run owns it.
    std::unique_ptr<LineClaim> m_claim;
    bool m_busy = false;
    bool m_processing = false;
    bool m_stop = false;
    QString m_directoryLabel;
    QStringList m_entries;
    int m_fileCount = 0;
};
