#pragma once

#include "features/files/FileDelete.h"
#include "features/files/FileDirectory.h"
#include "features/files/FileDownload.h"
#include "features/files/FileUpload.h"
#include "ui/files/FileTransferForm.h"

#include <QObject>
#include <QPointer>

class InstrumentSession;
class OperatorDialogs;

// Opens the file manager from the main window and ties its buttons to the download, upload
// and delete logic. The window's rows count from 0; the transfers count grid rows with the
// header as row 0, so row r of the window is row r + 1 for them.
class FileTransferBinding : public QObject
{
    Q_OBJECT
public:
    FileTransferBinding(InstrumentSession &session, OperatorDialogs &dialogs, QWidget *window);

    // The window, created on first use; null until then and after it was closed.
    FileTransferForm *window() const { return m_window; }
    FileDirectory &directory() { return m_directory; }

public slots:
    // The main window's open action; status polling is held while the window loads.
    void openWindow();

private:
    void connectOperation(FileTransferOperation &operation);
    void getFiles();
    void deleteFiles();
    // The selection as the transfers count it: (0, 0) when nothing is selected.
    std::pair<int, int> selectedGridRows() const;

    InstrumentSession &m_session;
    OperatorDialogs &m_dialogs;
    QWidget *m_mainWindow;
    FileDirectory m_directory;
    FileDownload m_download;
    FileUpload m_upload;
    FileDelete m_delete;
    QPointer<FileTransferForm> m_window;
};
