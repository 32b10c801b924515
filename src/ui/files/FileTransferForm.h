#pragma once

#include "features/files/FileDirectory.h"

#include <QWidget>

class InstrumentSession;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The file manager window "Files in Orvantis Memory": shows the instrument's directory
// (FileDirectory) in DirGrid, reports header clicks, the download folder, and the buttons
// that start a download, an upload or a deletion. Those runs live elsewhere; the window
// announces their buttons through signals and offers what they need: the selected block,
// the busy state with its "Stop" button, the progress text and the hourglass. While an
// operation owns the line the buttons that would send are off.
//
// File rows count from 0 here (DirGrid's own rows, the directory's rows); the header is not
// a row.
class FileTransferForm : public QWidget
{
    Q_OBJECT
public:
    FileTransferForm(FileDirectory &directory, InstrumentSession &session,
                     QWidget *parent = nullptr);

    // The main window's open action: shows the window and, the first time, fetches the
    // listing; later calls bring the window to the front.
    void openWindow();

    // Requests "Dir /V"; DirGrid follows the directory's rows.
    void RefreshDirectory();
    // Sorts by visible `column` (0-3), marks its header, and leaves no file selected.
    void SortDirectory(int column, bool ascending);

    // While busy, CloseButton reads "Stop" and asks the running operation to stop
    // (TransferCancelled) instead of closing the window, and selection changes leave the
    // file buttons alone.
    bool TransferBusy() const { return m_TransferBusy; }
    void setTransferBusy(bool busy);
    // GetFilesButton and DeleteButton together (while the line is free).
    void setFileButtonsEnabled(bool enabled);
    // Whether the line is free for the buttons that send: Get Files, Delete Files, Send
    // File... and Refresh.
    void setLineFree(bool free);
    void setProgressText(const QString &text);
    void setHourglass(bool on);

    int fileCount() const;
    // The selected block of file rows, first <= last; false when no file is selected.
    bool selectedRows(int &first, int &last) const;
    // Name column, trimmed.
    QString fileNameAt(int row) const;
    // Selects file rows first..last (columns 0-3), the current row being `first`.
    void selectRows(int first, int last);
    // No file selected, no current cell.
    void clearFileSelection();

    const DirSort &sortState() const { return m_directory.sortState(); }

    QTableWidget *DirGrid() const { return m_DirGrid; }
    QPushButton *GetFilesButton() const { return m_GetFilesButton; }
    QPushButton *DeleteButton() const { return m_DeleteButton; }
    QPushButton *SendFileButton() const { return m_SendFileButton; }
    QPushButton *RefreshButton() const { return m_RefreshButton; }
    QPushButton *CloseButton() const { return m_CloseButton; }
    QPushButton *SetDirButton() const { return m_SetDirButton; }
    QGroupBox *DestFrame() const { return m_DestFrame; }
    QLabel *SavePathLabel() const { return m_SavePathLabel; }
    QLabel *ProgressLabel() const { return m_ProgressLabel; }

signals:
    void getFilesRequested();
    void sendFileRequested();
    void deleteFilesRequested();
    // "Browse...": the operator would pick the download folder.
    void setDirRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildGrid();
    void placeControls();
    void showRows();
    void refreshStarted();
    void refreshFinished(bool freeLineSeen);
    void applyButtons();
    void headerClick(int x);
    void selectionChanged();
    void CloseButton_Click();
    int px(int twips) const;

    FileDirectory &m_directory;
    InstrumentSession &m_session;
    bool m_TransferBusy = false;
    bool m_hourglass = false;
    bool m_loaded = false;
    bool m_lineFree = true;
    // Get Files and Delete Files as the selection and the operations want them, before the
    // line's owner has its say.
    bool m_fileButtonsWanted = false;
    // Pointer position of the last press on the header, in the header's content coordinates.
    QPoint m_mouseDown;

    QTableWidget *m_DirGrid = nullptr;
    QPushButton *m_GetFilesButton = nullptr;
    QPushButton *m_DeleteButton = nullptr;
    QPushButton *m_SendFileButton = nullptr;
    QPushButton *m_RefreshButton = nullptr;
    QPushButton *m_CloseButton = nullptr;
    QGroupBox *m_DestFrame = nullptr;
    QLabel *m_SavePathLabel = nullptr;
    QPushButton *m_SetDirButton = nullptr;
    QLabel *m_ProgressLabel = nullptr;
};
