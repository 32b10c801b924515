#pragma once

#include "session/Line.h"
#include "session/LineOperation.h"

class CommPort;
class CommandTransaction;

// Ownership of the line for one operation, for as long as the object lives. Granted only
// while no other operation owns the line; a claim that was not granted writes nothing
// (the operator has been told why). While a claim is held status polling is held too.
// Made by InstrumentSession::claimLine().
class LineClaim : public Line
{
public:
    LineClaim(LineGate &gate, LineOperation operation) : Line(gate, gate.claim(operation)) {}
    ~LineClaim() override { m_gate.release(m_token); }

    bool granted() const { return m_token != LineGate::kRefused; }
    explicit operator bool() const { return granted(); }

    // The owner's own access, for the link's operations that drive the port themselves
    // (the rate change sets the port's rate between two commands).
    CommPort &port() { return m_gate.port(); }
    CommandTransaction &transaction() { return m_gate.transaction(); }
};
