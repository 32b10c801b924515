#pragma once

#include "support/OperatorDialogs.h"

#include <functional>

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

class ErrorForm;

// The operator dialogs of the running program: the question box, the message window and
// Qt's standard message box, input box and file choosers.
class QtOperatorDialogs : public OperatorDialogs
{
    Q_DECLARE_TR_FUNCTIONS(QtOperatorDialogs)

public:
    // `owner` (normally the main window) owns the choosers and the message window.
    explicit QtOperatorDialogs(QWidget *owner = nullptr);
    ~QtOperatorDialogs() override;
    QtOperatorDialogs(const QtOperatorDialogs &) = delete;
    QtOperatorDialogs &operator=(const QtOperatorDialogs &) = delete;
    void setOwner(QWidget *owner) { m_owner = owner; }

    // The message window ShowErrorMessage uses now; null before the first message and after
    // the operator closed it with its close box.
    ErrorForm *errorForm() const;
    // Replaces the system beep of the message window (tests count it).
    void setErrorBeepHook(std::function<void()> hook);

    // Centred on the screen, without owner, as every question of the program is.
    int ShowQuestionBox(const QString &question, const QString &caption1, const QString &caption2,
                        const QString &caption3, int defaultButton) override;
    void ShowErrorMessage(const QString &message) override;
    void showMessage(const QString &title, const QString &text) override;
    void showCriticalMessage(const QString &title, const QString &text) override;
    bool askYesNo(const QString &title, const QString &question) override;
    QString inputBox(const QString &title, const QString &prompt,
                     const QString &defaultText) override;
    QString saveFileName(const QString &title, const QString &startPath, const QString &filters,
                         const QString &defaultSuffix) override;
    // A start path ending in a separator opens that folder with no name proposed; otherwise
    // the dialog opens in the parent folder with the last element proposed.
    QString openFileName(const QString &title, const QString &startPath) override;
    QString browseForFolder(const QString &startFolder) override;
    void beep() override;

private:
    QPointer<QWidget> m_owner;
    QPointer<ErrorForm> m_errorForm;
    std::function<void()> m_errorBeepHook;
};
