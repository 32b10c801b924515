#include "features/files/FileTransferOperation.h"

#include <cmath>

FileTransferOperation::FileTransferOperation(ProgramState &state, CommandTransaction &transaction,
                                             OperatorDialogs &dialogs, QObject *parent)
    : QObject(parent), m_state(state), m_transaction(transaction), m_dialogs(dialogs)
{
}

void FileTransferOperation::setStatusTimerAccess(std::function<bool()> isEnabled,
                                                 std::function<void(bool)> setEnabled)
{
    m_statusTimerEnabled = std::move(isEnabled);
    m_setStatusTimerEnabled = std::move(setEnabled);
}

QString FileTransferOperation::percentText(qint64 done, qint64 total)
{
    if (total <= 0)
        return QStringLiteral("0%");
    // Halves round up, as the number format "0%" does.
    const double percent = std::floor(100.0 * double(done) / double(total) + 0.5);
    return QString::number(qint64(percent)) + QLatin1Char('%');
}

bool FileTransferOperation::statusTimerEnabled() const
{
    return m_statusTimerEnabled && m_statusTimerEnabled();
}

void FileTransferOperation::setStatusTimerEnabled(bool enabled)
{
    if (m_setStatusTimerEnabled)
        m_setStatusTimerEnabled(enabled);
}

void FileTransferOperation::showProgress(const QString &text)
{
    if (text == m_progress)
        return;
    m_progress = text;
    emit ProgressLabelChanged(text);
}

void FileTransferOperation::setBusy(bool busy, bool lockActions)
{
    emit transferBusyChanged(busy);
    if (lockActions)
        emit actionButtonsEnabledChanged(!busy);
}

FileTransferOperation::LineHold::LineHold(FileTransferOperation &operation)
    : m_operation(operation), m_wasOwned(operation.m_state.transferOwnsLine)
{
    m_operation.setLineOwned(true);
}

FileTransferOperation::LineHold::~LineHold()
{
    m_operation.setLineOwned(m_wasOwned);
}

void FileTransferOperation::setLineOwned(bool owned)
{
    if (m_state.transferOwnsLine == owned)
        return;
    m_state.transferOwnsLine = owned;
    emit lineOwnershipChanged(owned);
}
