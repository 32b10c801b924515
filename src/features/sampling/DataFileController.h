#pragma once

#include "support/OperatorDialogs.h"

#include <QObject>
#include <QString>

class InstrumentSession;

// The logic behind the "Save to File" frame: choosing and opening the data file that the
// receive loop fills, and closing it. After every change it calls SetStatus with the current
// code, which brings NewFileButton, StopSavingButton and SavingLabel in line.
class DataFileController : public QObject
{
    Q_OBJECT

public:
    DataFileController(InstrumentSession &session, OperatorDialogs &dialogs,
                       QObject *parent = nullptr);

    // Asks before closing an open file, then lets the operator choose a new one and opens
    // it, replacing an existing file. 1 when a new file is open, -1 otherwise (declined,
    // cancelled, it could not be opened, or a file transfer owns the line).
    int OpenNewFile();
    // NewFileButton.
    void NewFileClicked() { OpenNewFile(); }
    // StopSavingButton: closes the file at once; what arrives afterwards is not saved. Refused
    // while a file transfer owns the line.
    void StopSavingClicked();

    // What SavingLabel shows: "Saving to \"run1.raw\"" or "No file open".
    QString savingLabelText() const;
    static QString savingLabelText(const QString &path);
    static QString noFileText();
    static QString closeQuestion();
    static QString fileFilters();
    static QString openErrorMessage(const QString &path, const QString &reason);
    static QString transferRunningMessage();

signals:
    // SavingLabel's caption changed; emitted before the SetStatus call.
    void savingLabelTextChanged(const QString &text);
    // The file was opened or closed (after the SetStatus call).
    void fileStateChanged(bool open);

private:
    bool refusedDuringTransfer();
    void closeFile();
    void refresh();

    InstrumentSession &m_session;
    OperatorDialogs &m_dialogs;
};
