#pragma once

#include "features/calcheck/CalCheckHooks.h"
#include "features/calcheck/CalCheckProgress.h"
#include "support/OperatorDialogs.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <memory>

class InstrumentSession;
class Line;

// The cal check data collection behind "Collect Cal Check Data...": records into a new data
// file everything the instrument sends while it measures three sets of spectra and light
// source references with the light on, and one set of dark spectra with it off. The file
// itself is written by the receive loop; this drives the instrument and the progress window.
// The procedure owns the line from the first question on, so nothing else writes to the
// instrument meanwhile and status polling is held.
class CalCheck
{
    Q_DECLARE_TR_FUNCTIONS(CalCheck)

public:
    enum class Outcome {
        AlreadyRunning, // or another operation owns the line
        Declined,       // the first question, or the operator kept the open file
        NotStabilized,  // the "Cannot continue" notice was shown
        NoFile,         // the file question or OpenNewFile was declined
        Completed,
        Stopped // "Stop", the progress window closed or the line lost during a collection phase
    };

    static constexpr int kSets = 3;
    static constexpr int kSpectraCount = 100;
    static constexpr int kReferenceCount = 88;
    static constexpr int kOverallMaximum = 8;

    CalCheck(InstrumentSession &session, OperatorDialogs &dialogs, CalCheckHooks hooks);

    // The whole procedure; returns when it has ended and the status display is restored.
    // A call while a run is under way (the event loop runs throughout) returns at once.
    Outcome run();
    bool isRunning() const { return m_running; }

    // acquire fixed 100 1 "" 0 -1 2, CR
    static QByteArray acquireCommand();
    // lref,0,0,10, CR
    static QByteArray lightReferenceCommand();

    static QString readyQuestion();
    static QString notStabilizedNotice();
    static QString closeFileQuestion();
    static QString chooseFileNotice();
    static QString completeNotice();
    static QString progressTitle();
    static QString spectraMessage(int set);
    static QString referencesMessage(int set);
    static QString darkMessage();
    static QString receivingMessage();

private:
    Outcome collect(Line &line);
    bool collectSpectra(const QByteArray &command, const QString &message);
    bool collectDark(Line &line, const QByteArray &acquire);
    void receiveSpectralData();
    bool collectReferences(int set);
    void countLoop(char mark, int limit, bool untilPrompt);
    void keepWhatFollowed();
    void stepOverall();
    void finish();
    void restore();

    InstrumentSession &m_session;
    OperatorDialogs &m_dialogs;
    CalCheckHooks m_hooks;
    std::unique_ptr<CalCheckProgress> m_progress;
    // The line while the procedure owns it.
    Line *m_line = nullptr;
    bool m_running = false;
    int m_overall = 0;
};
