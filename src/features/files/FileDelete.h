#pragma once

#include "features/files/FileTransferOperation.h"

#include <QString>
#include <functional>

// "Delete Files": removes the selected instrument files with "Del" after the operator
// confirms. StatusTimer is left alone: status queries may run during the pauses.
class FileDelete : public FileTransferOperation
{
    Q_OBJECT

public:
    static constexpr float kDeleteTimeoutSeconds = 3.0f;
    static constexpr float kPauseAfterFileSeconds = 0.5f;

    // The Name column (0) of one DirGrid row.
    using NameReader = std::function<QString(int gridRow)>;

    FileDelete(ProgramState &state, CommandTransaction &transaction, OperatorDialogs &dialogs,
               QObject *parent = nullptr);

    // DeleteButton: asks, then deletes grid rows currentRow..selectionEndRow (either
    // order; row 0 is the header) top to bottom until Stop or a missing reply, and asks
    // for a fresh listing. False when nothing was selected or the operator said No.
    bool DeleteFiles(int currentRow, int selectionEndRow, const NameReader &nameAt);

    // "Del" for one file; true when the instrument answered at all (its words are not
    // examined).
    bool DeleteInstrumentFile(const QString &name);

    static QString noSelectionMessage();
    // "Delete NAME from Orvantis memory?" for one file, "Delete 3 files from Orvantis
    // memory?" for more.
    static QString questionText(int count, const QString &firstName);
};
