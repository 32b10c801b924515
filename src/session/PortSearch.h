#pragma once

#include "link/CommPort.h"
#include "link/PortTable.h"
#include "session/CommandTransaction.h"
#include "session/LinkStatus.h"
#include "session/ProgramState.h"

#include <QObject>
#include <QStringList>

// Finds the instrument: tries every port from 1 to 16 and, on each port that opens, every
// rate of the list until the instrument shows its prompt and identifies itself with a
// serial number. The connection dialog shows what it reports through the signals; the
// command line may confine a search to one device and to some rates, and reads what became
// of each port it tried.
class PortSearch : public QObject
{
    Q_OBJECT
public:
    // The rates of the instrument, in the order a search tries them.
    static const QStringList kBaudRates;

    // Where a search looks: one device (every port of the table, listed afresh, when empty),
    // at these rates in this order.
    struct Scope {
        QString device;
        QStringList rates;
    };
    // A port the last search tried: it opened (and did not answer), or it did not and why.
    struct Attempt {
        int number = 0;
        QString device;
        bool opened = false;
        PortOpenError error;
    };

    PortSearch(ProgramState &state, CommPort &port, CommandTransaction &transaction,
               LinkStatus &status, PortTable table, QObject *parent = nullptr);

    // Runs the whole search; true when the instrument was found (the port is then left open
    // with the found settings and the status code is 1).
    bool SearchForInstrument();
    bool SearchForInstrument(const Scope &scope);
    // The ports of the last search that had a device, in the order tried.
    const QList<Attempt> &attempts() const { return m_attempts; }
    // Serial number of the instrument answering on the open port, or empty.
    QString ProbePort();
    // Opens the port and rate named by the two list entries without probing; true when it
    // opened. Does nothing while a port is open.
    bool openSelectedPort(const QString &portEntry, const QString &baudEntry);

    void cancel() { m_cancelled = true; }
    bool isSearching() const { return m_searching; }
    // Ports are being opened and probed: one that goes away now is just a port without the
    // instrument, not a lost connection.
    bool isProbing() const { return m_probing; }
    QString labelText() const { return m_label; }

signals:
    void labelChanged(const QString &text);
    void portListCleared();
    // A port that opened; the dialog adds it and selects it.
    void portEntryAdded(const QString &entry);
    void baudIndexSelected(int index);
    void serialNumberFound(const QString &serial);
    // The search found nothing: sound the beep and offer the manual controls.
    void searchFailed();

private:
    void setLabel(const QString &text);
    static QString settingsFor(const QString &rate);

    ProgramState &m_state;
    CommPort &m_port;
    CommandTransaction &m_transaction;
    LinkStatus &m_status;
    PortTable m_table;
    QString m_label;
    QList<Attempt> m_attempts;
    bool m_cancelled = false;
    bool m_searching = false;
    bool m_probing = false;
};
