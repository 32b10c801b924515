#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The instrument's directory listing ("Dir /V") read into grid rows. Each listing line has
// fixed fields: name in characters 1-12, size as shown in 13-27 (its digits in 15-27),
// date and time from 29 on.
class DirListing
{
public:
    // The request and how its reply is framed.
    static constexpr char kCommand[] = "Dir /V\r";
    static constexpr char kStartMarker[] = "Directory of A:\r\n";
    static constexpr char kEndMarker[] = ">";
    static constexpr float kTimeoutSeconds = 10.0f;

    // Grid columns: four shown, then the hidden sort keys of the date and size columns.
    enum Column {
        NameColumn = 0,
        DateColumn = 1,
        SizeColumn = 2,
        TypeColumn = 3,
        DateKeyColumn = 4,
        SizeKeyColumn = 5,
        ColumnCount = 6
    };

    struct Row {
        QString name;
        QString date;
        QString size;
        QString type;
        // Day number with a leading blank (" 40151.6076388889").
        QString dateKey;
        // The size digits without separators, keeping the field's leading blanks; it is also
        // the byte count a download expects.
        QString sizeKey;

        // The six cells in column order, and back.
        QStringList cells() const;
        static Row fromCells(const QStringList &cells);
    };

    // One listing line split at its fixed positions; short lines give empty fields.
    static Row parseLine(const QByteArray &line);

    // Every line of a reply up to its last line end becomes a row, except lines holding
    // "Directory" or "free" (exact case). The fragment after the last line end (the prompt)
    // is not a line. `freeLineSeen` tells whether the "bytes free" line was there.
    static QList<Row> parse(QByteArray reply, bool *freeLineSeen = nullptr);
};
