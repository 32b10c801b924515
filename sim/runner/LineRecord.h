#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>

// What crossed the line one way, appended to a file for tests that compare: written just
// before the bytes go, so that a simulator killed in between has sent nothing its record
// lacks, and bytes that did not go after all are taken off its end again.
class LineRecord
{
public:
    LineRecord() = default;
    ~LineRecord();
    LineRecord(const LineRecord &) = delete;
    LineRecord &operator=(const LineRecord &) = delete;

    // Appends to `path`; an empty path keeps no record. False when it cannot be written.
    bool open(const QString &path);
    void append(const QByteArray &bytes);
    // Takes the last `count` bytes off again.
    void takeBack(qint64 count);

private:
    FILE *m_file = nullptr;
    QString m_path;
};
