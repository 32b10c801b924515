#include "testkit/ModalDriver.h"
#include "ui/widgets/ErrorForm.h"
#include "ui/widgets/QtOperatorDialogs.h"
#include "ui/widgets/YesNoCancelForm.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestQtOperatorDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void questionAndErrorUseTheProgramsWindows();
    void yesNoBoxWarnsAndDefaultsToNo_data();
    void yesNoBoxWarnsAndDefaultsToNo();
    void inputBoxGivesTextOrEmptyOnCancel_data();
    void inputBoxGivesTextOrEmptyOnCancel();
    void openFileStartsInFolderOrProposesLastElement_data();
    void openFileStartsInFolderOrProposesLastElement();
    void saveFileUsesFiltersSuffixAndAsksBeforeOverwrite();
    void folderChooserGivesFolderOrEmptyOnCancel();

private:
    QTemporaryDir m_dir;
    QtOperatorDialogs m_dialogs;
};

void TestQtOperatorDialogs::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QFile file(m_dir.filePath("sample.raw"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    ErrorForm::setBeepHook([] {});
}

void TestQtOperatorDialogs::questionAndErrorUseTheProgramsWindows()
{
    bool question = false;
    whenModalShown([&question](QWidget *window) {
        question = qobject_cast<YesNoCancelForm *>(window) != nullptr;
        window->findChild<QPushButton *>("NoButton")->click();
    });
    QCOMPARE(m_dialogs.ShowQuestionBox("Delete it?", "Yes", "No", "", 1), 0);
    QVERIFY(question);

    QString shown;
    whenModalShown([&shown](QWidget *window) {
        if (qobject_cast<ErrorForm *>(window))
            shown = window->findChild<QLabel *>("msgText")->text();
        window->findChild<QPushButton *>("Cancel")->click();
    });
    m_dialogs.ShowErrorMessage("Transfer failed.");
    QCOMPARE(shown, QString("Transfer failed."));
}

void TestQtOperatorDialogs::yesNoBoxWarnsAndDefaultsToNo_data()
{
    QTest::addColumn<bool>("pressYes");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void TestQtOperatorDialogs::yesNoBoxWarnsAndDefaultsToNo()
{
    QFETCH(bool, pressYes);
    QString title;
    QString text;
    bool warning = false;
    bool noIsDefault = false;
    whenModalShown([&](QWidget *window) {
        auto *box = qobject_cast<QMessageBox *>(window);
        if (!box) {
            window->close();
            return;
        }
        title = box->windowTitle();
        text = box->text();
        warning = box->icon() == QMessageBox::Warning;
        noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
        box->button(pressYes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    QCOMPARE(m_dialogs.askYesNo("Orvantis Console", "Delete 3 files from Orvantis memory?"),
             pressYes);
    QCOMPARE(title, QString("Orvantis Console"));
    QCOMPARE(text, QString("Delete 3 files from Orvantis memory?"));
    QVERIFY(warning);
    QVERIFY(noIsDefault);
}

void TestQtOperatorDialogs::inputBoxGivesTextOrEmptyOnCancel_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("result");
    QTest::newRow("OK") << true << "run7";
    QTest::newRow("Cancel") << false << "";
}

void TestQtOperatorDialogs::inputBoxGivesTextOrEmptyOnCancel()
{
    QFETCH(bool, accept);
    QFETCH(QString, result);
    QString shownDefault;
    whenModalShown([&](QWidget *window) {
        auto *input = qobject_cast<QInputDialog *>(window);
        if (!input) {
            window->close();
            return;
        }
        shownDefault = input->textValue();
        input->setTextValue("run7");
        accept ? input->accept() : input->reject();
    });
    QCOMPARE(m_dialogs.inputBox("Rename", "New name:", "run6"), result);
    QCOMPARE(shownDefault, QString("run6"));
}

void TestQtOperatorDialogs::openFileStartsInFolderOrProposesLastElement_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("folder") << "/"
                            << "";
    QTest::newRow("file in folder") << "/sample.raw"
                                    << "sample.raw";
}

void TestQtOperatorDialogs::openFileStartsInFolderOrProposesLastElement()
{
    QFETCH(QString, start);
    QFETCH(QString, proposed);
    QString folder;
    QStringList selected;
    QStringList filters;
    bool existingOnly = false;
    whenModalShown([&](QWidget *window) {
        auto *dialog = qobject_cast<QFileDialog *>(window);
        if (!dialog) {
            window->close();
            return;
        }
        folder = dialog->directory().absolutePath();
        selected = dialog->selectedFiles();
        filters = dialog->nameFilters();
        existingOnly = dialog->fileMode() == QFileDialog::ExistingFile;
        dialog->selectFile("sample.raw");
        static_cast<QDialog *>(dialog)->accept();
    });
    const QString chosen = m_dialogs.openFileName("Send File", m_dir.path() + start);

    QCOMPARE(folder, QDir(m_dir.path()).absolutePath());
    QVERIFY(existingOnly);
    QCOMPARE(filters.size(), 1);
    QVERIFY(filters[0].startsWith("All Files ("));
    if (proposed.isEmpty())
        QVERIFY(selected.isEmpty() || QFileInfo(selected.value(0)).isDir());
    else
        QCOMPARE(QFileInfo(selected.value(0)).fileName(), proposed);
    QCOMPARE(QDir::fromNativeSeparators(chosen), m_dir.filePath("sample.raw"));
}

void TestQtOperatorDialogs::saveFileUsesFiltersSuffixAndAsksBeforeOverwrite()
{
    QStringList filters;
    QString suffix;
    bool confirms = false;
    whenModalShown([&](QWidget *window) {
        auto *dialog = qobject_cast<QFileDialog *>(window);
        if (!dialog) {
            window->close();
            return;
        }
        filters = dialog->nameFilters();
        suffix = dialog->defaultSuffix();
        confirms = dialog->acceptMode() == QFileDialog::AcceptSave &&
                   !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        dialog->selectFile(m_dir.filePath("run1"));
        static_cast<QDialog *>(dialog)->accept();
    });
    const QString chosen = m_dialogs.saveFileName("New File", m_dir.path() + "/",
                                                  "Text Files (*.raw);;All Files (*.*)", "raw");

    QCOMPARE(filters, QStringList({"Text Files (*.raw)", "All Files (*.*)"}));
    QCOMPARE(suffix, QString("raw"));
    QVERIFY(confirms);
    QCOMPARE(QDir::fromNativeSeparators(chosen), m_dir.filePath("run1.raw"));
}

void TestQtOperatorDialogs::folderChooserGivesFolderOrEmptyOnCancel()
{
    QString startedIn;
    whenModalShown([&startedIn](QWidget *window) {
        if (auto *dialog = qobject_cast<QFileDialog *>(window))
            startedIn = dialog->directory().absolutePath();
        window->close();
    });
    QCOMPARE(m_dialogs.browseForFolder(m_dir.path()), QString());
    QCOMPARE(startedIn, QDir(m_dir.path()).absolutePath());

    whenModalShown([](QWidget *window) {
        if (auto *dialog = qobject_cast<QFileDialog *>(window))
            static_cast<QDialog *>(dialog)->accept();
        else
            window->close();
    });
    QCOMPARE(QDir::fromNativeSeparators(m_dialogs.browseForFolder(m_dir.path())),
             QDir(m_dir.path()).absolutePath());
}

QTEST_MAIN(TestQtOperatorDialogs)
#include "tst_qtoperatordialogs.moc"
