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

// Opens the file manager from the main window, hands the files its buttons stand for to the
// download, upload and delete logic, and shows how they go in the window: the "Stop" button
// and the hourglass while they run, the block of rows still to come, the progress text, and
// the message about each file that did not go as asked.
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
    // What every operation shows; `locksFiles`: Get Files and Delete Files are off and the
    // hourglass shows while it runs.
    void follow(FileTransferOperation &operation, bool locksFiles);
    void getFiles();
    void deleteFiles();
    // Takes the selected block of rows as the one the next run works on; false when none.
    bool takeSelection();
    // Rows `index` to the end of the block taken: what is still to come.
    void selectFrom(int index);

    InstrumentSession &m_session;
    OperatorDialogs &m_dialogs;
    QWidget *m_mainWindow;
    FileDirectory m_directory;
    FileDownload m_download;
    FileUpload m_upload;
    FileDelete m_delete;
    QPointer<FileTransferForm> m_window;
    int m_firstRow = 0;
    int m_lastRow = -1;
};
