#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSet>

// The instrument's own disk as its operating system shows it: drives C: to G: (those that
// hold anything), directories, files with sizes, a current drive and a current directory
// per drive. It must be mounted before it answers. Paths are kept in capitals, as the
// operating system shows them, and matched without regard to case.
class SimInstrumentDisk
{
public:
    // How the processing program paces its reports.
    qint64 processingStepMs = 500;
    int processingSteps = 3;

    // An empty disk with drive C: only.
    SimInstrumentDisk();
    // C: with DATA (RUN1.TLT, RUN2.TLT, CAL.TLT, NOTES.TXT) and DATA\OLD (RUN0.TLT), D: with
    // ARCHIVE (A1.TLT).
    static SimInstrumentDisk sample();

    // Adds the directory and the ones above it ("C:\DATA\OLD").
    void addDirectory(const QByteArray &path);
    // Adds the file and its directories ("C:\DATA\RUN1.TLT").
    void addFile(const QByteArray &path, qint64 size);
    void removeFile(const QByteArray &path) { m_files.remove(path.toUpper()); }

    bool isMounted() const { return m_mounted; }
    // The volume name must be given; any name mounts.
    bool mount(const QByteArray &volume);

    QByteArray currentDrive() const { return m_drive; }
    // "C:\" or "C:\DATA".
    QByteArray currentDirectory() const;
    // "D:"; false for a drive that holds nothing.
    bool setDrive(const QByteArray &drive);
    // ".." (parent), "\" (root), absolute ("C:\DATA") or relative ("DATA\OLD") paths.
    bool changeDirectory(const QByteArray &path);

    // The listing lines of the current directory: "/AD" gives sub-directories (with "." and
    // ".." below the root), a pattern such as "*.tlt" the matching files, nothing gives both.
    // Header with "Directory of", totals and the "bytes free" line included.
    QList<QByteArray> listing(const QByteArray &arguments) const;

    // The file the processing program is given: "C:\DATA\RUN1" or "RUN1" (".TLT" added),
    // also a directory text directly followed by the name ("C:\DATARUN1"). Empty when
    // there is no such file.
    QByteArray findProcessingFile(const QByteArray &path) const;

private:
    QByteArray resolve(const QByteArray &path) const;
    bool isDirectory(const QByteArray &path) const { return m_directories.contains(path); }
    QByteArray driveOf(const QByteArray &path) const { return path.left(2); }

    bool m_mounted = false;
    QByteArray m_drive = "C:";
    // Current directory per drive, "C:\" style.
    QMap<QByteArray, QByteArray> m_current;
    QSet<QByteArray> m_directories;
    QMap<QByteArray, qint64> m_files;
};
