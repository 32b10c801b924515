#pragma once

#include "link/CommandTransaction.h"
#include "link/ProgramState.h"
#include "support/OperatorDialogs.h"

#include <QObject>
#include <QString>
#include <functional>

// What the file manager's long operations (download, upload, delete) share: the program
// state, the transaction, the operator, the status poll switch, and the signals through
// which the file manager window follows them. The window connects the same slots to each.
class FileTransferOperation : public QObject
{
    Q_OBJECT

public:
    FileTransferOperation(ProgramState &state, CommandTransaction &transaction,
                          OperatorDialogs &dialogs, QObject *parent = nullptr);

    // StatusTimer's enabled state, which every operation puts back as it found it.
    void setStatusTimerAccess(std::function<bool()> isEnabled,
                              std::function<void(bool)> setEnabled);

    // `done` of `total` as a whole percentage ("46%" for 0.456); "0%" when total is 0.
    static QString percentText(qint64 done, qint64 total);

signals:
    // ProgressLabel's new text; empty when the operation is over.
    void ProgressLabelChanged(const QString &text);
    // TransferBusy: CloseButton reads "Stop" (and sets TransferCancelled) while true,
    // "Close" otherwise.
    void transferBusyChanged(bool busy);
    // GetFilesButton and DeleteButton enabled (false while a download or deletion runs).
    void actionButtonsEnabledChanged(bool enabled);
    // Mouse pointer: hourglass while true, the default otherwise.
    void hourglassChanged(bool on);
    // Select DirGrid rows firstRow..lastRow, columns 0 to 3: what is still to come.
    void rowsSelected(int firstRow, int lastRow);
    // Current row and column, selection-end row and column all 0.
    void selectionCleared();
    // The operation changed the instrument's memory: run RefreshDirectory.
    void refreshRequested();
    // A download or upload took the line (and with it the data file slot) or gave it back;
    // the main window brings its data file controls in line.
    void lineOwnershipChanged(bool owned);

protected:
    // Holds the line for one download or upload and gives it back as it was found.
    class LineHold
    {
    public:
        explicit LineHold(FileTransferOperation &operation);
        ~LineHold();
        LineHold(const LineHold &) = delete;
        LineHold &operator=(const LineHold &) = delete;

    private:
        FileTransferOperation &m_operation;
        bool m_wasOwned;
    };

    bool statusTimerEnabled() const;
    void setStatusTimerEnabled(bool enabled);
    // Emits ProgressLabelChanged only when the text changes, so a fast poll does not flood
    // the label.
    void showProgress(const QString &text);
    // TransferBusy on or off with the caption; `lockActions` also covers the two buttons.
    void setBusy(bool busy, bool lockActions);

    ProgramState &m_state;
    CommandTransaction &m_transaction;
    OperatorDialogs &m_dialogs;

private:
    void setLineOwned(bool owned);

    std::function<bool()> m_statusTimerEnabled;
    std::function<void(bool)> m_setStatusTimerEnabled;
    QString m_progress;
};
