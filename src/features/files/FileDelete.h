#pragma once

#include "features/files/FileTransferOperation.h"

#include <QString>
#include <QStringList>

class Line;

// "Delete Files": removes instrument files with "Del" after the operator confirms. The run
// owns the line: nothing else is sent between the files.
class FileDelete : public FileTransferOperation
{
    Q_OBJECT

public:
    static constexpr float kDeleteTimeoutSeconds = 3.0f;
    static constexpr float kPauseAfterFileSeconds = 0.5f;

    FileDelete(InstrumentSession &session, FileDirectory &directory, OperatorDialogs &dialogs,
               QObject *parent = nullptr);

    // DeleteButton: asks, then deletes `names` top to bottom owning the line (see
    // deleteFiles) and refreshes the listing. Empty `names`: the operator is told to select
    // some. Nothing happens when the operator says No or another operation owns the line.
    QList<FileOutcome> DeleteFiles(const QStringList &names);
    // "Del" for each of `names` on `line`, pausing after each, until Stop (TransferCancelled)
    // or a "Del" without an answer. One outcome per file tried; the instrument's words are not
    // examined (the listing tells what went).
    QList<FileOutcome> deleteFiles(Line &line, const QStringList &names);

    // "Del" for one file; true when the instrument answered at all (its words are not
    // examined).
    static bool DeleteInstrumentFile(Line &line, const QString &name);

    static QString noSelectionMessage();
    // "Delete NAME from Orvantis memory?" for one file, "Delete 3 files from Orvantis
    // memory?" for more.
    static QString questionText(int count, const QString &firstName);
};
