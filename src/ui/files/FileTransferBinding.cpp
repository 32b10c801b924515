#include "ui/files/FileTransferBinding.h"

#include "features/files/DirListing.h"
#include "support/PathUtilities.h"
#include "ui/files/FileTransferForm.h"
#include "ui/mainwindow/MainForm.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

FileTransferBinding::FileTransferBinding(MainForm &form, OperatorDialogs &dialogs)
    : QObject(&form), m_form(form), m_dialogs(dialogs),
      m_download(form.state(), form.Comm1(), form.transaction(), form.fileCapture(), dialogs),
      m_upload(form.state(), form.transaction(), dialogs),
      m_delete(form.state(), form.transaction(), dialogs)
{
    for (FileTransferOperation *operation : {static_cast<FileTransferOperation *>(&m_download),
                                             static_cast<FileTransferOperation *>(&m_upload),
                                             static_cast<FileTransferOperation *>(&m_delete)})
        connectOperation(*operation);
    connect(&m_download, &FileDownload::downloadFolderChanged, this, [this](const QString &folder) {
        if (m_window)
            m_window->SavePathLabel()->setText(PathForDisplay(folder));
    });
    connect(&form, &MainForm::transferFilesRequested, this, &FileTransferBinding::openWindow);
}

void FileTransferBinding::connectOperation(FileTransferOperation &operation)
{
    QTimer *statusTimer = m_form.StatusTimer();
    operation.setStatusTimerAccess([statusTimer] { return statusTimer->isActive(); },
                                   [statusTimer](bool on) {
                                       if (on)
                                           statusTimer->start();
                                       else
                                           statusTimer->stop();
                                   });
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
    // The Save to File controls are locked while a transfer owns the line and follow the
    // data file's state again afterwards.
    connect(&operation, &FileTransferOperation::lineOwnershipChanged, this,
            [this] { m_form.SetStatus(m_form.Status()); });
    connect(&operation, &FileTransferOperation::refreshRequested, this, [this] {
        if (m_window)
            m_window->RefreshDirectory();
    });
}

void FileTransferBinding::openWindow()
{
    if (!m_window) {
        m_window = new FileTransferForm(m_form.state(), m_form.transaction(), m_dialogs,
                                        m_form.StatusTimer(), &m_form);
        m_window->setWindowFlag(Qt::Window);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_window, &FileTransferForm::getFilesRequested, this,
                &FileTransferBinding::getFiles);
        connect(m_window, &FileTransferForm::sendFileRequested, this,
                [this] { m_upload.SendFile(); });
        connect(m_window, &FileTransferForm::deleteFilesRequested, this,
                &FileTransferBinding::deleteFiles);
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
    QPointer<FileTransferForm> window = m_window;
    m_download.GetFiles(current, end, [window](int gridRow) {
        FileDownload::Row row;
        if (!window)
            return row;
        row.name = window->fileNameAt(gridRow - 1);
        if (QTableWidgetItem *size =
                window->DirGrid()->item(gridRow - 1, DirListing::SizeKeyColumn))
            row.size = size->text();
        return row;
    });
}

void FileTransferBinding::deleteFiles()
{
    const auto [current, end] = selectedGridRows();
    QPointer<FileTransferForm> window = m_window;
    m_delete.DeleteFiles(current, end, [window](int gridRow) {
        return window ? window->fileNameAt(gridRow - 1) : QString();
    });
}
