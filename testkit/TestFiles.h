#pragma once

#include "features/status/LampColour.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

#include <array>
#include <csignal>
#include <sys/resource.h>

// The whole of a file; empty when it cannot be read.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes `bytes` as the whole of a file, last changed `minutesAgo` minutes ago (which orders
// the file manager's grid, oldest first); false when it cannot be written.
inline bool writeFile(const QString &path, const QByteArray &bytes, int minutesAgo = 0)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
           file.setFileTime(QDateTime::currentDateTime().addSecs(-60 * minutesAgo),
                            QFileDevice::FileModificationTime);
}

// `size` bytes holding every byte value, in an order that is not just a ramp (the pattern of
// the simulator's SPECTRA.BIN), so that a transfer that loses or alters any byte shows it.
inline QByteArray everyByteValue(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 256) & 0xff);
    return bytes;
}

// `count` numbered CR LF lines of text ("line 0 of the file").
inline QByteArray textLines(int count)
{
    QByteArray lines;
    for (int i = 0; i < count; ++i)
        lines += "line " + QByteArray::number(i) + " of the file\r\n";
    return lines;
}

// A line of the instrument's "Dir /V" listing: name in 1-12, size right-aligned to 27, date
// from 29.
inline QByteArray listingLine(const QByteArray &name, const QByteArray &size,
                              const QByteArray &date = "12-04-09 14:35")
{
    return name.leftJustified(12, ' ', true) + size.rightJustified(15, ' ', true) + ' ' + date;
}

// Lamps top to bottom as letters: G green, Y yellow, A amber, R red, - unlit.
inline QString lampLetters(const std::array<LampColour, 3> &bottomToTop)
{
    QString out;
    for (int row : {2, 1, 0}) {
        const LampColour c = bottomToTop[size_t(row)];
        out += c == LampColour::Green    ? 'G'
               : c == LampColour::Yellow ? 'Y'
               : c == LampColour::Amber  ? 'A'
               : c == LampColour::Red    ? 'R'
                                         : '-';
    }
    return out;
}

// Lowers the process's file size limit to `bytes` while it lives: writes past it fail as on
// a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool isSet() const { return m_set; }

private:
    rlimit m_old{};
    bool m_set = false;
};
