#pragma once

#include "features/files/FileDirectory.h"
#include "support/OperatorDialogs.h"

#include <QObject>
#include <QString>

class InstrumentSession;

// What the file manager's long operations (download, upload, delete) share: the session,
// the operator, the directory they work on, and the signals through which the file manager
// window follows them. Each operation owns the line while it runs (which also holds status
// polling off).
class FileTransferOperation : public QObject
{
    Q_OBJECT

public:
    FileTransferOperation(InstrumentSession &session, FileDirectory &directory,
                          OperatorDialogs &dialogs, QObject *parent = nullptr);

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

protected:
    // Emits ProgressLabelChanged only when the text changes, so a fast poll does not flood
    // the label.
    void showProgress(const QString &text);
    // TransferBusy on or off with the caption; `lockActions` also covers the two buttons.
    void setBusy(bool busy, bool lockActions);

    InstrumentSession &m_session;
    FileDirectory &m_directory;
    OperatorDialogs &m_dialogs;

private:
    QString m_progress;
};
