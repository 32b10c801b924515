#include "ui/widgets/ErrorForm.h"

#include "support/QuestionBoxLayout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace
{

QRect pixels(int left, int top, int width, int height)
{
    return QuestionBoxLayout::toPixels(QRect(left, top, width, height));
}

QFont tahoma9()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(9);
    return font;
}

} // namespace

ErrorForm::ErrorForm(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("ErrorForm"));
    //: The program's name.
    setWindowTitle(tr("Orvantis Console"));
    setWindowIcon(QApplication::windowIcon());
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    setFont(font);
    setFixedSize(QuestionBoxLayout::toPixels(5850), QuestionBoxLayout::toPixels(2130));

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setGeometry(pixels(240, 240, 495, 495));

    // Fixed size: long messages wrap and are cut off below.
    msgText = new QLabel(this);
    msgText->setObjectName(QStringLiteral("msgText"));
    msgText->setFont(tahoma9());
    msgText->setTextFormat(Qt::PlainText);
    msgText->setWordWrap(true);
    msgText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    msgText->setGeometry(pixels(960, 180, 4695, 1395));

    Cancel = new QPushButton(tr("OK"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    Cancel->setFont(tahoma9());
    Cancel->setGeometry(pixels(4680, 1680, 975, 375));
    Cancel->setDefault(true);
    connect(Cancel, &QPushButton::clicked, this, &ErrorForm::acknowledge);

    // Centred on the owner once; later showings keep wherever the window was left.
    const QRect around =
        owner ? owner->frameGeometry() : QGuiApplication::primaryScreen()->geometry();
    move(around.center() - QPoint(width() / 2, height() / 2));
}

ErrorForm::~ErrorForm() = default;

void ErrorForm::ShowErrorMessage(const QString &message)
{
    const QPointer<ErrorForm> form = this;
    const quint64 number = ++form->m_issued;
    if (!form->isVisible()) {
        form->m_shown = number;
        form->msgText->setText(message);
        form->exec();
        return;
    }
    // Another message is on screen (this one comes from an event handled during its wait):
    // this one follows it, and the caller waits as for any message.
    form->m_waiting.append({number, message});
    QEventLoop wait;
    connect(form, &ErrorForm::acknowledged, &wait, [&wait, number](quint64 seen) {
        if (seen >= number)
            wait.quit();
    });
    connect(form, &QObject::destroyed, &wait, &QEventLoop::quit);
    wait.exec();
}

void ErrorForm::acknowledge()
{
    const quint64 seen = m_shown;
    if (m_waiting.isEmpty()) {
        hide();
    } else {
        const auto [number, message] = m_waiting.takeFirst();
        m_shown = number;
        msgText->setText(message);
        beep();
    }
    emit acknowledged(seen);
}

void ErrorForm::beep()
{
    if (m_beepHook)
        m_beepHook();
    else
        QApplication::beep();
}

void ErrorForm::reject()
{
    // Escape presses "OK", as does Enter.
    Cancel->click();
}

void ErrorForm::showEvent(QShowEvent *event)
{
    beep();
    QDialog::showEvent(event);
}

void ErrorForm::closeEvent(QCloseEvent *event)
{
    QDialog::closeEvent(event);
    if (event->isAccepted())
        deleteLater();
}
