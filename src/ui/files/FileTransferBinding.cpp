#include "ui/files/FileTransferBinding.h"

#include "session/InstrumentSession.h"
#include "session/PollingHold.h"
#include "support/PathUtilities.h"

#include <QLabel>

FileTransferBinding::FileTransferBinding(InstrumentSession &session, OperatorDialogs &dialogs,
                                         QWidget *window)
    : QObject(window), m_session(session), m_dialogs(dialogs), m_mainWindow(window),
      m_directory(session), m_download(session, m_directory, dialogs),
      m_upload(session, m_directory, dialogs), m_delete(session, m_directory, dialogs)
{
    for (FileTransferOperation *operation : {static_cast<FileTransferOperation *>(&m_download),
                                             static_cast<FileTransferOperation *>(&m_upload),
                                             static_cast<FileTransferOperation *>(&m_delete)})
        connectOperation(*operation);
    connect(&m_download, &FileDownload::downloadFolderChanged, this, [this](const QString &folder) {
        if (m_window)
            m_window->SavePathLabel()->setText(PathForDisplay(folder));
    });
    connect(&session, &InstrumentSession::lineOwnerChanged, this, [this](LineOperation owner) {
        if (m_window)
            m_window->setLineFree(owner == LineOperation::None);
    });
}

void FileTransferBinding::connectOperation(FileTransferOperation &operation)
{
    connect(&operation, &FileTransferOperation::ProgressLabelChanged, this,
            [this](const QString &text) {
                if (m_window)
                    m_window->setProgressText(text);
            });
    connect(&operation, &FileTransferOperation::transferBusyChanged, this, [this](bool busy) {
        if (m_window)
            m_window->setTransferBusy(busy);
    });
    connect(&operation, &FileTransferOperation::actionButtonsEnabledChanged, this,
            [this](bool enabled) {
                if (m_window)
                    m_window->setFileButtonsEnabled(enabled);
            });
    connect(&operation, &FileTransferOperation::hourglassChanged, this, [this](bool on) {
        if (m_window)
            m_window->setHourglass(on);
    });
    connect(&operation, &FileTransferOperation::rowsSelected, this, [this](int first, int last) {
        if (m_window)
            m_window->selectRows(first - 1, last - 1);
    });
    connect(&operation, &FileTransferOperation::selectionCleared, this, [this] {
        if (m_window)
            m_window->clearFileSelection();
    });
}

void FileTransferBinding::openWindow()
{
    const PollingHold hold(m_session);
    if (!m_window) {
        m_window = new FileTransferForm(m_directory, m_session, m_dialogs, m_mainWindow);
        m_window->setWindowFlag(Qt::Window);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_window->setLineFree(m_session.lineFree());
        connect(m_window, &FileTransferForm::getFilesRequested, this,
                &FileTransferBinding::getFiles);
        connect(m_window, &FileTransferForm::sendFileRequested, this,
                [this] { m_upload.SendFile(); });
        connect(m_window, &FileTransferForm::deleteFilesRequested, this,
                &FileTransferBinding::deleteFiles);
        // The window loads once the main window's click has been handled.
        m_session.runPendingEvents();
        if (!m_window)
            return;
    }
    m_window->openWindow();
}

std::pair<int, int> FileTransferBinding::selectedGridRows() const
{
    int first = 0;
    int last = 0;
    if (!m_window || !m_window->selectedRows(first, last))
        return {0, 0};
    return {first + 1, last + 1};
}

void FileTransferBinding::getFiles()
{
    const auto [current, end] = selectedGridRows();
    m_download.GetFiles(current, end);
}

void FileTransferBinding::deleteFiles()
{
    const auto [current, end] = selectedGridRows();
    m_delete.DeleteFiles(current, end);
}
