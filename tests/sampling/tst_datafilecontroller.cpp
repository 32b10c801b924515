#include "features/sampling/DataFileController.h"
#include "features/sampling/SamplingController.h"
#include "link/CommandTransaction.h"
#include "link/FileCapture.h"
#include "link/ReceiveLoop.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/ScriptedOperator.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace
{
// Also records how the question and the save dialog were put.
class RecordingOperator : public ScriptedOperator
{
public:
    int ShowQuestionBox(const QString &question, const QString &caption1, const QString &caption2,
                        const QString &caption3, int defaultButton) override
    {
        captions << QStringList{caption1, caption2, caption3};
        defaultButtons << defaultButton;
        return ScriptedOperator::ShowQuestionBox(question, caption1, caption2, caption3,
                                                 defaultButton);
    }
    QString saveFileName(const QString &title, const QString &startPath, const QString &filters,
                         const QString &defaultSuffix) override
    {
        ++saveDialogs;
        saveFilters << filters;
        saveSuffixes << defaultSuffix;
        return ScriptedOperator::saveFileName(title, startPath, filters, defaultSuffix);
    }

    QList<QStringList> captions;
    QList<int> defaultButtons;
    int saveDialogs = 0;
    QStringList saveFilters;
    QStringList saveSuffixes;
};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
} // namespace

class DataFileControllerTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void cancelInTheDialogLeavesNoFile();
    void chosenFileOpensAndLabelShowsItsName();
    void declineToCloseKeepsTheFileGrowing();
    void yesThenCancelClosesTheOldFile();
    void existingFileIsReplaced();
    void openFailureIsReported_data();
    void openFailureIsReported();
    void stopSavingMidSampleKeepsOnlyWhatCameBefore();
    void stopSavingWithoutFileStillRefreshes();

private:
    QString pathOf(const QString &name) const { return m_dir->filePath(name); }
    // Opens `name` through the dialog, with no file open.
    void openFile(const QString &name)
    {
        m_dialogs->pathAnswers.enqueue(pathOf(name));
        QCOMPARE(m_controller->OpenNewFile(), 1);
    }

    QTemporaryDir *m_dir = nullptr;
    ProgramState *m_state = nullptr;
    PlainLinkStatus *m_status = nullptr;
    RecordingOperator *m_dialogs = nullptr;
    DataFileController *m_controller = nullptr;
    QSignalSpy *m_labels = nullptr;
};

void DataFileControllerTest::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_state = new ProgramState;
    m_status = new PlainLinkStatus;
    m_status->SetStatus(LinkStatus::Idle);
    m_dialogs = new RecordingOperator;
    m_controller = new DataFileController(*m_state, *m_status, *m_dialogs);
    m_labels = new QSignalSpy(m_controller, &DataFileController::savingLabelTextChanged);
}

void DataFileControllerTest::cleanup()
{
    delete m_labels;
    delete m_controller;
    delete m_dialogs;
    delete m_status;
    delete m_state;
    delete m_dir;
}

void DataFileControllerTest::cancelInTheDialogLeavesNoFile()
{
    QCOMPARE(m_controller->OpenNewFile(), -1);
    QCOMPARE(m_state->DataFileNumber(), 0);
    QVERIFY(m_dialogs->questions.isEmpty());
    QCOMPARE(m_dialogs->saveDialogs, 1);
    QCOMPARE(m_dialogs->saveFilters, QStringList{"Text Files (*.raw);;All Files (*.*)"});
    QCOMPARE(m_dialogs->saveSuffixes, QStringList{"raw"});
    QCOMPARE(m_controller->savingLabelText(), QString("No file open"));
    QCOMPARE(m_labels->last().at(0).toString(), QString("No file open"));
    // The window's buttons are refreshed through SetStatus with the code unchanged.
    QCOMPARE(m_status->Status(), int(LinkStatus::Idle));
    QCOMPARE(m_status->changes(), 2);
}

void DataFileControllerTest::chosenFileOpensAndLabelShowsItsName()
{
    QSignalSpy opened(m_controller, &DataFileController::fileStateChanged);
    openFile("run1.raw");
    QCOMPARE(m_state->DataFileNumber(), 1);
    QVERIFY(QFile::exists(pathOf("run1.raw")));
    QCOMPARE(m_controller->savingLabelText(), QString("Saving to \"run1.raw\""));
    QCOMPARE(m_labels->last().at(0).toString(), QString("Saving to \"run1.raw\""));
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.last().at(0).toBool(), true);
    QCOMPARE(m_status->changes(), 2);
}

void DataFileControllerTest::declineToCloseKeepsTheFileGrowing()
{
    openFile("keep.raw");
    m_state->dataFile.write("abc");
    m_dialogs->questionAnswers.enqueue(-1);
    const int changesBefore = m_status->changes();

    QCOMPARE(m_controller->OpenNewFile(), -1);
    QCOMPARE(m_dialogs->questions, QStringList{"Close the current file?"});
    QCOMPARE(m_dialogs->captions.first(), (QStringList{"Yes", "", "Cancel"}));
    QCOMPARE(m_dialogs->defaultButtons, QList<int>{-1});
    QCOMPARE(m_dialogs->saveDialogs, 1);
    QCOMPARE(m_status->changes(), changesBefore);

    m_state->dataFile.write("def");
    QVERIFY(m_state->dataFile.flush());
    QCOMPARE(contents(pathOf("keep.raw")), QByteArray("abcdef"));
}

void DataFileControllerTest::yesThenCancelClosesTheOldFile()
{
    openFile("old.raw");
    m_state->dataFile.write("before");
    m_dialogs->questionAnswers.enqueue(1);

    QCOMPARE(m_controller->OpenNewFile(), -1);
    QCOMPARE(m_state->DataFileNumber(), 0);
    QCOMPARE(m_dialogs->saveDialogs, 2);
    QCOMPARE(contents(pathOf("old.raw")), QByteArray("before"));
    QCOMPARE(m_controller->savingLabelText(), QString("No file open"));
}

void DataFileControllerTest::existingFileIsReplaced()
{
    QFile existing(pathOf("again.raw"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("an older and much longer run");
    existing.close();

    openFile("again.raw");
    QCOMPARE(contents(pathOf("again.raw")), QByteArray());
    m_state->dataFile.write("new");
    m_controller->StopSavingClicked();
    QCOMPARE(contents(pathOf("again.raw")), QByteArray("new"));
}

void DataFileControllerTest::openFailureIsReported_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("folder that does not exist") << "missing/run.raw";
    QTest::newRow("a folder, not a file") << "folder";
}

void DataFileControllerTest::openFailureIsReported()
{
    QFETCH(QString, relativePath);
    QVERIFY(QDir(m_dir->path()).mkdir("folder"));
    const QString path = pathOf(relativePath);
    m_dialogs->pathAnswers.enqueue(path);

    QCOMPARE(m_controller->OpenNewFile(), -1);
    QCOMPARE(m_state->DataFileNumber(), 0);
    // With the critical-error icon.
    QVERIFY(m_dialogs->messages.isEmpty());
    QCOMPARE(m_dialogs->criticalMessages.size(), 1);
    const QString prefix = "Orvantis Console: Error opening " + path + ": ";
    QVERIFY2(m_dialogs->criticalMessages.first().startsWith(prefix),
             qPrintable(m_dialogs->criticalMessages.first()));
    QVERIFY(m_dialogs->criticalMessages.first().size() > prefix.size());
    QCOMPARE(m_controller->savingLabelText(), QString("No file open"));
}

void DataFileControllerTest::stopSavingMidSampleKeepsOnlyWhatCameBefore()
{
    MemoryCommPort port;
    port.open();
    FileCapture capture(*m_state);
    ReceiveLoop loop(*m_state, port, capture, *m_status);
    CommandTransaction transaction(*m_state, port, *m_status);
    SamplingController sampling(*m_state, port, *m_status, transaction, *m_dialogs);
    openFile("cut.raw");

    const QByteArray firstHalf = "Acquire auto,1,1,\"\",0,-1,2\r\n1,2,3\r\n";
    const QByteArray secondHalf = "4,5,6\r\nOrvantis>";
    port.setResponder([&](const QByteArray &) { port.feed(firstHalf); });
    bool stopped = false;
    QTimer timer1;
    timer1.setInterval(20);
    connect(&timer1, &QTimer::timeout, this, [&] {
        loop.run();
        // Stop Saving is clicked once the first half is in: the rest must not be filed.
        if (!stopped && m_state->ReceiveBuffer.endsWith(firstHalf)) {
            stopped = true;
            m_controller->StopSavingClicked();
            port.feed(secondHalf);
        }
    });
    timer1.start();

    const QByteArray reply = sampling.SampleOnce(SamplingSettings());
    QVERIFY(stopped);
    QCOMPARE(reply, QByteArray("\r\n1,2,3\r\n4,5,6\r\nOrvantis"));
    QCOMPARE(m_state->DataFileNumber(), 0);
    QCOMPARE(contents(pathOf("cut.raw")), firstHalf);
}

void DataFileControllerTest::stopSavingWithoutFileStillRefreshes()
{
    QSignalSpy state(m_controller, &DataFileController::fileStateChanged);
    m_controller->StopSavingClicked();
    QCOMPARE(m_status->changes(), 2);
    QCOMPARE(m_status->Status(), int(LinkStatus::Idle));
    QCOMPARE(state.size(), 1);
    QCOMPARE(state.last().at(0).toBool(), false);
}

QTEST_GUILESS_MAIN(DataFileControllerTest)
#include "tst_datafilecontroller.moc"
