#pragma once

#include "support/OperatorDialogs.h"

#include <QCoreApplication>
#include <QString>

class CliOutput;

// The operator, as the command line stands for one: messages go to standard error, and a
// question is answered from the command's options (--yes) or refused, saying what it asked.
// Nothing waits for a person.
class CommandLineDialogs : public OperatorDialogs
{
    Q_DECLARE_TR_FUNCTIONS(CommandLineDialogs)

public:
    explicit CommandLineDialogs(CliOutput &output) : m_output(output) {}

    // --yes: questions get their first answer ("Yes", "OK").
    void setAnswerYes(bool yes) { m_answerYes = yes; }
    // The path a file chooser returns (the command's -o FILE); empty refuses it.
    void setChosenPath(const QString &path) { m_chosenPath = path; }

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
    void beep() override {}

private:
    // Says what would have been asked; the caller answers "No" or "Cancel".
    void refuse(const QString &question);

    CliOutput &m_output;
    bool m_answerYes = false;
    QString m_chosenPath;
};
