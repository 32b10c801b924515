#include "session/LineGate.h"

quint64 LineGate::claim(LineOperation operation)
{
    if (m_ownerToken != 0) {
        refuse();
        return kRefused;
    }
    m_ownerToken = ++m_lastToken;
    m_owner = operation;
    emit ownerChanged(operation);
    return m_ownerToken;
}

void LineGate::release(quint64 token)
{
    if (token != m_ownerToken)
        return;
    m_ownerToken = 0;
    m_owner = LineOperation::None;
    emit ownerChanged(LineOperation::None);
}

void LineGate::refuse()
{
    emit refused(lineBusyNote(m_owner));
}
