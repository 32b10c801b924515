#include "app/cli/CommandLineDialogs.h"

#include "app/cli/CliOutput.h"

namespace
{
constexpr int kFirstButton = 1;
constexpr int kThirdButton = -1;
} // namespace

int CommandLineDialogs::ShowQuestionBox(const QString &question, const QString &caption1,
                                        const QString &, const QString &, int)
{
    // A notice with a single button is only told.
    if (caption1.isEmpty()) {
        m_output.note(question);
        return kThirdButton;
    }
    if (!m_answerYes) {
        refuse(question);
        return kThirdButton;
    }
    m_output.note(tr("%1 - %2 (--yes)").arg(question, caption1));
    return kFirstButton;
}

void CommandLineDialogs::ShowErrorMessage(const QString &message)
{
    m_output.error(message);
}

void CommandLineDialogs::showMessage(const QString &, const QString &text)
{
    m_output.note(text);
}

void CommandLineDialogs::showCriticalMessage(const QString &, const QString &text)
{
    ShowErrorMessage(text);
}

bool CommandLineDialogs::askYesNo(const QString &, const QString &question)
{
    if (!m_answerYes) {
        refuse(question);
        return false;
    }
    m_output.note(tr("%1 - Yes (--yes)").arg(question));
    return true;
}

QString CommandLineDialogs::inputBox(const QString &title, const QString &prompt, const QString &)
{
    refuse(title + QStringLiteral(": ") + prompt);
    return QString();
}

QString CommandLineDialogs::saveFileName(const QString &title, const QString &, const QString &,
                                         const QString &)
{
    if (m_chosenPath.isEmpty())
        refuse(title.isEmpty() ? tr("Which file should the data go into?") : title);
    return m_chosenPath;
}

QString CommandLineDialogs::openFileName(const QString &title, const QString &)
{
    if (m_chosenPath.isEmpty())
        refuse(title);
    return m_chosenPath;
}

QString CommandLineDialogs::browseForFolder(const QString &)
{
    refuse(tr("Which folder should the files go into?"));
    return QString();
}

void CommandLineDialogs::refuse(const QString &question)
{
    m_output.error(tr("not answered without a person or --yes: \"%1\"").arg(question));
}
