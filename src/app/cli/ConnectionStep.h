#pragma once

#include "app/cli/ExitStatus.h"
#include "link/PortTable.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class CliOutput;
class CommandLine;
class InstrumentSession;

// Connects the session before a command: the port named on the command line, or the last
// connection that worked, or, when the Orvantis does not answer there, the console's search
// of every port. Each is the console's search, confined to that port and to the rate asked
// for (every rate without --rate), so the Orvantis is probed as the console probes it and must
// identify itself with its serial number. A port held by another program is reported and
// left alone.
class ConnectionStep
{
    Q_DECLARE_TR_FUNCTIONS(ConnectionStep)

public:
    ConnectionStep(InstrumentSession &session, CliOutput &output);

    // The port table the port and the session share: the system's (or ORVANTIS_PORTS), with
    // the device of --port, or of the last connection, added at its end when it is not in it.
    static PortTable portTable(const CommandLine &line);

    // Done when connected; otherwise the error has been said.
    ExitStatus connect(const CommandLine &line);
    // A signal arrived: no further port or rate is tried.
    void cancel();

private:
    ExitStatus connectTo(const QString &device, const QStringList &rates);
    bool connectLast(const QStringList &rates, bool *inUse);
    ExitStatus search(const QStringList &rates, bool verbose);
    bool searchOn(const QString &device, const QStringList &rates);
    // Why the search on `device` alone found nothing: it did not open (`inUse` when another
    // program holds it), or nothing answered.
    QString failure(const QString &device, const QStringList &rates, bool *inUse) const;
    ExitStatus connected();

    InstrumentSession &m_session;
    CliOutput &m_output;
    bool m_cancelled = false;
};
