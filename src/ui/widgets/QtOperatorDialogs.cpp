#include "ui/widgets/QtOperatorDialogs.h"

#include "ui/widgets/ErrorForm.h"
#include "ui/widgets/QuestionBoxDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace
{

bool endsInSeparator(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\'));
}

int lastSeparator(const QString &path)
{
    return qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

QString chosenPath(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : QDir::toNativeSeparators(files.first());
}

} // namespace

QtOperatorDialogs::QtOperatorDialogs(QWidget *owner) : m_owner(owner)
{
}

QtOperatorDialogs::~QtOperatorDialogs()
{
    delete m_errorForm;
}

void QtOperatorDialogs::setErrorBeepHook(std::function<void()> hook)
{
    m_errorBeepHook = std::move(hook);
    if (m_errorForm)
        m_errorForm->setBeepHook(m_errorBeepHook);
}

int QtOperatorDialogs::ShowQuestionBox(const QString &question, const QString &caption1,
                                       const QString &caption2, const QString &caption3,
                                       int defaultButton)
{
    return ::ShowQuestionBox(question, caption1, caption2, caption3, defaultButton, false, nullptr);
}

void QtOperatorDialogs::ShowErrorMessage(const QString &message)
{
    if (!m_errorForm) {
        m_errorForm = new ErrorForm(m_owner);
        m_errorForm->setBeepHook(m_errorBeepHook);
    }
    m_errorForm->ShowErrorMessage(message);
}

void QtOperatorDialogs::showMessage(const QString &title, const QString &text)
{
    QMessageBox::information(m_owner, title, text, QMessageBox::Ok);
}

void QtOperatorDialogs::showCriticalMessage(const QString &title, const QString &text)
{
    QMessageBox::critical(m_owner, title, text, QMessageBox::Ok);
}

bool QtOperatorDialogs::askYesNo(const QString &title, const QString &question)
{
    QMessageBox box(QMessageBox::Warning, title, question, QMessageBox::Yes | QMessageBox::No,
                    m_owner);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString QtOperatorDialogs::inputBox(const QString &title, const QString &prompt,
                                    const QString &defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_owner, title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

QString QtOperatorDialogs::saveFileName(const QString &title, const QString &startPath,
                                        const QString &filters, const QString &defaultSuffix)
{
    QFileDialog dialog(m_owner, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters.split(QStringLiteral(";;"), Qt::SkipEmptyParts));
    dialog.setDefaultSuffix(defaultSuffix);
    // Saving replaces an existing file, so ask first (QFileDialog's default, kept explicit).
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!startPath.isEmpty()) {
        if (endsInSeparator(startPath))
            dialog.setDirectory(startPath);
        else
            dialog.selectFile(startPath);
    }
    return chosenPath(dialog);
}

QString QtOperatorDialogs::openFileName(const QString &title, const QString &startPath)
{
    QFileDialog dialog(m_owner, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
#ifdef Q_OS_WIN
    dialog.setNameFilter(tr("All Files (*.*)"));
#else
    // Outside Windows "*.*" only matches names with a dot; the instrument's files need not have
    // one.
    dialog.setNameFilter(tr("All Files (*)"));
#endif
    const int cut = lastSeparator(startPath);
    if (cut >= 0)
        dialog.setDirectory(startPath.left(cut + 1));
    if (!endsInSeparator(startPath))
        dialog.selectFile(startPath.mid(cut + 1));
    return chosenPath(dialog);
}

QString QtOperatorDialogs::browseForFolder(const QString &startFolder)
{
    QFileDialog dialog(m_owner);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setDirectory(startFolder);
    return chosenPath(dialog);
}

void QtOperatorDialogs::beep()
{
    QApplication::beep();
}

ErrorForm *QtOperatorDialogs::errorForm() const
{
    return m_errorForm;
}
