#pragma once

#include <QMetaType>
#include <QString>

// How one file of a download, upload or deletion ended. The front ends turn it into their own
// terms: the file manager into its rows and messages, the command line into lines and JSON.
struct FileOutcome {
    enum class Result {
        Done,     // the file arrived, went out, or was deleted
        Refused,  // the instrument would not: `words` are its own
        CutShort, // stopped part of the way: `bytes` moved, and the download's are at `partPath`
        Failed    // nothing of the file moved; `message` says why
    };

    // The file's name on the instrument.
    QString name;
    Result result = Result::Failed;
    // A refusal's words, as the instrument sent them.
    QString words;
    // What arrived (a download) or went out (an upload) of the file.
    qint64 bytes = 0;
    // A download cut short: where the bytes that arrived are (NAME.part beside a local file
    // that kept its earlier contents, or the file itself where there was none).
    QString partPath;
    bool earlierKept = false;
    // What the operator is told about it; empty when nothing needs saying (a Stop during an
    // upload, a lost line the session has already reported).
    QString message;

    bool done() const { return result == Result::Done; }
};

Q_DECLARE_METATYPE(FileOutcome)
