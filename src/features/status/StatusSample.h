#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QString>

// The values of one status line at the time it was seen, for the status history.
struct StatusSample {
    Q_DECLARE_TR_FUNCTIONS(StatusSample)

public:
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

    // The state as the history file and object names spell it.
    static QString stateName(State state);
    // The state as the history window shows it.
    static QString stateCaption(State state);
    // What the history window shows for the sample under the pointer.
    QString describe() const;
};
