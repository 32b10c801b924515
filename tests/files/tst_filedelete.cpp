#include "features/files/FileDelete.h"
#include "testkit/MemoryInstrumentLink.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

class FileDeleteTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void questionNamesTheFileOrCountsThem_data();
    void questionNamesTheFileOrCountsThem();
    void noSelectionSendsNothing();
    void declinedQuestionSendsNothing();
    void yesDeletesEachFileOnceTopToBottom_data();
    void yesDeletesEachFileOnceTopToBottom();
    void stopBetweenFilesLeavesTheRest();
    void missingReplyStopsTheRun();

private:
    void respond(const QByteArray &bytes);
    bool deleteFiles(int currentRow, int endRow);

    std::unique_ptr<MemoryInstrumentLink> m_link;
    std::unique_ptr<FileDelete> m_delete;
    QStringList m_names;
    // The instrument's side.
    QStringList m_deleted;
    QString m_silentFor;
    int m_cancelAfter = -1;
};

void FileDeleteTest::init()
{
    m_link = std::make_unique<MemoryInstrumentLink>();
    m_delete = std::make_unique<FileDelete>(m_link->state, m_link->transaction, m_link->dialogs);
    m_names = {"Name", "A.RAW", "B.RAW", "C.RAW", "D.RAW", "E.RAW"};
    m_deleted.clear();
    m_silentFor.clear();
    m_cancelAfter = -1;
    m_link->port.setResponder([this](const QByteArray &bytes) { respond(bytes); });
}

void FileDeleteTest::cleanup()
{
    m_delete.reset();
    m_link.reset();
}

// The instrument: echoes "Del", forgets the file and shows its prompt.
void FileDeleteTest::respond(const QByteArray &bytes)
{
    const QString name = QString::fromLatin1(bytes.mid(4).chopped(1));
    if (!bytes.startsWith("Del ") || name == m_silentFor)
        return;
    m_deleted << name;
    m_link->port.feed(bytes + "\nOrvantis>");
    // The operator presses Stop while this file is being deleted.
    if (m_deleted.size() == m_cancelAfter)
        m_link->state.TransferCancelled = true;
}

bool FileDeleteTest::deleteFiles(int currentRow, int endRow)
{
    return m_delete->DeleteFiles(currentRow, endRow,
                                 [this](int row) { return m_names.value(row); });
}

void FileDeleteTest::questionNamesTheFileOrCountsThem_data()
{
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<int>("endRow");
    QTest::addColumn<QString>("question");
    QTest::newRow("one file") << 2 << 2 << "Orvantis Console: Delete B.RAW from Orvantis memory?";
    QTest::newRow("three files") << 1 << 3
                                 << "Orvantis Console: Delete 3 files from Orvantis memory?";
    QTest::newRow("two, upwards") << 5 << 4
                                  << "Orvantis Console: Delete 2 files from Orvantis memory?";
}

void FileDeleteTest::questionNamesTheFileOrCountsThem()
{
    QFETCH(int, currentRow);
    QFETCH(int, endRow);
    QFETCH(QString, question);
    deleteFiles(currentRow, endRow);
    QCOMPARE(m_link->dialogs.yesNoQuestions, QStringList{question});
}

void FileDeleteTest::noSelectionSendsNothing()
{
    QVERIFY(!deleteFiles(0, 0));
    QCOMPARE(m_link->dialogs.errors,
             QStringList{"To delete files from the Orvantis, first select them in the directory "
                         "list."});
    QVERIFY(m_link->dialogs.yesNoQuestions.isEmpty());
    QCOMPARE(m_link->port.written(), QByteArray());
}

void FileDeleteTest::declinedQuestionSendsNothing()
{
    m_link->dialogs.yesNoAnswers.enqueue(false);
    QSignalSpy selected(m_delete.get(), &FileTransferOperation::rowsSelected);
    QSignalSpy cleared(m_delete.get(), &FileTransferOperation::selectionCleared);
    QSignalSpy refresh(m_delete.get(), &FileTransferOperation::refreshRequested);
    QSignalSpy busy(m_delete.get(), &FileTransferOperation::transferBusyChanged);

    QVERIFY(!deleteFiles(1, 3));
    QCOMPARE(m_link->port.written(), QByteArray());
    QCOMPARE(selected.size() + cleared.size() + refresh.size() + busy.size(), 0);
}

void FileDeleteTest::yesDeletesEachFileOnceTopToBottom_data()
{
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<int>("endRow");
    QTest::newRow("top down") << 1 << 3;
    QTest::newRow("bottom up") << 3 << 1;
}

void FileDeleteTest::yesDeletesEachFileOnceTopToBottom()
{
    QFETCH(int, currentRow);
    QFETCH(int, endRow);
    m_link->dialogs.yesNoAnswers.enqueue(true);
    QSignalSpy selected(m_delete.get(), &FileTransferOperation::rowsSelected);
    QSignalSpy cleared(m_delete.get(), &FileTransferOperation::selectionCleared);
    QSignalSpy refresh(m_delete.get(), &FileTransferOperation::refreshRequested);
    QSignalSpy busy(m_delete.get(), &FileTransferOperation::transferBusyChanged);
    QSignalSpy buttons(m_delete.get(), &FileTransferOperation::actionButtonsEnabledChanged);

    QVERIFY(deleteFiles(currentRow, endRow));
    QCOMPARE(m_link->port.written(), QByteArray("Del A.RAW\rDel B.RAW\rDel C.RAW\r"));
    QCOMPARE(m_deleted, (QStringList{"A.RAW", "B.RAW", "C.RAW"}));
    QCOMPARE(selected.size(), 3);
    QCOMPARE(selected.first(), (QList<QVariant>{1, 3}));
    QCOMPARE(cleared.size(), 1);
    QCOMPARE(refresh.size(), 1);
    QCOMPARE(busy.size(), 2);
    QVERIFY(busy.at(0).at(0).toBool());
    QVERIFY(!busy.at(1).at(0).toBool());
    QCOMPARE(buttons.size(), 2);
    QVERIFY(!buttons.at(0).at(0).toBool());
    QVERIFY(buttons.at(1).at(0).toBool());
}

void FileDeleteTest::stopBetweenFilesLeavesTheRest()
{
    m_link->dialogs.yesNoAnswers.enqueue(true);
    m_cancelAfter = 2;
    QSignalSpy refresh(m_delete.get(), &FileTransferOperation::refreshRequested);

    QVERIFY(deleteFiles(1, 5));
    QCOMPARE(m_deleted, (QStringList{"A.RAW", "B.RAW"}));
    QCOMPARE(m_link->port.written(), QByteArray("Del A.RAW\rDel B.RAW\r"));
    QCOMPARE(refresh.size(), 1);
    QVERIFY(!m_link->state.TransferCancelled);
    QCOMPARE(m_link->dialogs.errors, QStringList());
}

void FileDeleteTest::missingReplyStopsTheRun()
{
    m_link->dialogs.yesNoAnswers.enqueue(true);
    m_silentFor = "B.RAW";
    // Lets the 3 s reply wait pass at once once "Del B.RAW" has gone out.
    QTimer clockJump;
    bool jumped = false;
    connect(&clockJump, &QTimer::timeout, this, [this, &jumped] {
        if (!jumped && m_link->port.written().endsWith("Del B.RAW\r")) {
            jumped = true;
            m_link->state.clock.setTimeOfDay(m_link->state.clock.timeOfDay() + 4.0);
        }
    });
    clockJump.start(20);
    QSignalSpy refresh(m_delete.get(), &FileTransferOperation::refreshRequested);

    QVERIFY(deleteFiles(1, 3));
    QCOMPARE(m_link->port.written(), QByteArray("Del A.RAW\rDel B.RAW\r"));
    QCOMPARE(refresh.size(), 1);
    QCOMPARE(m_link->dialogs.errors, QStringList());
}

QTEST_GUILESS_MAIN(FileDeleteTest)
#include "tst_filedelete.moc"
