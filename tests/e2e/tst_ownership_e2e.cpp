// While an operation owns the line nothing else reaches the instrument: every control that
// would send something is off, and the ways past the controls (a switch set by the program,
// a key typed in the terminal, a poll falling due) are refused by the session. Tried in the
// middle of a download, an upload, the cal check and a processing run, against orvantis-sim
// over real pseudo-terminals; the files transferred stay byte-exact.
#include "testkit/SimRig.h"
#include "ui/files/FileTransferForm.h"
#include "ui/processing/ProcessingForm.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace
{
enum class Operation { Download, Upload, CalCheck, Processing };

// What no owner of the line sends, and what the ways past the controls would.
const QList<QByteArray> kForeign{"Acquire auto", "start ", "tpower", "time", "baud", "QQ"};
} // namespace

Q_DECLARE_METATYPE(Operation)

class OwnershipEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void nothingElseReachesTheInstrument_data();
    void nothingElseReachesTheInstrument();

private:
    // Presses and sets everything that would send while `operation` owns the line, and
    // returns the names of the controls that were on.
    QStringList tryEverything(SimRig &rig);
};

void OwnershipEndToEnd::nothingElseReachesTheInstrument_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("simulator");
    QTest::newRow("download") << Operation::Download << QStringList{"--baud", "57600"};
    QTest::newRow("upload") << Operation::Upload << QStringList{"--baud", "57600"};
    QTest::newRow("cal check") << Operation::CalCheck << QStringList{"--stable", "--fast"};
    QTest::newRow("processing") << Operation::Processing << QStringList{"--fast"};
}

void OwnershipEndToEnd::nothingElseReachesTheInstrument()
{
    QFETCH(Operation, operation);
    QFETCH(QStringList, simulator);
    SimRig rig(simulator);
    QVERIFY(QDir().mkpath(rig.disk()));
    const QByteArray big = everyByteValue(20000);
    const QByteArray lines = textLines(150);
    QVERIFY(writeFile(rig.disk("BIG.BIN"), big));
    QVERIFY(writeFile(rig.local("lines.txt"), lines));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    rig.c().form.ShowTerminal();

    QSignalSpy refusals(&rig.session(), &InstrumentSession::lineRefused);
    const LineOperation owner = operation == Operation::Download   ? LineOperation::Download
                                : operation == Operation::Upload   ? LineOperation::Upload
                                : operation == Operation::CalCheck ? LineOperation::CalCheck
                                                                   : LineOperation::Processing;
    qsizetype heardBefore = -1;
    QStringList onWhileOwned;
    rig.when(
        [&] {
            if (rig.session().lineOwner() != owner)
                return false;
            switch (operation) {
            case Operation::Download:
                return probe::byteCount(rig.session()) > 2000;
            case Operation::Upload:
                return rig.c().files.window()->ProgressLabel()->text().startsWith("lines.txt: 2");
            case Operation::CalCheck:
                return probe::receiveBuffer(rig.session()).count(',') > 10;
            case Operation::Processing:
                return rig.c().processing.processingForm()->session().isProcessing();
            }
            return false;
        },
        [&] {
            heardBefore = rig.heard().size();
            onWhileOwned = tryEverything(rig);
        });

    switch (operation) {
    case Operation::Download: {
        FileTransferForm *window = rig.openFiles();
        QVERIFY(window);
        rig.select("BIG.BIN");
        rig.clickFiles("Get Files");
        QVERIFY(fileBytes(rig.local("BIG.BIN")) == big);
        break;
    }
    case Operation::Upload: {
        FileTransferForm *window = rig.openFiles();
        QVERIFY(window);
        rig.dialogs.pathAnswers.enqueue(rig.local("lines.txt"));
        rig.clickFiles("Send File...");
        QCOMPARE(fileBytes(rig.disk("lines.txt")), lines);
        break;
    }
    case Operation::CalCheck:
        rig.dialogs.questionAnswers << 1 << 1 << 1;
        rig.dialogs.pathAnswers.enqueue(rig.path("cal.raw"));
        rig.trigger("Collect Cal Check Data...");
        break;
    case Operation::Processing: {
        rig.trigger("Remote Processing...");
        ProcessingForm *window = rig.c().processing.processingForm();
        QListWidget *list = window->List1();
        QTRY_VERIFY(list->count() > 0 && !window->session().isBusy());
        const QPoint first = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
        QTRY_VERIFY(window->Label1()->text() == " C:\\DATA" && !window->session().isBusy());
        QList<QListWidgetItem *> files = list->findItems(".TLT", Qt::MatchContains);
        QVERIFY(!files.isEmpty());
        files.first()->setSelected(true);
        QTest::mouseClick(window->StartButton(), Qt::LeftButton);
        break;
    }
    }

    QVERIFY2(rig.fired(), "the operation ended before the controls could be tried");
    QCOMPARE(onWhileOwned, QStringList());
    QTRY_VERIFY(rig.session().lineFree());
    // The last the operation sends is in the instrument's record.
    if (operation == Operation::Upload || operation == Operation::CalCheck)
        QTRY_VERIFY(rig.heard().endsWith(operation == Operation::Upload ? "Dir /V\r" : "st\r"));
    const QByteArray during = rig.heardSince(heardBefore);
    for (const QByteArray &foreign : kForeign)
        QVERIFY2(!during.contains(foreign), foreign + " reached the instrument: " + during);
    // The only listing is the upload's own, once it is over.
    QCOMPARE(during.count("Dir /V"), operation == Operation::Upload ? 1 : 0);
    // No poll: the only status requests are the cal check's own, with its light switched on.
    QCOMPARE(during.count("st\r"), during.count("lpower,1\rst\r"));
    // What was refused was said, in the operator's terms.
    QVERIFY(!refusals.isEmpty());
    const QString owned = operation == Operation::Download   ? "a download"
                          : operation == Operation::Upload   ? "an upload"
                          : operation == Operation::CalCheck ? "the cal check"
                                                             : "remote processing";
    for (const QList<QVariant> &refusal : refusals)
        QCOMPARE(refusal.first().toString(), "Not sent: " + owned + " is using the Orvantis.");
    QCOMPARE(rig.dialogs.errors, QStringList());
}

QStringList OwnershipEndToEnd::tryEverything(SimRig &rig)
{
    const MainFormControls &c = rig.controls();
    QStringList on;
    for (QWidget *control : std::initializer_list<QWidget *>{
             c.SampleOnceButton, c.StartSamplingButton, c.StopSamplingButton, c.SetBaudButton,
             c.StatusCheck, c.ThermalOnCheck, c.LightOnCheck, c.TransferFilesButton}) {
        if (control->isEnabled())
            on << control->objectName();
        QTest::mouseClick(control, Qt::LeftButton);
    }
    for (QAction *item : {c.SetBaudMenuItem, c.SetClockMenuItem, c.StatusRateMenuItem,
                          c.OrvantisMenu->menuAction()}) {
        if (item->isEnabled())
            on << item->text();
        item->trigger();
    }
    if (FileTransferForm *files = rig.c().files.window()) {
        for (QPushButton *button : {files->RefreshButton(), files->SendFileButton(),
                                    files->GetFilesButton(), files->DeleteButton()}) {
            if (button->isEnabled())
                on << button->objectName();
            QTest::mouseClick(button, Qt::LeftButton);
        }
    }
    // Past the controls: a switch the program sets, keys typed in the terminal; polls held.
    c.ThermalOnCheck->setChecked(!c.ThermalOnCheck->isChecked());
    QTest::keyClicks(rig.c().terminal.Text(), "QQ");
    if (!rig.session().pollingHeld())
        on << "polling";
    return on;
}

QTEST_MAIN(OwnershipEndToEnd)
#include "tst_ownership_e2e.moc"
