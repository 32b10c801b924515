#include "ui/processing/ProcessingForm.h"

#include "features/processing/ProcessingListing.h"
#include "support/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace
{
constexpr int kWidth = 7260;
constexpr int kHeight = 4440;
constexpr int kGap = 60;

int px(int twips)
{
    return Twips::toPixels(float(twips), Twips::kDefaultDpi);
}

QRect pxRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}
} // namespace

ProcessingForm::ProcessingForm(InstrumentSession &instrument, const QIcon &icon, QWidget *parent)
    : QWidget(parent, Qt::Window), m_session(instrument)
{
    setObjectName(QStringLiteral("ProcessingForm"));
    setWindowTitle(tr("Processing"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowIcon(icon);
    setFont(QFont(QStringLiteral("Tahoma"), 9));
    buildControls();
    wireSession();
    resize(px(kWidth), px(kHeight));

    m_hourglass.set(true);
    m_session.mount();
}

void ProcessingForm::buildControls()
{
    m_driveCombo = named(new QComboBox(this), "DriveCombo");
    m_driveCombo->addItems({QStringLiteral("C:"), QStringLiteral("D:"), QStringLiteral("E:"),
                            QStringLiteral("F:"), QStringLiteral("G:")});
    m_driveCombo->setGeometry(px(240), px(120), px(855), m_driveCombo->sizeHint().height());

    m_label1 = named(new QLabel(this), "Label1");
    m_label1->setGeometry(pxRect(1200, 120, 4095, 375));
    m_fileCountLabel = named(new QLabel(this), "FileCountLabel");
    m_fileCountLabel->setGeometry(pxRect(5400, 120, 1815, 495));
    for (QLabel *label : {m_label1, m_fileCountLabel}) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
    }

    m_list1 = named(new QListWidget(this), "List1");
    m_list1->setGeometry(pxRect(240, 600, 5055, 3660));
    m_list1->setFont(QFont(QStringLiteral("Courier New"), 9));
    m_list1->setSelectionMode(QAbstractItemView::ExtendedSelection);

    m_startButton = named(new QPushButton(tr("Process"), this), "StartButton");
    m_startButton->setGeometry(pxRect(5640, 2880, 1335, 375));
    m_stopButton = named(new QPushButton(tr("Stop"), this), "StopButton");
    m_stopButton->setGeometry(pxRect(5640, 3360, 1335, 375));
    m_closeButton = named(new QPushButton(tr("Close"), this), "CloseButton");
    m_closeButton->setGeometry(pxRect(5640, 3840, 1335, 375));
    setTabOrder(m_startButton, m_stopButton);
    setTabOrder(m_stopButton, m_closeButton);

    connect(m_driveCombo, &QComboBox::currentIndexChanged, this, &ProcessingForm::DriveCombo_Click);
    connect(m_list1, &QListWidget::itemDoubleClicked, this, &ProcessingForm::List1_DblClick);
    connect(m_startButton, &QPushButton::clicked, this, &ProcessingForm::StartButton_Click);
    connect(m_stopButton, &QPushButton::clicked, &m_session, &ProcessingSession::stop);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);
}

void ProcessingForm::wireSession()
{
    ProcessingSession *s = &m_session;
    connect(s, &ProcessingSession::busyChanged, this, &ProcessingForm::refreshing);
    connect(s, &ProcessingSession::processingChanged, this, &ProcessingForm::processing);
    connect(s, &ProcessingSession::entriesCleared, m_list1, &QListWidget::clear);
    connect(s, &ProcessingSession::entryAdded, m_list1,
            [this](const QString &entry) { m_list1->addItem(entry); });
    connect(s, &ProcessingSession::fileCountChanged, m_fileCountLabel, &QLabel::setText);
    connect(s, &ProcessingSession::directoryChanged, m_label1, &QLabel::setText);
    connect(s, &ProcessingSession::driveFound, this, &ProcessingForm::showDrive);
    connect(s, &ProcessingSession::rowProcessed, this, [this](int row) {
        if (QListWidgetItem *item = m_list1->item(row))
            item->setSelected(false);
    });
}

void ProcessingForm::refreshing(bool busy)
{
    if (busy)
        m_hourglass.set(true);
    m_startButton->setEnabled(!busy);
    m_closeButton->setEnabled(!busy);
    m_list1->setEnabled(!busy);
    if (!busy) {
        m_stopButton->setEnabled(true);
        m_hourglass.set(false);
        closeWhenIdle();
    }
}

void ProcessingForm::processing(bool running)
{
    m_hourglass.set(running);
    m_startButton->setEnabled(!running);
    m_list1->setEnabled(!running);
    m_closeButton->setEnabled(!running);
    m_driveCombo->setEnabled(!running);
    if (!running)
        closeWhenIdle();
}

// A drive outside the list cannot be shown; the directory label still names it.
void ProcessingForm::showDrive(const QString &drive)
{
    if (m_driveCombo->currentText() != drive)
        m_driveCombo->setCurrentText(drive);
}

void ProcessingForm::DriveCombo_Click()
{
    if (m_session.isBusy())
        return;
    m_hourglass.set(true);
    m_session.chooseDrive(m_driveCombo->currentText());
    m_hourglass.set(false);
}

void ProcessingForm::List1_DblClick(QListWidgetItem *item)
{
    if (!item || !ProcessingListing::isDirectory(item->text().toLatin1()))
        return;
    m_hourglass.set(true);
    m_session.openEntry(item->text());
    m_hourglass.set(false);
}

void ProcessingForm::StartButton_Click()
{
    QList<int> rows;
    for (int i = 0; i < m_list1->count(); ++i) {
        if (m_list1->item(i)->isSelected())
            rows.append(i);
    }
    m_session.process(rows);
}

void ProcessingForm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    // Listed from the event loop, not from inside the activation itself.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_session.isBusy() || m_session.isProcessing())
                return;
            m_session.refresh();
            m_hourglass.set(false);
        },
        Qt::QueuedConnection);
}

void ProcessingForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int gap = px(kGap);
    const int closeTop = height() - m_closeButton->height() - gap;
    const int closeLeft = width() - m_closeButton->width() - gap;
    m_closeButton->move(closeLeft, closeTop);
    const int stopTop = closeTop - m_stopButton->height() - gap;
    m_stopButton->move(closeLeft, stopTop);
    m_startButton->move(closeLeft, stopTop - m_startButton->height() - gap);
    m_list1->resize(qMax(0, closeLeft - m_list1->x() - gap), m_list1->height());
}

void ProcessingForm::closeEvent(QCloseEvent *event)
{
    // The session's waits run on this window's stack; it may go only once they are over.
    if (m_session.isBusy() || m_session.isProcessing()) {
        m_closePending = true;
        if (m_session.isProcessing())
            m_session.stop();
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void ProcessingForm::closeWhenIdle()
{
    if (m_closePending) {
        m_closePending = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}
