#pragma once

#include <QString>

// One pseudo-terminal as the console sees a serial device: the master side that the
// simulator serves, the slave's path (and a symbolic link to it, when asked for), and a watch
// on the slave's opens and closes. Closing it makes the device vanish as an unplugged USB
// adapter does; opening it again gives a new device behind the same link.
class PtyDevice
{
public:
    PtyDevice() = default;
    ~PtyDevice() { close(); }
    PtyDevice(const PtyDevice &) = delete;
    PtyDevice &operator=(const PtyDevice &) = delete;

    // A new pseudo-terminal, raw at 9600 baud as a new adapter is, with `linkPath` (when not
    // empty) pointing at it; an existing link is replaced in one step, never left missing.
    // False with errorString().
    bool open(const QString &linkPath);
    // The device goes: whoever holds it open reads end of file, its path and the link are gone.
    void close();
    bool isOpen() const { return m_master >= 0; }

    int master() const { return m_master; }
    // Readable when the device was opened or closed; -1 when it cannot be watched.
    int watch() const { return m_watch; }
    QString path() const { return m_path; }
    QString errorString() const { return m_error; }

    // The rate whoever opened the device set on the line; 0 when it is not a plain rate.
    int lineRate() const;
    // Takes the watch's events; true when the device was closed since the last call. The
    // opens and closes made here take theirs at once, so only the console's count.
    bool takeCloseEvents();
    // Drops what the far end has not read yet, so that whoever opens it next does not see
    // what was said to the one before.
    void flushSlaveInput();
    // Bytes the far end has not read yet.
    int unreadAtFarEnd();
    // Reads back what the far end has not read yet, so that it never will; how many bytes.
    // 0 when the device cannot be opened beside the console (held exclusively).
    qint64 takeBackUnread();

private:
    // The slave opened beside whoever holds it; -1 when it cannot be.
    int openSlave();
    bool makeLink(const QString &linkPath);
    bool fail(const char *what);

    int m_master = -1;
    int m_watch = -1;
    QString m_path;
    QString m_linkPath;
    QString m_error;
};
