#include "features/files/FileDelete.h"

#include "support/SettingsKeys.h"

FileDelete::FileDelete(ProgramState &state, CommandTransaction &transaction,
                       OperatorDialogs &dialogs, QObject *parent)
    : FileTransferOperation(state, transaction, dialogs, parent)
{
}

bool FileDelete::DeleteFiles(int currentRow, int selectionEndRow, const NameReader &nameAt)
{
    const int first = qMin(currentRow, selectionEndRow);
    const int last = qMax(currentRow, selectionEndRow);
    const int count = last - first + 1;
    if (first <= 0 || count <= 0) {
        m_dialogs.ShowErrorMessage(noSelectionMessage());
        return false;
    }
    if (!m_dialogs.askYesNo(SettingsKeys::kApplication, questionText(count, nameAt(first)))) {
        emit hourglassChanged(false);
        return false;
    }

    emit hourglassChanged(true);
    setBusy(true, true);
    m_state.TransferCancelled = false;

    for (int row = first; row <= last; ++row) {
        if (m_state.TransferCancelled)
            break;
        if (!DeleteInstrumentFile(nameAt(row)))
            break;
        emit rowsSelected(row, last);
        m_transaction.Pause(kPauseAfterFileSeconds);
    }
    emit selectionCleared();
    emit refreshRequested();

    m_state.TransferCancelled = false;
    setBusy(false, true);
    emit hourglassChanged(false);
    return true;
}

bool FileDelete::DeleteInstrumentFile(const QString &name)
{
    const QByteArray reply = m_transaction.SendCommand("Del " + name.toLatin1() + '\r', "\r", ">",
                                                       kDeleteTimeoutSeconds);
    return !reply.isEmpty();
}

QString FileDelete::noSelectionMessage()
{
    return QStringLiteral(
        "To delete files from the Orvantis, first select them in the directory list.");
}

QString FileDelete::questionText(int count, const QString &firstName)
{
    if (count == 1)
        return QStringLiteral("Delete ") + firstName + QStringLiteral(" from Orvantis memory?");
    return QStringLiteral("Delete ") + QString::number(count) +
           QStringLiteral(" files from Orvantis memory?");
}
