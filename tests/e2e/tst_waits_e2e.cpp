// Waits against orvantis-sim over a real pseudo-terminal: wherever a wait is entered from,
// the receive loop keeps reading the replies it waits for.
#include "testkit/SimConsole.h"
#include "testkit/TestSettings.h"
#include "ui/files/FileTransferForm.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
// Queues a click on `button` the moment the receive timer's event arrives, so the click is
// handled inside the timer's own handler (its first step lets pending events run).
class ClickInsideTimer : public QObject
{
public:
    ClickInsideTimer(QTimer *timer, QAbstractButton *button) : m_timer(timer), m_button(button)
    {
        qApp->installEventFilter(this);
    }
    bool clicked = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!clicked && watched == m_timer && event->type() == QEvent::Timer) {
            clicked = true;
            QMetaObject::invokeMethod(m_button, &QAbstractButton::click, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QTimer *m_timer;
    QAbstractButton *m_button;
};
} // namespace

class WaitsEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void replyIsReadWhenTheClickCameInsideTheReceiveTimer();

private:
    QTemporaryDir m_dir;
};

void WaitsEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
}

void WaitsEndToEnd::replyIsReadWhenTheClickCameInsideTheReceiveTimer()
{
    SimConsole rig({"--fast"});
    QVERIFY2(rig.ok(), qPrintable(rig.error()));
    QVERIFY(rig.connect());
    FileTransferForm *window = rig.openFiles();
    QVERIFY(window && window->fileCount() > 0);
    const int files = window->fileCount();

    ClickInsideTimer click(rig.c().form.Timer1(), window->RefreshButton());
    QElapsedTimer elapsed;
    elapsed.start();
    // The refresh empties the grid, waits for "Dir /V" and fills it again; its 10 s time-out
    // would leave the grid empty.
    QTRY_VERIFY_WITH_TIMEOUT(click.clicked, 2000);
    QTRY_VERIFY_WITH_TIMEOUT(window->fileCount() == files && window->RefreshButton()->isEnabled(),
                             8000);
    QVERIFY2(elapsed.elapsed() < 5000, qPrintable(QString::number(elapsed.elapsed())));
}

QTEST_MAIN(WaitsEndToEnd)
#include "tst_waits_e2e.moc"
