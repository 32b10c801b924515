#pragma once

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>

#include <functional>

// The one data file on the computer that receives the raw serial stream (DataFileNumber).
// Bytes are collected in memory and reach the disk at every flush(), which the receive loop
// calls once per run, so a crash loses at most the last run. Every opening and closing is
// announced (openChanged), whoever made it.
class DataFile : public QObject
{
    Q_OBJECT
public:
    // Opens `path`, replacing an existing file. Returns false with errorString() set.
    // `shownAs` names it in the event log in place of its path: a scratch file that stands
    // for somewhere else ("standard output").
    bool open(const QString &path, const QString &shownAs = QString());
    // Opens `path` for appending without truncating (used by captures that continue a file).
    bool openForAppend(const QString &path);
    // Opens the process's standard output in place of a file (the command line's "-o -").
    bool openStandardOutput();
    bool isOpen() const { return m_file.isOpen(); }
    // 1 while a file is open, 0 otherwise: the program's DataFileNumber.
    int number() const { return isOpen() ? 1 : 0; }
    QString path() const { return m_file.fileName(); }
    QString shownName() const { return m_shownAs.isEmpty() ? path() : m_shownAs; }

    void write(QByteArrayView bytes)
    {
        m_pending.append(bytes);
        if (m_observer)
            m_observer(bytes);
    }
    // Told every byte written, in order: whoever counts what the file holds (the command
    // line's run) sees exactly that.
    void setWriteObserver(std::function<void(QByteArrayView)> observer)
    {
        m_observer = std::move(observer);
    }
    // Writes what is pending to the disk. False when the disk refused it; errorNumber()
    // and errorString() then say why, and the file stays open for the caller to close.
    bool flush();
    // Flushes and closes; returns false when the last flush failed.
    bool close();
    // Closes without writing what is pending (after a failed write).
    void abandon();

    int errorNumber() const { return m_errorNumber; }
    QString errorString() const { return m_errorString; }

signals:
    void openChanged(bool open);

private:
    bool openWith(const QString &path, QIODevice::OpenMode mode, const QString &shownAs);
    bool opened(bool ok);
    void recordError();

    QFile m_file;
    QString m_shownAs;
    QByteArray m_pending;
    std::function<void(QByteArrayView)> m_observer;
    int m_errorNumber = 0;
    QString m_errorString;
};
