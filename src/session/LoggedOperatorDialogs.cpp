#include "session/LoggedOperatorDialogs.h"

#include "session/EventLog.h"
#include "support/SettingsKeys.h"

namespace
{
// A caption as the operator reads it: without the access key's marker.
QString plainCaption(QString caption)
{
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption;
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}
} // namespace

int LoggedOperatorDialogs::ShowQuestionBox(const QString &question, const QString &caption1,
                                           const QString &caption2, const QString &caption3,
                                           int defaultButton)
{
    this->question(question);
    const int button =
        m_shown.ShowQuestionBox(question, caption1, caption2, caption3, defaultButton);
    const QString caption = button == 1 ? caption1 : button == 0 ? caption2 : caption3;
    answer(caption.isEmpty() ? tr("closed without an answer") : quoted(plainCaption(caption)));
    return button;
}

void LoggedOperatorDialogs::ShowErrorMessage(const QString &text)
{
    message(QString(), text);
    m_shown.ShowErrorMessage(text);
}

void LoggedOperatorDialogs::showMessage(const QString &title, const QString &text)
{
    message(title, text);
    m_shown.showMessage(title, text);
}

void LoggedOperatorDialogs::showCriticalMessage(const QString &title, const QString &text)
{
    message(title, text);
    m_shown.showCriticalMessage(title, text);
}

bool LoggedOperatorDialogs::askYesNo(const QString &title, const QString &question)
{
    this->question(question);
    const bool yes = m_shown.askYesNo(title, question);
    answer(quoted(yes ? tr("Yes") : tr("No")));
    return yes;
}

QString LoggedOperatorDialogs::inputBox(const QString &title, const QString &prompt,
                                        const QString &defaultText)
{
    question(prompt);
    const QString typed = m_shown.inputBox(title, prompt, defaultText);
    answer(typed.isEmpty() ? tr("Cancel") : quoted(typed));
    return typed;
}

QString LoggedOperatorDialogs::saveFileName(const QString &title, const QString &startPath,
                                            const QString &filters, const QString &defaultSuffix)
{
    question(title.isEmpty() ? tr("Save as") : title);
    return chosen(m_shown.saveFileName(title, startPath, filters, defaultSuffix));
}

QString LoggedOperatorDialogs::openFileName(const QString &title, const QString &startPath)
{
    //: The title of a file chooser that opens a file.
    question(title.isEmpty() ? tr("Open") : title);
    return chosen(m_shown.openFileName(title, startPath));
}

QString LoggedOperatorDialogs::browseForFolder(const QString &startFolder)
{
    question(tr("Choose a folder"));
    return chosen(m_shown.browseForFolder(startFolder));
}

// The title only when it says more than the program's name.
void LoggedOperatorDialogs::message(const QString &title, const QString &text)
{
    const bool named = !title.isEmpty() && title != SettingsKeys::kApplication;
    //: An event log line: a message window's title, then its text.
    m_log.append(EventCategory::Message, named ? tr("%1: %2").arg(title, text) : text);
}

void LoggedOperatorDialogs::question(const QString &text)
{
    m_log.append(EventCategory::Question, text);
}

void LoggedOperatorDialogs::answer(const QString &text)
{
    m_log.append(EventCategory::Answer, text);
}

QString LoggedOperatorDialogs::chosen(const QString &path)
{
    answer(path.isEmpty() ? tr("Cancel") : quoted(path));
    return path;
}
