#pragma once

#include "session/Line.h"
#include "session/LineOperation.h"

// Ownership of the line for one operation, for as long as the object lives. Granted only
// while no other operation owns the line; a claim that was not granted writes nothing
// (the operator has been told why). While a claim is held status polling is held too.
// Made only by the session (InstrumentSession::claimLine()); a claim moves, and the one it
// was moved from owns nothing.
class LineClaim : public Line
{
public:
    ~LineClaim() override { m_gate->release(m_token); }
    LineClaim(LineClaim &&other) noexcept = default;
    LineClaim &operator=(LineClaim &&other) noexcept;

    bool granted() const { return m_token != LineGate::kRefused; }
    explicit operator bool() const { return granted(); }

    // The port as its owner drives it between two commands (the rate change). A claim that
    // was not granted changes nothing.
    QString settings() const;
    int portNumber() const;
    QString deviceName() const;
    // False when the line's rate is fixed beyond the program's reach (see CommPort).
    bool canSetRate() const;
    // The port's rate ("RATE,n,8,1"), at once when it is open.
    void setRate(int rate);

private:
    friend class InstrumentSession;
    LineClaim(LineGate &gate, LineOperation operation) : Line(gate, gate.claim(operation)) {}
};
