#pragma once

#include "features/files/FileTransferOperation.h"
#include "link/CommPort.h"
#include "link/FileCapture.h"

#include <QString>
#include <functional>

// "Get Files": copies the selected instrument files one after the other into
// DefaultDataFolder. The instrument streams a file's bytes after its "type" command; the
// receive loop files them and closes the file when the listed size has arrived.
class FileDownload : public FileTransferOperation
{
    Q_OBJECT

public:
    static constexpr float kReplyTimeoutSeconds = 1.0f;
    static constexpr float kSilenceSeconds = 10.0f;

    // What the batch reads of one DirGrid row.
    struct Row {
        QString name; // column 0, the file name
        QString size; // column 5, the size without separators
    };
    using RowReader = std::function<Row(int gridRow)>;

    FileDownload(ProgramState &state, CommPort &port, CommandTransaction &transaction,
                 FileCapture &capture, OperatorDialogs &dialogs, QObject *parent = nullptr);

    // GetFilesButton: fetches grid rows currentRow..selectionEndRow (either order; row 0 is
    // the header) top to bottom, holding StatusTimer off throughout. Stops at the first
    // file that fails; the selection then still covers the files not fetched. True when
    // every selected file arrived.
    bool GetFiles(int currentRow, int selectionEndRow, const RowReader &rowAt);

    // One file into `path` (replaced without asking), `size` bytes as listed. True when
    // the file arrived completely; otherwise the operator has been told why.
    bool DownloadFile(const QString &path, int size);

    // SetDirButton: the folder chooser, starting at DefaultDataFolder. True when a folder
    // was chosen; DefaultDataFolder then holds it and downloadFolderChanged() has told.
    bool ChooseDownloadFolder();

    static QString noSelectionMessage();
    static QString noReplyMessage(const QString &name);
    static QString timedOutMessage(const QString &name);
    static QString cancelledMessage();
    static QString badSizeMessage(const QString &name, const QString &sizeText);
    static QString emptyFileMessage(const QString &name, int size);
    static QString cannotCreateMessage(const QString &path, const QString &reason);

signals:
    // SavePathLabel shows PathForDisplay of the new folder.
    void downloadFolderChanged(const QString &folder);

private:
    bool awaitCapture(const QString &name, int size);

    CommPort &m_port;
    FileCapture &m_capture;
};
