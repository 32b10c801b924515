#pragma once

#include "features/files/FileTransferOperation.h"

#include <QString>

class Line;

// "Delete Files": removes the selected instrument files with "Del" after the operator
// confirms. The run owns the line: nothing else is sent between the files.
class FileDelete : public FileTransferOperation
{
    Q_OBJECT

public:
    static constexpr float kDeleteTimeoutSeconds = 3.0f;
    static constexpr float kPauseAfterFileSeconds = 0.5f;

    FileDelete(InstrumentSession &session, FileDirectory &directory, OperatorDialogs &dialogs,
               QObject *parent = nullptr);

    // DeleteButton: asks, then deletes grid rows currentRow..selectionEndRow (either
    // order; row 0 is the header, row r the directory's row r - 1) top to bottom until Stop
    // or a missing reply, and refreshes the listing. False when nothing was selected, the
    // operator said No, or another operation owns the line.
    bool DeleteFiles(int currentRow, int selectionEndRow);

    // "Del" for one file; true when the instrument answered at all (its words are not
    // examined).
    static bool DeleteInstrumentFile(Line &line, const QString &name);

    static QString noSelectionMessage();
    // "Delete NAME from Orvantis memory?" for one file, "Delete 3 files from Orvantis
    // memory?" for more.
    static QString questionText(int count, const QString &firstName);
};
