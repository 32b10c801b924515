#pragma once

#include "session/LineClaim.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class CommPort;
class FileCapture;

// Brings a lost connection back by itself. Every second it tries to open the same device at
// the same rate; once the port is open it makes sure the same instrument is there and hands
// back what was going on. While a periodic run was going, samples arriving show that the run
// went on: such an instrument is sent nothing that would stop it. An instrument that answers
// "id" with the same serial number is at its prompt, so a run that was going is started again
// with its own command. Another serial number, or no sign of the instrument within 30 s of the
// port opening, gives up. The line is owned throughout (nothing else writes meanwhile, polling
// is held); a data file that was open stays open and receives whatever arrives.
class Reconnection : public QObject
{
    Q_OBJECT
public:
    static constexpr int kAttemptIntervalMs = 1000;
    static constexpr float kAnswerSeconds = 30.0f;
    static constexpr float kIdTimeoutSeconds = 2.0f;
    static constexpr float kStartTimeoutSeconds = 10.0f;

    // What was going on when the line was lost.
    struct Resume {
        QString serial;
        // The command that started the periodic run; empty when none was going.
        QByteArray startCommand;
    };

    // `claimLine` is the session's: it makes the claim that the reconnection holds.
    Reconnection(LineGate &gate, std::function<LineClaim()> claimLine, CommPort &port,
                 FileCapture &capture, QObject *parent = nullptr);
    ~Reconnection() override;

    void start(const Resume &resume);
    // Ends the attempts at once (Stop, Disconnect, the program ending).
    void cancel();
    bool isActive() const { return m_active; }
    // The status line's text while it goes on.
    QString note() const { return m_note; }

signals:
    void noteChanged(const QString &note);
    // The port is open again; who is there is asked next.
    void portReopened();
    // The same instrument is back; `restarted` tells whether the run had to be started again.
    void reconnected(bool restarted);
    // The instrument is at its prompt; the run's start command goes out next.
    void restartingRun();
    // No luck: `why` in the operator's terms. The port is closed again.
    void gaveUp(const QString &why);

private:
    void attempt();
    // The port is open: who is there? Returns once it is decided, or when cancelled.
    void identify();
    void identifyOnce();
    void setNote(const QString &note);
    void finish();

    LineGate &m_gate;
    std::function<LineClaim()> m_claimLine;
    CommPort &m_port;
    FileCapture &m_capture;
    QTimer m_timer;
    std::optional<LineClaim> m_claim;
    Resume m_resume;
    QString m_device;
    QString m_note;
    bool m_active = false;
    bool m_identifying = false;
};
