#include "ui/widgets/QuestionBoxDialogs.h"

#include "ui/widgets/YesNoCancelForm.h"

#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

namespace
{

void setCaption(QPushButton *button, const QString &caption)
{
    // "&" makes the caption's first character the button's access letter.
    button->setText(caption.isEmpty() ? QString() : QLatin1Char('&') + caption);
    button->setHidden(caption.isEmpty());
}

} // namespace

qint32 ShowQuestionBox(const QString &question, const QString &caption1, const QString &caption2,
                       const QString &caption3, qint32 defaultButton, bool centreOnOwner,
                       QWidget *owner)
{
    QPointer<YesNoCancelForm> box = new YesNoCancelForm(centreOnOwner ? owner : nullptr);
    box->ResultText = QString::number(defaultButton);

    const QSize outer = box->frameGeometry().size();
    if (centreOnOwner && owner) {
        const QRect ownerFrame = owner->frameGeometry();
        const QRect screen = owner->screen()->geometry();
        int left = ownerFrame.x() + ownerFrame.width() / 2 - outer.width() / 2;
        int top = ownerFrame.y() + ownerFrame.height() / 2 - outer.height() / 2;
        if (left < 0)
            left = 0;
        if (top < 0)
            top = 0;
        if (left + outer.width() > screen.width())
            left = screen.width() - outer.width();
        if (top + outer.height() > screen.height())
            top = screen.height() - outer.height();
        box->move(left, top);
        owner->setFocus();
    } else {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        box->move(screen.x() + screen.width() / 2 - outer.width() / 2,
                  screen.y() + screen.height() / 2 - outer.height() / 2);
    }

    setCaption(box->YesButton, caption1);
    setCaption(box->NoButton, caption2);
    setCaption(box->Cancel_Button, caption3);
    box->setQuestion(question);

    box->exec();
    if (!box)
        return -1;
    const qint32 result = YesNoCancelForm::codeOf(box->ResultText);
    delete box;
    return result;
}
