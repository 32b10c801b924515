#pragma once

#include <QString>

// Every question, message, input box and file chooser the program puts to the operator
// goes through this interface. The program installs the real windows (QtOperatorDialogs);
// tests install a ScriptedOperator that answers from a script and records what was asked.
class OperatorDialogs
{
public:
    virtual ~OperatorDialogs() = default;

    // Question box with up to three buttons (an empty caption hides its button). Returns
    // 1 for the first button, 0 for the second, -1 for the third or when closed without one.
    virtual int ShowQuestionBox(const QString &question, const QString &caption1,
                                const QString &caption2, const QString &caption3,
                                int defaultButton) = 0;
    // The error window: warning icon, the text, "OK"; beeps.
    virtual void ShowErrorMessage(const QString &message) = 0;
    // The system message box with one "OK" button.
    virtual void showMessage(const QString &title, const QString &text) = 0;
    // The same with the critical-error icon.
    virtual void showCriticalMessage(const QString &title, const QString &text) = 0;
    // The system message box with "Yes" and "No", exclamation icon, "No" the default.
    // True only for "Yes".
    virtual bool askYesNo(const QString &title, const QString &question) = 0;
    // The input box; returns the typed text, empty on Cancel.
    virtual QString inputBox(const QString &title, const QString &prompt,
                             const QString &defaultText) = 0;
    // Save-file chooser; `filters` in QFileDialog's form ("Text Files (*.raw);;All Files (*.*)").
    // Returns the chosen path, empty on Cancel.
    virtual QString saveFileName(const QString &title, const QString &startPath,
                                 const QString &filters, const QString &defaultSuffix) = 0;
    // Open-file chooser for an existing file; empty on Cancel.
    virtual QString openFileName(const QString &title, const QString &startPath) = 0;
    // Folder chooser; empty on Cancel.
    virtual QString browseForFolder(const QString &startFolder) = 0;
    virtual void beep() = 0;
};
