#pragma once

#include <QByteArray>
#include <QList>

// The arguments of an acquire command. "Acquire auto,10,1,SAMPLE1,0,-1,4" takes fields at
// commas; "acquire fixed 100 1 "" 0 -1 2" at blanks. The fields after the mode: number of
// spectra, 1, flash file name (or ""), 0, -1, and an optional destination: 1 store in
// flash, 2 send, 4 both; without it the sample is neither sent nor stored.
struct SimAcquireRequest {
    QByteArray mode; // "auto" or "fixed", lower case
    int spectra = 1;
    QByteArray flashName; // without quotes
    bool send = false;
    bool store = false;

    // `rest` is what follows the command's name. False when the arguments make no sense.
    static bool parse(const QByteArray &rest, SimAcquireRequest *request)
    {
        const QByteArray text = rest.trimmed();
        qsizetype end = 0;
        while (end < text.size() && text.at(end) != ' ' && text.at(end) != ',')
            ++end;
        SimAcquireRequest r;
        r.mode = text.left(end).toLower();
        const QByteArray fields = text.mid(end + 1).trimmed();
        QList<QByteArray> parts;
        if (fields.contains(',')) {
            parts = fields.split(',');
        } else {
            for (const QByteArray &part : fields.split(' '))
                if (!part.isEmpty())
                    parts.append(part);
        }
        if ((r.mode != "auto" && r.mode != "fixed") || parts.size() < 5 || parts.size() > 6)
            return false;
        bool ok = false;
        r.spectra = parts.at(0).trimmed().toInt(&ok);
        if (!ok || r.spectra < 1)
            return false;
        r.flashName = parts.at(2).trimmed();
        if (r.flashName.startsWith('"') && r.flashName.endsWith('"') && r.flashName.size() >= 2)
            r.flashName = r.flashName.mid(1, r.flashName.size() - 2);
        if (parts.size() == 6) {
            const QByteArray destination = parts.at(5).trimmed();
            if (destination != "1" && destination != "2" && destination != "4")
                return false;
            r.send = destination != "1";
            r.store = destination != "2";
        }
        *request = r;
        return true;
    }
};
