#include "SimInstrumentDisk.h"
#include "SimProcessingCommands.h"
#include "testkit/ScriptedOperator.h"
#include "testkit/SimulatedInstrument.h"
#include "testkit/TestSettings.h"
#include "ui/mainwindow/MainForm.h"
#include "ui/processing/ProcessingBinding.h"
#include "ui/processing/ProcessingForm.h"
#include "ui/terminal/TerminalForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace
{
constexpr int kStepMs = 450;
constexpr int kWaitMs = 15000;

QStringList firstWords(const QListWidget *list)
{
    QStringList words;
    for (int i = 0; i < list->count(); ++i)
        words << list->item(i)->text().section(QLatin1Char(' '), 0, 0);
    return words;
}

// A press on the item first, as the operator's double-click brings one.
void doubleClick(QListWidget *list, int row)
{
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

QList<int> selectedRows(const QListWidget *list)
{
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected())
            rows << i;
    }
    return rows;
}
} // namespace

class TestProcessingForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void creationMountsThenActivationLists();
    void resizeKeepsButtonsInTheCorner_data();
    void resizeKeepsButtonsInTheCorner();
    void doubleClickEntersADirectory();
    void processingWaitsForEachFileToComplete();
    void stopSendsEtxAndEndsTheRun();
    void abortedReportEndsTheRun();
    void choosingADriveSendsItAndLists();
    void listingHeaderShowsItsDrive();
    void menuItemFollowsTheOrvantisMenu();
    void closeDestroysAndTheMenuMakesItAnew();

private:
    ProcessingForm *window() const { return m_binding->processingForm(); }
    void select(const QList<int> &rows);
    void waitForListing(int count);

    QTemporaryDir m_settings;
    std::shared_ptr<SimInstrumentDisk> m_disk;
    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<SimulatedInstrument> m_port;
    std::unique_ptr<ScriptedOperator> m_dialogs;
    std::unique_ptr<TerminalForm> m_terminal;
    std::unique_ptr<MainForm> m_main;
    ProcessingBinding *m_binding = nullptr;
};

void TestProcessingForm::initTestCase()
{
    useTemporarySettings(m_settings.path());
    m_disk = std::make_shared<SimInstrumentDisk>();
    for (const char *file : {"C:\\TOP.TLT", "C:\\DATA\\RUN1.TLT", "C:\\DATA\\RUN2.TLT",
                             "C:\\DATA\\RUN3.TLT", "C:\\DATA\\OLD\\X.TLT", "D:\\ARCHIVE\\A1.TLT"})
        m_disk->addFile(file, 1000);
    m_disk->addFile("C:\\DATA\\NOTES.TXT", 10);
    m_disk->processingStepMs = kStepMs;
    m_disk->processingSteps = 1;

    m_state = std::make_unique<ProgramState>();
    m_port = std::make_unique<SimulatedInstrument>();
    SimProcessingCommands::install(m_port->engine(), m_disk);
    m_dialogs = std::make_unique<ScriptedOperator>();
    m_terminal = std::make_unique<TerminalForm>();
    m_main = std::make_unique<MainForm>(*m_state, *m_port, *m_dialogs, *m_terminal);
    m_main->controls().StatusCheck->setChecked(false);
    QVERIFY(m_port->open());
    m_main->SetStatus(LinkStatus::Idle);
    m_binding = new ProcessingBinding(*m_main);
    m_main->show();

    m_binding->ProcessingMenuItem()->trigger();
    QVERIFY(window());
    waitForListing(2);
}

void TestProcessingForm::cleanupTestCase()
{
    m_main.reset();
}

void TestProcessingForm::select(const QList<int> &rows)
{
    QListWidget *list = window()->List1();
    list->clearSelection();
    for (int row : rows)
        list->item(row)->setSelected(true);
}

void TestProcessingForm::waitForListing(int count)
{
    QTRY_COMPARE_WITH_TIMEOUT(window()->List1()->count(), count, kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!window()->session().isBusy(), kWaitMs);
}

void TestProcessingForm::creationMountsThenActivationLists()
{
    const QByteArray written = m_port->written();
    QVERIFY2(written.startsWith("OS \"mount BIHD\"\r\nOS \"DIR /AD\"\rOS \"DIR *.tlt\"\r"),
             written.constData());
    QCOMPARE(window()->windowTitle(), QStringLiteral("Processing"));
    QCOMPARE(firstWords(window()->List1()), QStringList({"DATA", "TOP.TLT"}));
    QCOMPARE(window()->FileCountLabel()->text(), QStringLiteral("File Count:1"));
    QCOMPARE(window()->Label1()->text(), QStringLiteral(" C:\\"));
    QCOMPARE(window()->DriveCombo()->currentText(), QStringLiteral("C:"));
    for (QWidget *control : {static_cast<QWidget *>(window()->List1()),
                             static_cast<QWidget *>(window()->StartButton()),
                             static_cast<QWidget *>(window()->StopButton()),
                             static_cast<QWidget *>(window()->CloseButton())})
        QVERIFY(control->isEnabled());
    QCOMPARE(window()->StartButton()->text(), QStringLiteral("Process"));
    QCOMPARE(window()->StopButton()->text(), QStringLiteral("Stop"));
    QCOMPARE(window()->CloseButton()->text(), QStringLiteral("Close"));
    QCOMPARE(window()->DriveCombo()->count(), 5);
    QCOMPARE(window()->List1()->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(!QApplication::overrideCursor());
}

void TestProcessingForm::resizeKeepsButtonsInTheCorner_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("as built") << QSize(484, 296);
    QTest::newRow("larger") << QSize(700, 420);
    QTest::newRow("narrow") << QSize(300, 260);
}

// Buttons 89 x 25 pixels, gaps 4, the list's left edge at 16 (twips / 15).
void TestProcessingForm::resizeKeepsButtonsInTheCorner()
{
    QFETCH(QSize, size);
    window()->resize(size);
    QTRY_COMPARE(window()->size(), size);
    const QRect close = window()->CloseButton()->geometry();
    QCOMPARE(close, QRect(size.width() - 93, size.height() - 29, 89, 25));
    QCOMPARE(window()->StopButton()->geometry(), close.translated(0, -29));
    QCOMPARE(window()->StartButton()->geometry(), close.translated(0, -58));
    QCOMPARE(window()->List1()->geometry(), QRect(16, 40, close.left() - 20, 244));
    window()->resize(484, 296);
}

void TestProcessingForm::doubleClickEntersADirectory()
{
    m_port->clearWritten();
    QListWidget *list = window()->List1();
    doubleClick(list, 0);
    QVERIFY2(m_port->written().startsWith("OS \"CD DATA\"\r\nOS \"DIR /AD\"\r"),
             m_port->written().toPercentEncoding().constData());
    // The directory itself is not listed, its parent is; three files after two directories.
    QCOMPARE(firstWords(list), QStringList({"..", "OLD", "RUN1.TLT", "RUN2.TLT", "RUN3.TLT"}));
    QCOMPARE(window()->FileCountLabel()->text(), QStringLiteral("File Count:3"));
    QCOMPARE(window()->Label1()->text(), QStringLiteral(" C:\\DATA"));

    m_port->clearWritten();
    doubleClick(list, 3);
    QCOMPARE(m_port->written(), QByteArray());
    QVERIFY(!QApplication::overrideCursor());
}

void TestProcessingForm::processingWaitsForEachFileToComplete()
{
    select({2, 4});
    m_port->clearWritten();
    QSignalSpy done(&window()->session(), &ProcessingSession::rowProcessed);
    QList<bool> enabledDuringRun;
    connect(&window()->session(), &ProcessingSession::rowProcessed, this, [&] {
        enabledDuringRun << window()->StartButton()->isEnabled() << window()->List1()->isEnabled()
                         << window()->CloseButton()->isEnabled()
                         << window()->DriveCombo()->isEnabled();
    });
    QElapsedTimer elapsed;
    elapsed.start();
    QTest::mouseClick(window()->StartButton(), Qt::LeftButton);

    // The instrument takes no command while it processes, so the second file completes only
    // when it was sent after the first one's "complete".
    QCOMPARE(m_port->written(),
             QByteArray("DIRIDovavud \"C:\\DATARUN1\"\r\nDIRIDovavud \"C:\\DATARUN3\"\r\n"));
    QCOMPARE(done.count(), 2);
    QCOMPARE(done.at(0).at(0).toInt(), 2);
    QCOMPARE(done.at(1).at(0).toInt(), 4);
    QVERIFY(elapsed.elapsed() >= 4 * kStepMs - 100);
    QVERIFY(enabledDuringRun.indexOf(true) < 0);
    QCOMPARE(selectedRows(window()->List1()), QList<int>());
    QVERIFY(window()->StartButton()->isEnabled());
    QVERIFY(window()->DriveCombo()->isEnabled());
    QVERIFY(m_terminal->terminalText().text().contains("Processing C:\\DATA\\RUN3.TLT"));
    QVERIFY(!QApplication::overrideCursor());
}

void TestProcessingForm::stopSendsEtxAndEndsTheRun()
{
    select({2, 3});
    m_port->clearWritten();
    QTimer stopper;
    stopper.setInterval(20);
    connect(&stopper, &QTimer::timeout, this, [&] {
        if (m_port->written().contains("DIRIDovavud")) {
            stopper.stop();
            QTest::mouseClick(window()->StopButton(), Qt::LeftButton);
        }
    });
    stopper.start();
    QTest::mouseClick(window()->StartButton(), Qt::LeftButton);

    QCOMPARE(m_port->written(), QByteArray("DIRIDovavud \"C:\\DATARUN1\"\r\n\x03"));
    QVERIFY(window()->session().stopRequested());
    QCOMPARE(selectedRows(window()->List1()), QList<int>({2, 3}));
    QVERIFY(window()->StartButton()->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(m_terminal->terminalText().text().contains("Processing aborted"),
                             kWaitMs);
}

void TestProcessingForm::abortedReportEndsTheRun()
{
    m_disk->removeFile("C:\\DATA\\RUN2.TLT");
    select({3, 4});
    m_port->clearWritten();
    QTest::mouseClick(window()->StartButton(), Qt::LeftButton);
    m_disk->addFile("C:\\DATA\\RUN2.TLT", 1000);

    QCOMPARE(m_port->written(), QByteArray("DIRIDovavud \"C:\\DATARUN2\"\r\n"));
    QCOMPARE(selectedRows(window()->List1()), QList<int>({3, 4}));
    QVERIFY(!window()->session().isProcessing());
    QVERIFY(window()->List1()->isEnabled());
}

void TestProcessingForm::choosingADriveSendsItAndLists()
{
    // The instrument may still be finishing the previous run's prompt.
    QTRY_VERIFY_WITH_TIMEOUT(!m_port->engine().isBusy(), kWaitMs);
    m_port->clearWritten();
    window()->DriveCombo()->setCurrentText(QStringLiteral("D:"));
    QVERIFY(m_port->written().startsWith("OS \"D:\r\nOS \"DIR /AD\"\r"));
    QCOMPARE(firstWords(window()->List1()), QStringList({"ARCHIVE"}));
    QCOMPARE(window()->Label1()->text(), QStringLiteral(" D:\\"));
    QCOMPARE(window()->FileCountLabel()->text(), QString());
    QVERIFY(!QApplication::overrideCursor());
}

// A drive changed behind the window's back shows in the drop-down list without being sent.
void TestProcessingForm::listingHeaderShowsItsDrive()
{
    QVERIFY(m_disk->setDrive("C:"));
    m_port->clearWritten();
    window()->session().refresh();
    QCOMPARE(window()->DriveCombo()->currentText(), QStringLiteral("C:"));
    QCOMPARE(window()->Label1()->text(), QStringLiteral(" C:\\DATA"));
    QCOMPARE(m_port->written(), QByteArray("OS \"DIR /AD\"\rOS \"DIR *.tlt\"\r"));
}

void TestProcessingForm::menuItemFollowsTheOrvantisMenu()
{
    QMenu *menu = m_main->controls().OrvantisMenu;
    QAction *item = m_main->findChild<QAction *>(QStringLiteral("ProcessingMenuItem"));
    QVERIFY(item);
    QCOMPARE(item, m_binding->ProcessingMenuItem());
    QVERIFY(menu->actions().contains(item));
    QCOMPARE(item->text(), QStringLiteral("Remote Processing..."));
    for (int code : {LinkStatus::NotConnected, LinkStatus::CommandInProgress, LinkStatus::Idle}) {
        m_main->SetStatus(code);
        QCOMPARE(item->isEnabled(), menu->menuAction()->isEnabled());
    }
    QVERIFY(item->isEnabled());
}

void TestProcessingForm::closeDestroysAndTheMenuMakesItAnew()
{
    QPointer<ProcessingForm> old = window();
    QTest::mouseClick(old->CloseButton(), Qt::LeftButton);
    QTRY_VERIFY(!old);
    QVERIFY(!window());

    m_port->clearWritten();
    m_binding->ProcessingMenuItem()->trigger();
    QVERIFY(window());
    QVERIFY(m_port->written().startsWith("OS \"mount BIHD\"\r\n"));
    // The instrument keeps its current directory; the new window lists it.
    waitForListing(5);
    QCOMPARE(window()->Label1()->text(), QStringLiteral(" C:\\DATA"));
}

QTEST_MAIN(TestProcessingForm)
#include "tst_processingform.moc"
