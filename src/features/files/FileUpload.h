#pragma once

#include "features/files/FileTransferOperation.h"

#include <QString>

class Line;

// "Send File...": sends a text file from the computer into the instrument's memory, line
// by line, through the instrument's "capture" command and its "Capture>" prompt.
class FileUpload : public FileTransferOperation
{
    Q_OBJECT

public:
    static constexpr int kInstrumentNameLength = 12;
    static constexpr float kCaptureWaitSeconds = 1.0f;
    static constexpr float kSettleSeconds = 0.2f;
    static constexpr float kLinePauseSeconds = 0.01f;
    static constexpr float kLineTimeoutSeconds = 0.1f;
    static constexpr float kEndTimeoutSeconds = 2.0f;
    // A line's "Capture>" is waited for beyond its 0.1 s as long as its echo keeps coming:
    // until this long passes with nothing new.
    static constexpr float kEchoSilenceSeconds = 1.0f;

    FileUpload(InstrumentSession &session, FileDirectory &directory, OperatorDialogs &dialogs,
               QObject *parent = nullptr);

    // SendFileButton: asks for the file (starting in LastUploadFolder), sends it owning the
    // line, then refreshes the listing. False when the operator cancelled the chooser
    // (nothing else happens then). A name the instrument cannot hold is refused before
    // anything is sent (its outcome tells why).
    bool SendFile();

    // Sends one file, owning the line, under `name` on the instrument (InstrumentName() of the
    // path when empty). Nothing happens for a path that is not an existing file. Lines go out
    // only while the instrument shows its "Capture>" prompt: when the capture command does
    // not bring it, nothing of the file is sent (Refused, with the instrument's words); when
    // a line does not bring it back, the upload stops there (CutShort).
    FileOutcome UploadFile(const QString &path, const QString &name = QString());

    // The name the file gets on the instrument: the first 12 characters of its file name,
    // spaces removed ("my notes file.txt" -> "mynotesfil").
    static QString InstrumentName(const QString &path);

    // The folder the next chooser starts in: the folder of the file sent last (kept in the
    // settings), or the program's own folder until then. Ends in a separator.
    static QString LastUploadFolder();
    static void setLastUploadFolder(const QString &folder);

    static QString dialogTitle();
    static QString cannotOpenMessage(const QString &path, const QString &reason);
    static QString refusedNameMessage(const QString &displayName, const QString &name,
                                      const QString &problem);
    static QString notCapturingMessage(const QString &displayName, const QString &name,
                                       const QByteArray &answer);
    static QString promptMissingMessage(const QString &displayName, int lineNumber,
                                        const QString &name);

private:
    FileOutcome upload(Line &line, const QString &path, const QString &name);
    bool sendLine(Line &line, const QByteArray &text);
    // The outcome of a name the instrument cannot hold; done() when it can.
    static FileOutcome checkName(const QString &path, const QString &name);
};
