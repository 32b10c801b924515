#pragma once

#include "features/files/DirSort.h"

#include <QWidget>

class CommandTransaction;
class OperatorDialogs;
class ProgramState;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

// The file manager window "Files in Orvantis Memory": the instrument's directory in DirGrid,
// sorting by header clicks, the download folder, and the buttons that start a download, an
// upload or a deletion. Those runs live elsewhere; the window announces their buttons
// through signals and offers what they need: the selected block, the row names and sizes,
// the busy state with its "Stop" button, the progress text and the hourglass.
//
// File rows count from 0 here (DirGrid's own rows); the header is not a row.
class FileTransferForm : public QWidget
{
    Q_OBJECT
public:
    // `StatusTimer` may be null (no polling to hold off).
    FileTransferForm(ProgramState &state, CommandTransaction &transaction, OperatorDialogs &dialogs,
                     QTimer *StatusTimer, QWidget *parent = nullptr);

    // The main window's open action: with status polling held off, shows the window and, the
    // first time, fetches the listing; later calls bring the window to the front.
    void openWindow();

    // Requests "Dir /V", refills DirGrid and sorts it by SortColumn and SortAscending.
    void RefreshDirectory();
    // Sorts by visible `column` (0-3), marks its header, and leaves no file selected.
    void SortDirectory(int column, bool ascending);
    // "Browse...": lets the operator pick the download folder; Cancel keeps the old one.
    void SetDirButton_Click();

    // While busy, CloseButton reads "Stop" and asks the running operation to stop
    // (TransferCancelled) instead of closing the window, and selection changes leave the
    // file buttons alone.
    bool TransferBusy() const { return m_TransferBusy; }
    void setTransferBusy(bool busy);
    // GetFilesButton and DeleteButton together.
    void setFileButtonsEnabled(bool enabled);
    void setProgressText(const QString &text);
    void setHourglass(bool on);

    int fileCount() const;
    // The selected block of file rows, first <= last; false when no file is selected.
    bool selectedRows(int &first, int &last) const;
    // Name column, trimmed.
    QString fileNameAt(int row) const;
    // Size key column (digits without separators) as a count of bytes; 0 if not a number.
    qint32 fileSizeAt(int row) const;
    // Selects file rows first..last (columns 0-3), the current row being `first`.
    void selectRows(int first, int last);
    // No file selected, no current cell.
    void clearFileSelection();

    const DirSort &sortState() const { return m_sort; }
    QTimer *StatusTimer() const { return m_statusTimer; }

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

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildGrid();
    void placeControls();
    void fillGrid(const QList<QStringList> &rows);
    QList<QStringList> gridRows() const;
    void headerClick(int x);
    void selectionChanged();
    void CloseButton_Click();
    int px(int twips) const;

    ProgramState &m_state;
    CommandTransaction &m_transaction;
    OperatorDialogs &m_dialogs;
    QTimer *m_statusTimer;
    DirSort m_sort;
    bool m_TransferBusy = false;
    bool m_hourglass = false;
    bool m_refreshing = false;
    bool m_loaded = false;
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
