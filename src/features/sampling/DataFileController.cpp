#include "features/sampling/DataFileController.h"

#include "session/InstrumentSession.h"
#include "support/SettingsKeys.h"

#include <QFileInfo>

namespace
{
constexpr int kYes = 1;
// The question's focus is on "Cancel", its third button.
constexpr int kDefaultCancel = -1;
} // namespace

DataFileController::DataFileController(InstrumentSession &session, OperatorDialogs &dialogs,
                                       QObject *parent)
    : QObject(parent), m_session(session), m_dialogs(dialogs)
{
}

int DataFileController::OpenNewFile()
{
    if (refusedDuringTransfer())
        return -1;
    if (m_session.DataFileNumber() != 0) {
        const int answer = m_dialogs.ShowQuestionBox(closeQuestion(), tr("Yes"), QString(),
                                                     tr("Cancel"), kDefaultCancel);
        if (answer != kYes)
            return -1;
        closeFile();
    }

    const QString path =
        m_dialogs.saveFileName(QString(), QString(), fileFilters(), QStringLiteral("raw"));
    if (!path.isEmpty() && !m_session.dataFile().open(path)) {
        m_dialogs.showCriticalMessage(SettingsKeys::kApplication,
                                      openErrorMessage(path, m_session.dataFile().errorString()));
    }

    const bool opened = m_session.DataFileNumber() != 0;
    refresh();
    return opened ? 1 : -1;
}

void DataFileController::StopSavingClicked()
{
    if (refusedDuringTransfer())
        return;
    if (m_session.DataFileNumber() != 0)
        closeFile();
    refresh();
}

QString DataFileController::savingLabelText() const
{
    return m_session.DataFileNumber() != 0 ? savingLabelText(m_session.dataFile().path())
                                           : noFileText();
}

QString DataFileController::savingLabelText(const QString &path)
{
    return tr("Saving to \"%1\"").arg(QFileInfo(path).fileName());
}

QString DataFileController::noFileText()
{
    return tr("No file open");
}

QString DataFileController::closeQuestion()
{
    return tr("Close the current file?");
}

QString DataFileController::fileFilters()
{
    return tr("Text Files (*.raw);;All Files (*.*)");
}

QString DataFileController::openErrorMessage(const QString &path, const QString &reason)
{
    return tr("Error opening %1: %2").arg(path, reason);
}

QString DataFileController::transferRunningMessage()
{
    return tr("A file transfer is using the data file. Open or close a data file "
              "when the transfer has ended.");
}

// The controls are disabled while a transfer owns the line; this covers every other way in.
// The cal check opens its own file through here, so only the transfers refuse.
bool DataFileController::refusedDuringTransfer()
{
    const LineOperation owner = m_session.lineOwner();
    if (owner != LineOperation::Download && owner != LineOperation::Upload)
        return false;
    m_dialogs.ShowErrorMessage(transferRunningMessage());
    return true;
}

void DataFileController::closeFile()
{
    // Opening and closing happen between runs of the receive loop, which writes out what it
    // read at the end of each run, so the close keeps every byte received until now.
    m_session.dataFile().close();
}

void DataFileController::refresh()
{
    emit savingLabelTextChanged(savingLabelText());
    m_session.SetStatus(m_session.Status());
    emit fileStateChanged(m_session.DataFileNumber() != 0);
}
