#pragma once

#include "features/files/DirListing.h"
#include "features/files/FileTransferOperation.h"

#include <QList>
#include <QString>

class Line;
class StagedDownload;

// "Get Files": copies the selected instrument files one after the other into
// DefaultDataFolder. The instrument streams a file's bytes after its "type" command; the
// receive loop files them and closes the file when the listed size has arrived.
class FileDownload : public FileTransferOperation
{
    Q_OBJECT

public:
    static constexpr float kReplyTimeoutSeconds = 1.0f;
    static constexpr float kSilenceSeconds = 10.0f;
    // An answer back at the prompt short of the listed size is a refusal once this quiet.
    static constexpr float kRefusalQuietSeconds = 0.5f;

    FileDownload(InstrumentSession &session, FileDirectory &directory, OperatorDialogs &dialogs,
                 QObject *parent = nullptr);

    // GetFilesButton: fetches `files` top to bottom into DefaultDataFolder (the operator picks
    // the folder first when it does not exist), owning the line throughout. Empty `files`:
    // the operator is told to select some. Stops at the first file that does not arrive
    // complete, or at Stop; one outcome per file tried.
    QList<FileOutcome> GetFiles(const QList<DirListing::Row> &files);
    // The same into `folder`, which exists, without asking anything. A TransferCancelled set
    // before it starts stops it before the first file.
    QList<FileOutcome> getFiles(const QList<DirListing::Row> &files, const QString &folder);

    // One file into `path`, `size` bytes as listed (0: an empty file), owning the line. The
    // bytes go to a file beside `path` (see StagedDownload): a complete file replaces `path`
    // without asking; one cut short never replaces a file that was there, and its outcome
    // says where the bytes are.
    FileOutcome DownloadFile(const QString &path, int size);

    // SetDirButton: the folder chooser, starting at DefaultDataFolder. True when a folder
    // was chosen; DefaultDataFolder then holds it and downloadFolderChanged() has told.
    bool ChooseDownloadFolder();

    static QString noSelectionMessage();
    static QString noReplyMessage(const QString &name);
    static QString timedOutMessage(const QString &name);
    static QString cancelledMessage();
    // A file the instrument would not give: noReplyMessage(), then the instrument's own words.
    static QString refusedMessage(const QString &name, const QString &words);
    static QString lostMessage(const QString &name);
    static QString keptMessage(qint64 arrived, const QString &partPath, const QString &name);
    static QString badSizeMessage(const QString &name, const QString &sizeText);
    static QString cannotCreateMessage(const QString &path, const QString &reason);
    static QString notPlacedMessage(const QString &path, const QString &stagingPath,
                                    const QString &reason);

signals:
    // SavePathLabel shows PathForDisplay of the new folder.
    void downloadFolderChanged(const QString &folder);

private:
    enum class Ending { Complete, Refused, TimedOut, Cancelled, Lost, WriteFailed };

    QList<FileOutcome> fetchAll(Line &line, const QList<DirListing::Row> &files,
                                const QString &folder);
    FileOutcome download(Line &line, const QString &path, int size);
    FileOutcome fetch(Line &line, const QString &path, const QString &name, int size);
    Ending awaitFile(Line &line, const QString &name, int size);
    FileOutcome place(StagedDownload &staged, Ending ending, const QString &name, qint64 arrived);
    static QString withNote(const QString &message, const QString &note);
    // What the instrument sent after the echo of "type", from its start.
    QByteArray afterEcho() const;

    // What had come after the echo when it was framed, and where later bytes begin in
    // ReceiveBuffer.
    QByteArray m_echoRest;
    qsizetype m_replyLength = 0;
};
