#pragma once

#include "support/OperatorDialogs.h"

#include <QQueue>
#include <QStringList>
#include <functional>

// An operator that answers from a script, for tests. Every question and message is
// recorded; unscripted questions get -1 (closed) and unscripted choosers get Cancel.
class ScriptedOperator : public OperatorDialogs
{
public:
    int ShowQuestionBox(const QString &question, const QString &caption1, const QString &caption2,
                        const QString &caption3, int defaultButton) override;
    void ShowErrorMessage(const QString &message) override { errors << message; }
    void showMessage(const QString &title, const QString &text) override
    {
        messages << title + QStringLiteral(": ") + text;
        if (onMessage)
            onMessage();
    }
    void showCriticalMessage(const QString &title, const QString &text) override
    {
        criticalMessages << title + QStringLiteral(": ") + text;
    }
    // Unscripted: "No", the default button.
    bool askYesNo(const QString &title, const QString &question) override
    {
        yesNoQuestions << title + QStringLiteral(": ") + question;
        return !yesNoAnswers.isEmpty() && yesNoAnswers.dequeue();
    }
    QString inputBox(const QString &title, const QString &prompt,
                     const QString &defaultText) override;
    QString saveFileName(const QString &title, const QString &startPath, const QString &filters,
                         const QString &defaultSuffix) override;
    QString openFileName(const QString &title, const QString &startPath) override;
    QString browseForFolder(const QString &startFolder) override;
    void beep() override { ++beeps; }

    QQueue<int> questionAnswers;
    QQueue<QString> inputAnswers;
    QQueue<QString> pathAnswers;
    QQueue<bool> yesNoAnswers;

    QStringList questions;
    QStringList errors;
    QStringList messages;
    std::function<void()> onMessage;
    QStringList criticalMessages;
    QStringList yesNoQuestions;
    // Title and filters of each file chooser asked for.
    QStringList fileChoosers;
    // Where each file or folder chooser opened (its start path), in order.
    QStringList chooserStarts;
    QStringList inputPrompts;
    QStringList inputDefaults;
    int beeps = 0;
};
