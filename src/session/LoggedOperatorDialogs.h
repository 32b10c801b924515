#pragma once

#include "support/OperatorDialogs.h"

#include <QCoreApplication>

class EventLog;

// The operator dialogs with a record: every message shown goes into the event log before it
// is shown, every question when it is put and its answer when it comes (a question still
// waiting in the morning shows as one without an answer). Everything is then passed on to
// the dialogs the front end installed, unchanged.
class LoggedOperatorDialogs : public OperatorDialogs
{
    Q_DECLARE_TR_FUNCTIONS(LoggedOperatorDialogs)

public:
    LoggedOperatorDialogs(OperatorDialogs &shown, EventLog &log) : m_shown(shown), m_log(log) {}

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
    QString openFileName(const QString &title, const QString &startPath) override;
    QString browseForFolder(const QString &startFolder) override;
    void beep() override { m_shown.beep(); }

private:
    void message(const QString &title, const QString &text);
    void question(const QString &text);
    // The answer as the operator gave it: a button's caption or a typed text in quotes,
    // "Cancel" for nothing chosen.
    void answer(const QString &text);
    QString chosen(const QString &path);

    OperatorDialogs &m_shown;
    EventLog &m_log;
};
