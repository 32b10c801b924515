#pragma once

#include "features/files/FileDirectory.h"
#include "features/files/FileOutcome.h"
#include "support/OperatorDialogs.h"

#include <QList>
#include <QObject>
#include <QString>

class InstrumentSession;

// What the file manager's long operations (download, upload, delete) share: the session,
// the operator, the directory they work on, and the signals through which a front end
// follows them. Each operation owns the line while it runs (which also holds status polling
// off).
class FileTransferOperation : public QObject
{
    Q_OBJECT

public:
    FileTransferOperation(InstrumentSession &session, FileDirectory &directory,
                          OperatorDialogs &dialogs, QObject *parent = nullptr);

    // `done` of `total` as a whole percentage ("46%" for 0.456); "0%" when total is 0.
    static QString percentText(qint64 done, qint64 total);

signals:
    // A run of `count` files begins; until it ends the operator may ask it to stop
    // (TransferCancelled).
    void batchStarted(int count);
    // File `index` (from 0) of `count` comes next.
    void fileStarted(const QString &name, int index, int count);
    // `bytes` of `total` of file `name` have arrived or gone out.
    void progressed(const QString &name, int index, int count, qint64 bytes, qint64 total);
    // The file's bytes move no more.
    void progressEnded();
    void fileFinished(const FileOutcome &outcome, int index, int count);
    // The run is over; one outcome per file that was tried.
    void batchFinished(const QList<FileOutcome> &outcomes);

protected:
    // Says the progress of the current file only when its byte count changed, so that a fast
    // poll does not flood whoever shows it.
    void showProgress(const QString &name, qint64 bytes, qint64 total);
    void endProgress();
    // The file of the run that comes next (index from 0); a file on its own is 0 of 1.
    void setPlace(int index, int count);
    FileOutcome finish(FileOutcome outcome);

    InstrumentSession &m_session;
    FileDirectory &m_directory;
    OperatorDialogs &m_dialogs;
    int m_index = 0;
    int m_count = 1;

private:
    qint64 m_shownBytes = -1;
};
