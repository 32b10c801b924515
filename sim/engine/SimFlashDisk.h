#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

// One file as the directory shows it.
struct SimDiskEntry {
    QByteArray name;
    qint64 size = 0;
    QDateTime modified;
};

// The instrument's flash memory: a flat set of files with names of at most 12 characters,
// looked up without regard to case. It lives in memory, or in a folder when one is given,
// where every change goes straight to disk and files dropped in from outside show up.
class SimFlashDisk
{
public:
    static constexpr int kMaxNameLength = 12;

    explicit SimFlashDisk(const QString &folder = QString(), qint64 capacity = 4194304);

    QString folder() const { return m_folder; }
    // False when the folder could not be made.
    bool isUsable() const { return m_usable; }

    // 1 to 12 printable ASCII characters, none of them a blank or one of " * , / : < > ? \ |,
    // and not "." or "..": "capture" refuses any other name with "Bad file name".
    static bool isValidName(const QByteArray &name);

    // Sorted by name.
    QList<SimDiskEntry> entries() const;
    bool contains(const QByteArray &name) const;
    // False when there is no such file.
    bool read(const QByteArray &name, QByteArray *bytes) const;
    // Replaces any file of that name (keeping the stored name's spelling when it exists).
    bool write(const QByteArray &name, const QByteArray &bytes, const QDateTime &modified);
    bool append(const QByteArray &name, const QByteArray &bytes, const QDateTime &modified);
    bool remove(const QByteArray &name);

    qint64 capacity() const { return m_capacity; }
    qint64 usedBytes() const;
    qint64 freeBytes() const { return qMax<qint64>(0, m_capacity - usedBytes()); }

    // A couple of small text files and a 100 KB binary file holding every byte value, dated
    // some days before `now`, so a fresh disk has something to show.
    void seed(const QDateTime &now);

private:
    struct File {
        QByteArray name;
        QByteArray bytes;
        QDateTime modified;
    };

    // The stored spelling of `name`, or an empty text.
    QByteArray storedName(const QByteArray &name) const;
    QString pathOf(const QByteArray &name) const;

    QString m_folder;
    qint64 m_capacity;
    bool m_usable = true;
    QMap<QByteArray, File> m_files; // by lower-case name; in memory only
};
