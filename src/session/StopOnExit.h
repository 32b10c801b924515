#pragma once

#include "session/CommandTransaction.h"

#include <QByteArray>

// Declares, for as long as it lives, what tells the instrument to stop the operation under
// way should the program end during it (three ETX for a sample or a download, two Ctrl-Z
// for an upload in capture mode). Nested operations declare their own and give the outer
// one back when they end.
class StopOnExit
{
public:
    StopOnExit(CommandTransaction &transaction, QByteArray stop)
        : m_transaction(transaction), m_outer(transaction.exchangeStopOnExit(std::move(stop)))
    {
    }
    ~StopOnExit() { m_transaction.exchangeStopOnExit(m_outer); }
    StopOnExit(const StopOnExit &) = delete;
    StopOnExit &operator=(const StopOnExit &) = delete;

private:
    CommandTransaction &m_transaction;
    QByteArray m_outer;
};
