#include "ui/files/FileTransferBinding.h"

#include "session/InstrumentSession.h"
#include "session/PollingHold.h"
#include "support/PathUtilities.h"

#include <QLabel>

#include <algorithm>

FileTransferBinding::FileTransferBinding(InstrumentSession &session, OperatorDialogs &dialogs,
                                         QWidget *window)
    : QObject(window), m_session(session), m_dialogs(dialogs), m_mainWindow(window),
      m_directory(session), m_download(session, m_directory, dialogs),
      m_upload(session, m_directory, dialogs), m_delete(session, m_directory, dialogs)
{
    // A download shows what is still to come before each file; a deletion after each file
    // that went. A batch that fetched every file leaves nothing selected; a deletion always.
    // Both before the buttons come back, which would otherwise follow the selection.
    connect(&m_download, &FileTransferOperation::fileStarted, this,
            [this](const QString &, int index) { selectFrom(index); });
    connect(&m_download, &FileTransferOperation::batchFinished, this,
            [this](const QList<FileOutcome> &outcomes) {
                const bool allDone = outcomes.size() == m_lastRow - m_firstRow + 1 &&
                                     std::all_of(outcomes.begin(), outcomes.end(),
                                                 [](const FileOutcome &o) { return o.done(); });
                if (allDone && m_window)
                    m_window->clearFileSelection();
            });
    connect(&m_delete, &FileTransferOperation::batchFinished, this, [this] {
        if (m_window)
            m_window->clearFileSelection();
    });
    connect(&m_delete, &FileTransferOperation::fileFinished, this,
            [this](const FileOutcome &outcome, int index) {
                if (outcome.done())
                    selectFrom(index);
            });
    follow(m_download, true);
    follow(m_upload, false);
    follow(m_delete, true);
    connect(&m_download, &FileDownload::downloadFolderChanged, this, [this](const QString &folder) {
        if (m_window)
            m_window->SavePathLabel()->setText(PathForDisplay(folder));
    });
    connect(&session, &InstrumentSession::lineOwnerChanged, this, [this](LineOperation owner) {
        if (m_window)
            m_window->setLineFree(owner == LineOperation::None);
    });
}

void FileTransferBinding::follow(FileTransferOperation &operation, bool locksFiles)
{
    connect(&operation, &FileTransferOperation::batchStarted, this, [this, locksFiles] {
        if (!m_window)
            return;
        if (locksFiles)
            m_window->setHourglass(true);
        m_window->setTransferBusy(true);
        if (locksFiles)
            m_window->setFileButtonsEnabled(false);
    });
    connect(&operation, &FileTransferOperation::batchFinished, this, [this, locksFiles] {
        if (!m_window)
            return;
        m_window->setTransferBusy(false);
        if (locksFiles) {
            m_window->setFileButtonsEnabled(true);
            m_window->setHourglass(false);
        }
    });
    connect(&operation, &FileTransferOperation::progressed, this,
            [this](const QString &name, int, int, qint64 bytes, qint64 total) {
                if (m_window)
                    m_window->setProgressText(name + QStringLiteral(": ") +
                                              FileTransferOperation::percentText(bytes, total));
            });
    connect(&operation, &FileTransferOperation::progressEnded, this, [this] {
        if (m_window)
            m_window->setProgressText(QString());
    });
    connect(&operation, &FileTransferOperation::fileFinished, this,
            [this](const FileOutcome &outcome) {
                if (!outcome.message.isEmpty())
                    m_dialogs.ShowErrorMessage(outcome.message);
            });
}

void FileTransferBinding::openWindow()
{
    const PollingHold hold(m_session);
    if (!m_window) {
        m_window = new FileTransferForm(m_directory, m_session, m_mainWindow);
        m_window->setWindowFlag(Qt::Window);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_window->setLineFree(m_session.lineFree());
        connect(m_window, &FileTransferForm::getFilesRequested, this,
                &FileTransferBinding::getFiles);
        connect(m_window, &FileTransferForm::sendFileRequested, this,
                [this] { m_upload.SendFile(); });
        connect(m_window, &FileTransferForm::deleteFilesRequested, this,
                &FileTransferBinding::deleteFiles);
        connect(m_window, &FileTransferForm::setDirRequested, this,
                [this] { m_download.ChooseDownloadFolder(); });
        // The window loads once the main window's click has been handled.
        m_session.runPendingEvents();
        if (!m_window)
            return;
    }
    m_window->openWindow();
}

bool FileTransferBinding::takeSelection()
{
    m_firstRow = 0;
    m_lastRow = -1;
    return m_window && m_window->selectedRows(m_firstRow, m_lastRow);
}

void FileTransferBinding::selectFrom(int index)
{
    if (m_window)
        m_window->selectRows(m_firstRow + index, m_lastRow);
}

void FileTransferBinding::getFiles()
{
    QList<DirListing::Row> files;
    if (takeSelection()) {
        for (int row = m_firstRow; row <= m_lastRow; ++row)
            files << m_directory.entryAt(row);
    }
    m_download.GetFiles(files);
}

void FileTransferBinding::deleteFiles()
{
    QStringList names;
    if (takeSelection()) {
        for (int row = m_firstRow; row <= m_lastRow; ++row)
            names << m_directory.nameAt(row);
    }
    m_delete.DeleteFiles(names);
    // "No" leaves the pointer as the operator expects it.
    if (!names.isEmpty() && m_window)
        m_window->setHourglass(false);
}
