#include "features/files/FileDelete.h"

#include "session/InstrumentSession.h"
#include "session/LineClaim.h"
#include "support/SettingsKeys.h"

FileDelete::FileDelete(InstrumentSession &session, FileDirectory &directory,
                       OperatorDialogs &dialogs, QObject *parent)
    : FileTransferOperation(session, directory, dialogs, parent)
{
}

bool FileDelete::DeleteFiles(int currentRow, int selectionEndRow)
{
    const auto nameAt = [this](int gridRow) { return m_directory.nameAt(gridRow - 1); };
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

    LineClaim claim = m_session.claimLine(LineOperation::Delete);
    if (!claim)
        return false;
    emit hourglassChanged(true);
    setBusy(true, true);
    m_session.setTransferCancelled(false);

    for (int row = first; row <= last; ++row) {
        if (m_session.TransferCancelled())
            break;
        if (!DeleteInstrumentFile(claim, nameAt(row)))
            break;
        emit rowsSelected(row, last);
        claim.Pause(kPauseAfterFileSeconds);
    }
    emit selectionCleared();
    m_directory.refresh(claim);

    m_session.setTransferCancelled(false);
    setBusy(false, true);
    emit hourglassChanged(false);
    return true;
}

bool FileDelete::DeleteInstrumentFile(Line &line, const QString &name)
{
    const QByteArray reply =
        line.SendCommand("Del " + name.toLatin1() + '\r', "\r", ">", kDeleteTimeoutSeconds);
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
