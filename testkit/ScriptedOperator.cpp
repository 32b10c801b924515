#include "testkit/ScriptedOperator.h"

int ScriptedOperator::ShowQuestionBox(const QString &question, const QString &, const QString &,
                                      const QString &, int)
{
    questions << question;
    return questionAnswers.isEmpty() ? -1 : questionAnswers.dequeue();
}

QString ScriptedOperator::inputBox(const QString &title, const QString &prompt,
                                   const QString &defaultText)
{
    inputPrompts << title + QStringLiteral(": ") + prompt;
    inputDefaults << defaultText;
    return inputAnswers.isEmpty() ? QString() : inputAnswers.dequeue();
}

QString ScriptedOperator::saveFileName(const QString &title, const QString &startPath,
                                       const QString &filters, const QString &)
{
    fileChoosers << title + QStringLiteral(": ") + filters;
    chooserStarts << startPath;
    return pathAnswers.isEmpty() ? QString() : pathAnswers.dequeue();
}

QString ScriptedOperator::openFileName(const QString &, const QString &startPath)
{
    chooserStarts << startPath;
    return pathAnswers.isEmpty() ? QString() : pathAnswers.dequeue();
}

QString ScriptedOperator::browseForFolder(const QString &startFolder)
{
    chooserStarts << startFolder;
    return pathAnswers.isEmpty() ? QString() : pathAnswers.dequeue();
}
