#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The values of one status line at the time it was seen, for the status history.
struct StatusSample {
    // A subsystem as its three lamps show it.
    enum class State { Off, Settling, Stable };

    QDateTime time; // UTC
    // NaN when the line carried no readable ambient temperature.
    double ambient = 0;
    double deviation = 0;
    qint32 lightSeconds = 0;
    State thermal = State::Off;
    State light = State::Off;
    // The first line of the text handed over, without its line end.
    QByteArray line;

    bool hasAmbient() const;

    // Reads `text` (starting with "st:", any case) with the field rules the status panels
    // use. False when the text is no status line.
    static bool fromLine(const QByteArray &text, const QDateTime &time, StatusSample *sample);

    static QString stateName(State state);
    // What the history window shows for the sample under the pointer.
    QString describe() const;
};
