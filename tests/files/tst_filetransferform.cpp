#include "link/CommandTransaction.h"
#include "link/FileCapture.h"
#include "link/ReceiveLoop.h"
#include "support/PathUtilities.h"
#include "support/SettingsKeys.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/ScriptedOperator.h"
#include "testkit/TestSettings.h"
#include "ui/files/FileTransferForm.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace
{
QByteArray listingLine(const QByteArray &name, const QByteArray &size, const QByteArray &date)
{
    return name.leftJustified(12, ' ', true) + size.rightJustified(15, ' ', true) + ' ' + date +
           "\r\n";
}

// Names, sizes and dates chosen so that text order differs from number order.
const QByteArray kListing =
    "Dir /V\r\nDirectory of A:\r\n" + listingLine("BIG.RAW", "1,000,000", "12-04-09 14:35") +
    listingLine("NINE.TXT", "9", "01-15-10 08:00") +
    listingLine("TEN.RAW", "10", "06-30-95 23:59") + "     123,456 bytes free\r\n" + "Orvantis>";

struct Rig {
    ProgramState state;
    MemoryCommPort port;
    PlainLinkStatus status;
    FileCapture capture{state};
    ReceiveLoop loop{state, port, capture, status};
    CommandTransaction transaction{state, port, status};
    ScriptedOperator dialogs;
    QTimer timer1;
    QTimer statusTimer;
    QByteArray listing = kListing;
    bool pollingDuringRequest = true;
    std::unique_ptr<FileTransferForm> form;

    Rig()
    {
        port.open();
        status.SetStatus(LinkStatus::Idle);
        port.setResponder([this](const QByteArray &bytes) {
            if (bytes == "Dir /V\r") {
                pollingDuringRequest = statusTimer.isActive();
                port.feed(listing);
            }
        });
        timer1.setInterval(20);
        QObject::connect(&timer1, &QTimer::timeout, [this] { loop.run(); });
        timer1.start();
        statusTimer.setInterval(60000);
        statusTimer.start();
        state.DefaultDataFolder = QStringLiteral("/home/operator/Orvantis Data");
        form = std::make_unique<FileTransferForm>(state, transaction, dialogs, &statusTimer);
    }

    QStringList column(int c) const
    {
        QStringList texts;
        for (int row = 0; row < form->DirGrid()->rowCount(); ++row)
            texts << form->DirGrid()->item(row, c)->text();
        return texts;
    }
    QString header(int c) const { return form->DirGrid()->horizontalHeaderItem(c)->text(); }
    void clickHeader(int c)
    {
        QTableWidget *grid = form->DirGrid();
        QHeaderView *h = grid->horizontalHeader();
        const int x = h->sectionViewportPosition(c) + h->sectionSize(c) / 2;
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(x, h->height() / 2));
    }
    void clickCell(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QTableWidget *grid = form->DirGrid();
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cell.center());
    }
};
} // namespace

class FileTransferFormTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadingListsTheFilesByDateWithPollingHeldOff();
    void headerClicksSortNumerically_data();
    void headerClicksSortNumerically();
    void rememberedColumnOutlivesTheWindow();
    void selectionDrivesTheFileButtons();
    void stopAsksTheRunningOperationToStop();
    void buttonsAnnounceTheirActions();
    void browseChangesTheFolderOnlyWhenChosen();
    void listingWithoutFilesGivesAnEmptyGrid();
    void gridFollowsTheWindowHeight();
    void closingSavesPlaceAndSizeTwice();

private:
    QTemporaryDir m_settings;
};

void FileTransferFormTest::initTestCase()
{
    QVERIFY(m_settings.isValid());
    useTemporarySettings(m_settings.path());
}

void FileTransferFormTest::loadingListsTheFilesByDateWithPollingHeldOff()
{
    Rig rig;
    FileTransferForm &form = *rig.form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Files in Orvantis Memory"));
    QCOMPARE(form.DirGrid()->columnCount(), 6);
    QVERIFY(form.DirGrid()->isColumnHidden(4));
    QVERIFY(form.DirGrid()->isColumnHidden(5));
    QCOMPARE(form.DestFrame()->title(), QStringLiteral("Location for Saved Files"));
    QCOMPARE(form.SetDirButton()->text(), QStringLiteral("Browse..."));

    form.openWindow();
    QVERIFY(form.isVisible());
    QCOMPARE(rig.port.written(), QByteArray("Dir /V\r"));
    QVERIFY(!rig.pollingDuringRequest);
    QVERIFY(rig.statusTimer.isActive());
    QVERIFY(form.DirGrid()->isEnabled());

    QCOMPARE(rig.column(0), (QStringList{"TEN.RAW", "BIG.RAW", "NINE.TXT"}));
    QCOMPARE(rig.column(1), (QStringList{"06-30-95 23:59", "12-04-09 14:35", "01-15-10 08:00"}));
    QCOMPARE(rig.column(2), (QStringList{"10", "1,000,000", "9"}));
    QCOMPARE(rig.column(3), (QStringList{"RAW", "RAW", "TXT"}));
    QCOMPARE(rig.column(4).at(1), QStringLiteral(" 40151.6076388889"));
    QCOMPARE(form.fileSizeAt(1), 1000000);
    QCOMPARE(form.fileNameAt(2), QStringLiteral("NINE.TXT"));
    QCOMPARE(rig.header(1), QStringLiteral("Date Modified   ^"));
    QCOMPARE(rig.header(0), QStringLiteral("Name"));
    QVERIFY(!form.GetFilesButton()->isEnabled());
    QVERIFY(!form.DeleteButton()->isEnabled());
    QCOMPARE(form.SavePathLabel()->text(), PathForDisplay(rig.state.DefaultDataFolder));

    // A second open only brings the window forward.
    rig.port.clearWritten();
    form.openWindow();
    QVERIFY(rig.port.written().isEmpty());
}

void FileTransferFormTest::headerClicksSortNumerically_data()
{
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("size keeps ascending")
        << QList<int>{2} << 2 << "Size   ^" << QStringList{"9", "10", "1,000,000"};
    QTest::newRow("size twice reverses")
        << QList<int>{2, 2} << 2 << "Size   v" << QStringList{"1,000,000", "10", "9"};
    QTest::newRow("date after size keeps descending")
        << QList<int>{2, 2, 1} << 1 << "Date Modified   v"
        << QStringList{"01-15-10 08:00", "12-04-09 14:35", "06-30-95 23:59"};
    QTest::newRow("first name click descends")
        << QList<int>{0} << 0 << "Name   v" << QStringList{"TEN.RAW", "NINE.TXT", "BIG.RAW"};
    QTest::newRow("type then type")
        << QList<int>{3, 3} << 3 << "Type   v" << QStringList{"TXT", "RAW", "RAW"};
}

void FileTransferFormTest::headerClicksSortNumerically()
{
    QFETCH(QList<int>, clicks);
    QFETCH(int, column);
    QFETCH(QString, caption);
    QFETCH(QStringList, texts);
    Rig rig;
    rig.form->openWindow();
    for (int c : clicks)
        rig.clickHeader(c);
    QCOMPARE(rig.form->sortState().SortColumn, column);
    QCOMPARE(rig.header(column), caption);
    QCOMPARE(rig.column(column), texts);
    for (int other = 0; other < 4; ++other)
        if (other != column)
            QVERIFY(!rig.header(other).endsWith(QLatin1Char('^')) &&
                    !rig.header(other).endsWith(QLatin1Char('v')));
    // A refresh keeps the chosen order.
    rig.form->RefreshDirectory();
    QCOMPARE(rig.column(column), texts);
}

void FileTransferFormTest::rememberedColumnOutlivesTheWindow()
{
    Rig rig;
    rig.form->openWindow();
    rig.clickHeader(2);
    QCOMPARE(rig.state.LastClickedColumn, 2);
    rig.form->close();
    rig.form = std::make_unique<FileTransferForm>(rig.state, rig.transaction, rig.dialogs,
                                                  &rig.statusTimer);
    rig.form->openWindow();
    QCOMPARE(rig.header(1), QStringLiteral("Date Modified   ^"));
    // The same column as before the window was reopened: the order reverses at once.
    rig.clickHeader(2);
    QCOMPARE(rig.header(2), QStringLiteral("Size   v"));
}

void FileTransferFormTest::selectionDrivesTheFileButtons()
{
    Rig rig;
    FileTransferForm &form = *rig.form;
    form.openWindow();
    int first = -1;
    int last = -1;
    QVERIFY(!form.selectedRows(first, last));

    rig.clickCell(2);
    rig.clickCell(0, Qt::ShiftModifier);
    QVERIFY(form.selectedRows(first, last));
    QCOMPARE(first, 0);
    QCOMPARE(last, 2);
    QVERIFY(form.GetFilesButton()->isEnabled());
    QVERIFY(form.DeleteButton()->isEnabled());

    form.selectRows(2, 1);
    QVERIFY(form.selectedRows(first, last));
    QCOMPARE(first, 1);
    QCOMPARE(last, 2);

    rig.clickHeader(0);
    QVERIFY(!form.selectedRows(first, last));
    QVERIFY(!form.GetFilesButton()->isEnabled());
    QVERIFY(!form.DeleteButton()->isEnabled());

    // While an operation runs with the buttons held off, selecting does not free them.
    form.setTransferBusy(true);
    form.setFileButtonsEnabled(false);
    form.selectRows(0, 0);
    QVERIFY(!form.GetFilesButton()->isEnabled());
    form.setTransferBusy(false);
    form.clearFileSelection();
    QVERIFY(!form.selectedRows(first, last));
}

void FileTransferFormTest::stopAsksTheRunningOperationToStop()
{
    Rig rig;
    FileTransferForm &form = *rig.form;
    form.openWindow();
    form.setTransferBusy(true);
    QCOMPARE(form.CloseButton()->text(), QStringLiteral("Stop"));
    QTest::mouseClick(form.CloseButton(), Qt::LeftButton);
    QVERIFY(rig.state.TransferCancelled);
    QVERIFY(form.isVisible());
    // The window cannot go away under the running operation either.
    rig.state.TransferCancelled = false;
    QVERIFY(!form.close());
    QVERIFY(rig.state.TransferCancelled);

    form.setProgressText(QStringLiteral("BIG.RAW: 46%"));
    QCOMPARE(form.ProgressLabel()->text(), QStringLiteral("BIG.RAW: 46%"));
    form.setTransferBusy(false);
    QCOMPARE(form.CloseButton()->text(), QStringLiteral("Close"));
    QTest::mouseClick(form.CloseButton(), Qt::LeftButton);
    QVERIFY(!form.isVisible());
}

void FileTransferFormTest::buttonsAnnounceTheirActions()
{
    Rig rig;
    FileTransferForm &form = *rig.form;
    form.openWindow();
    QSignalSpy get(&form, &FileTransferForm::getFilesRequested);
    QSignalSpy send(&form, &FileTransferForm::sendFileRequested);
    QSignalSpy del(&form, &FileTransferForm::deleteFilesRequested);
    QCOMPARE(form.GetFilesButton()->text(), QStringLiteral("Get Files"));
    QCOMPARE(form.SendFileButton()->text(), QStringLiteral("Send File..."));
    QCOMPARE(form.DeleteButton()->text(), QStringLiteral("Delete Files"));
    QCOMPARE(form.RefreshButton()->text(), QStringLiteral("Refresh"));

    QTest::mouseClick(form.SendFileButton(), Qt::LeftButton);
    QCOMPARE(send.count(), 1);
    form.selectRows(0, 0);
    QTest::mouseClick(form.GetFilesButton(), Qt::LeftButton);
    QTest::mouseClick(form.DeleteButton(), Qt::LeftButton);
    QCOMPARE(get.count(), 1);
    QCOMPARE(del.count(), 1);

    rig.port.clearWritten();
    QTest::mouseClick(form.RefreshButton(), Qt::LeftButton);
    QCOMPARE(rig.port.written(), QByteArray("Dir /V\r"));
}

void FileTransferFormTest::browseChangesTheFolderOnlyWhenChosen()
{
    Rig rig;
    FileTransferForm &form = *rig.form;
    const QString before = rig.state.DefaultDataFolder;
    QTest::mouseClick(form.SetDirButton(), Qt::LeftButton);
    QCOMPARE(rig.state.DefaultDataFolder, before);
    QCOMPARE(form.SavePathLabel()->text(), PathForDisplay(before));

    const QString chosen = QStringLiteral("/srv/instrument/downloads/today");
    rig.dialogs.pathAnswers.enqueue(chosen);
    form.SetDirButton_Click();
    QCOMPARE(rig.state.DefaultDataFolder, chosen);
    QCOMPARE(form.SavePathLabel()->text(), PathForDisplay(chosen));
}

void FileTransferFormTest::listingWithoutFilesGivesAnEmptyGrid()
{
    Rig rig;
    rig.form->openWindow();
    QCOMPARE(rig.form->fileCount(), 3);
    rig.listing = "Dir /V\r\nDirectory of A:\r\n     512 bytes free\r\nOrvantis>";
    rig.form->RefreshDirectory();
    QCOMPARE(rig.form->fileCount(), 0);
    QCOMPARE(rig.header(1), QStringLiteral("Date Modified   ^"));
    QVERIFY(rig.form->cursor().shape() != Qt::WaitCursor);
}

void FileTransferFormTest::gridFollowsTheWindowHeight()
{
    Rig rig;
    FileTransferForm &form = *rig.form;
    form.show();
    const int width = form.DirGrid()->width();
    form.resize(form.width(), 500);
    const int tall = form.DirGrid()->height();
    QCOMPARE(form.DestFrame()->geometry().bottom() + 1, form.height() - 4);
    form.resize(form.width(), 400);
    QCOMPARE(form.DirGrid()->height(), tall - 100);
    QCOMPARE(form.DirGrid()->width(), width);
    QVERIFY(form.DestFrame()->y() > form.DirGrid()->geometry().bottom());
}

void FileTransferFormTest::closingSavesPlaceAndSizeTwice()
{
    {
        QSettings settings;
        settings.remove(SettingsKeys::kFileTransferFormSection);
        settings.remove(SettingsKeys::kFileTransferSection);
    }
    Rig rig;
    rig.form->show();
    rig.form->resize(700, 420);
    QVERIFY(rig.form->close());
    QSettings settings;
    for (const QString &section : {QString(SettingsKeys::kFileTransferFormSection),
                                   QString(SettingsKeys::kFileTransferSection)}) {
        settings.beginGroup(section);
        QCOMPARE(settings.value(SettingsKeys::kWidth).toString(), QStringLiteral("10500"));
        QCOMPARE(settings.value(SettingsKeys::kHeight).toString(), QStringLiteral("6300"));
        QVERIFY(settings.contains(SettingsKeys::kTop));
        QVERIFY(settings.contains(SettingsKeys::kLeft));
        settings.endGroup();
    }

    // The next window comes back at that size.
    Rig again;
    QCOMPARE(again.form->size(), QSize(700, 420));
}

QTEST_MAIN(FileTransferFormTest)
#include "tst_filetransferform.moc"
