#include "features/files/FileDelete.h"

#include "session/InstrumentSession.h"
#include "session/LineClaim.h"
#include "support/SettingsKeys.h"

FileDelete::FileDelete(InstrumentSession &session, FileDirectory &directory,
                       OperatorDialogs &dialogs, QObject *parent)
    : FileTransferOperation(session, directory, dialogs, parent)
{
}

QList<FileOutcome> FileDelete::DeleteFiles(const QStringList &names)
{
    if (names.isEmpty()) {
        m_dialogs.ShowErrorMessage(noSelectionMessage());
        return {};
    }
    if (!m_dialogs.askYesNo(SettingsKeys::kApplication,
                            questionText(int(names.size()), names.first())))
        return {};

    LineClaim claim = m_session.claimLine(LineOperation::Delete);
    if (!claim)
        return {};
    emit batchStarted(int(names.size()));
    m_session.setTransferCancelled(false);
    const QList<FileOutcome> outcomes = deleteFiles(claim, names);
    m_directory.refresh(claim);
    m_session.setTransferCancelled(false);
    emit batchFinished(outcomes);
    return outcomes;
}

QList<FileOutcome> FileDelete::deleteFiles(Line &line, const QStringList &names)
{
    QList<FileOutcome> outcomes;
    const int count = int(names.size());
    for (int index = 0; index < count && !m_session.TransferCancelled(); ++index) {
        setPlace(index, count);
        emit fileStarted(names.at(index), index, count);
        FileOutcome outcome;
        outcome.name = names.at(index);
        if (DeleteInstrumentFile(line, outcome.name))
            outcome.result = FileOutcome::Result::Done;
        outcomes << finish(outcome);
        if (!outcome.done())
            break;
        line.Pause(kPauseAfterFileSeconds);
    }
    setPlace(0, 1);
    return outcomes;
}

bool FileDelete::DeleteInstrumentFile(Line &line, const QString &name)
{
    const QByteArray reply =
        line.SendCommand("Del " + name.toLatin1() + '\r', "\r", ">", kDeleteTimeoutSeconds);
    return !reply.isEmpty();
}

QString FileDelete::noSelectionMessage()
{
    return tr("To delete files from the Orvantis, first select them in the directory list.");
}

QString FileDelete::questionText(int count, const QString &firstName)
{
    if (count == 1)
        return tr("Delete %1 from Orvantis memory?").arg(firstName);
    return tr("Delete %1 files from Orvantis memory?").arg(QString::number(count));
}
