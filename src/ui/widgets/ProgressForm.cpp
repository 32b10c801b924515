#include "ui/widgets/ProgressForm.h"

#include "support/QuestionBoxLayout.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace
{

QRect pixels(int left, int top, int width, int height)
{
    return QuestionBoxLayout::toPixels(QRect(left, top, width, height));
}

QFont tahoma(double points, bool bold = false)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QProgressBar *bar(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *progress = new QProgressBar(parent);
    progress->setObjectName(QLatin1String(name));
    progress->setTextVisible(false);
    progress->setGeometry(geometry);
    return progress;
}

} // namespace

ProgressForm::ProgressForm(QWidget *owner)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("ProgressForm"));
    setModal(false);
    setFixedSize(QuestionBoxLayout::toPixels(5550), QuestionBoxLayout::toPixels(2025));

    MsgLabel = new QLabel(this);
    MsgLabel->setObjectName(QStringLiteral("MsgLabel"));
    MsgLabel->setFont(tahoma(9.75, true));
    MsgLabel->setGeometry(pixels(360, 120, 4935, 255));

    ProgressBar = bar(this, "ProgressBar", pixels(240, 600, 5055, 255));
    ProgressBar2 = bar(this, "ProgressBar2", pixels(240, 960, 5055, 435));

    ProgressTextLabel = new QLabel(this);
    ProgressTextLabel->setObjectName(QStringLiteral("ProgressTextLabel"));
    ProgressTextLabel->setFont(tahoma(9));
    ProgressTextLabel->setGeometry(pixels(360, 1320, 3495, 375));

    StopButton = new QPushButton(tr("Stop"), this);
    StopButton->setObjectName(QStringLiteral("StopButton"));
    StopButton->setFont(tahoma(9));
    StopButton->setGeometry(pixels(3960, 1440, 1335, 375));
    connect(StopButton, &QPushButton::clicked, this, [this] {
        CancelFlag = true;
        emit stopRequested();
    });
}

void ProgressForm::reject()
{
    // Escape and the close box act as "Stop": the window stays until its owner ends the job.
    StopButton->click();
}
