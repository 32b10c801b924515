#pragma once

#include "app/cli/ExitStatus.h"
#include "app/cli/PortProblem.h"
#include "link/PortTable.h"

#include <QList>
#include <QString>

class CliOutput;
class CommandLine;
class InstrumentSession;

// Connects the session before a command: the port and rate named on the command line, or the
// last connection that worked, or, when the Orvantis does not answer there, the console's
// search of every port at every rate. The Orvantis must identify itself with its serial
// number. A port held by another program is reported and left alone.
class ConnectionStep
{
public:
    ConnectionStep(InstrumentSession &session, CliOutput &output);

    // The port table the port and the session share: the system's (or ORVANTIS_PORTS), with
    // the device of --port, or of the last connection, added at its end when it is not in it.
    static PortTable portTable(const CommandLine &line);

    // Done when connected; otherwise the error has been said.
    ExitStatus connect(const CommandLine &line);
    // A signal arrived: no further port or rate is tried.
    void cancel();

    QString description() const;

private:
    enum class Attempt { Answered, NoAnswer, Unusable };

    ExitStatus connectTo(int number, const QList<int> &rates);
    bool connectLast(int rate, PortProblem *problem);
    ExitStatus search();
    Attempt attempt(int number, int rate, PortProblem *problem);
    bool identify();
    ExitStatus connected();
    QString portText(int number) const;
    QStringList portsInUse();

    InstrumentSession &m_session;
    CliOutput &m_output;
    bool m_cancelled = false;
};
