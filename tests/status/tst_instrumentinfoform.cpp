#include "ui/status/InstrumentInfoForm.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestInstrumentInfoForm : public QObject
{
    Q_OBJECT

private slots:
    void showsValuesBesideLabels();
    void closeButtonClosesDialog();
};

void TestInstrumentInfoForm::showsValuesBesideLabels()
{
    InstrumentIdentity identity;
    identity.InstrumentModel = "Orv-2";
    identity.InstrumentSerial = "SN0042";
    identity.InstrumentConfiguration = "UV-VIS";
    identity.InstrumentMaxDepth = 600;
    identity.InstrumentFirmware = 2.51f;
    InstrumentInfoForm form(identity);

    QCOMPARE(form.windowTitle(), QStringLiteral("Instrument Information"));
    auto *labels = form.findChild<QPlainTextEdit *>("LabelText");
    auto *values = form.findChild<QPlainTextEdit *>("ValueText");
    QVERIFY(labels && values);
    QVERIFY(labels->isReadOnly() && values->isReadOnly());
    QCOMPARE(labels->toPlainText().split('\n'),
             QStringList({"Model:", "Configuration:", "Serial:", "Max Depth:", "Firmware:"}));
    QCOMPARE(values->toPlainText().split('\n'),
             QStringList({"Orv-2", "UV-VIS", "SN0042", "600 m", "2.51"}));

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(labels->geometry().right() < values->geometry().left());
    QCOMPARE(labels->geometry().top(), values->geometry().top());
}

void TestInstrumentInfoForm::closeButtonClosesDialog()
{
    InstrumentInfoForm form(InstrumentIdentity{});
    QCOMPARE(form.findChild<QPlainTextEdit *>("ValueText")->toPlainText().split('\n'),
             QStringList({"", "", "", "0 m", "0"}));
    auto *close = form.findChild<QPushButton *>("CloseButton");
    QVERIFY(close);
    QCOMPARE(close->text(), QStringLiteral("Close"));
    form.show();
    QSignalSpy finished(&form, &QDialog::finished);
    QTest::mouseClick(close, Qt::LeftButton);
    QCOMPARE(finished.count(), 1);
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(TestInstrumentInfoForm)
#include "tst_instrumentinfoform.moc"
