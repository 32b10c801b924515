#pragma once

#include "features/sampling/SamplingSettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class InstrumentSession;
class OperatorDialogs;

// The logic behind the Sampling panel: one sample, periodic sampling and its stop, and the
// flash file name's length limit. The window hands over the panel's values and shows
// savingWarningChanged() on SavingLabel.
class SamplingController : public QObject
{
    Q_OBJECT

public:
    static constexpr float kSampleTimeoutSeconds = 60;
    static constexpr float kStartTimeoutSeconds = 10;
    static constexpr int kFlashNameLength = 8;

    SamplingController(InstrumentSession &session, OperatorDialogs &dialogs,
                       QObject *parent = nullptr);

    // "Sample Once": the acquire command, framed from CR to the prompt ">", 60 s. Returns
    // the reply (not examined; the receive loop has filed the data).
    QByteArray SampleOnce(const SamplingSettings &settings);
    // "Start Periodic": status 4, then the start command, framed from its echo "start" to
    // ">", 10 s. A minimum period that is not a number is refused with a message, nothing
    // sent and nothing changed; the result is then false.
    bool StartPeriodic(const SamplingSettings &settings);
    // "Stop": three ETX straight to the port (not a transaction), then status 1. Once Stop
    // has ended the run, a wait that began while it ran (the start command itself, a switch
    // clicked meanwhile) ends in status 1 instead of putting 4 back.
    void Stop();

    // FlashFilenameText changed: returns the text the box should hold, cut to 8 characters
    // with a message when it was longer.
    QString FlashFilenameChanged(const QString &text);

    static QString flashNameMessage();
    static QString badPeriodMessage();

    // True while SavingLabel should be red and bold: sampling with no data file open.
    bool savingWarning() const { return m_savingWarning; }

signals:
    // On: the window remembers SavingLabel's colour and shows it red (255, 0, 0) and bold.
    // Off: the label's normal colour, not bold.
    void savingWarningChanged(bool on);

private:
    void setSavingWarning(bool on);

    InstrumentSession &m_session;
    OperatorDialogs &m_dialogs;
    bool m_savingWarning = false;
};
