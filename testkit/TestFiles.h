#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The whole of a file; empty when it cannot be read.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes `bytes` as the whole of a file; false when it cannot be written.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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
