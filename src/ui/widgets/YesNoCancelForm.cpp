#include "ui/widgets/YesNoCancelForm.h"

#include "support/StringCode.h"
#include "ui/widgets/AccessKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include <cmath>
#include <limits>

namespace
{

QFont tahoma(double points)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(points);
    return font;
}

QLabel *iconLabel(QWidget *parent, const char *name, QStyle::StandardPixmap kind, int sizeTwips)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setPixmap(parent->style()->standardIcon(kind).pixmap(32, 32));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(QuestionBoxLayout::toPixels(QRect(120, 120, sizeTwips, sizeTwips)));
    return label;
}

} // namespace

YesNoCancelForm::YesNoCancelForm(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("YesNoCancelForm"));
    //: The program's name.
    setWindowTitle(tr("Orvantis Console"));
    setWindowIcon(QApplication::windowIcon());
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    setFont(font);

    Question_text = new QLabel(this);
    Question_text->setObjectName(QStringLiteral("Question_text"));
    Question_text->setFont(tahoma(9));
    Question_text->setTextFormat(Qt::PlainText);
    Question_text->setWordWrap(true);
    Question_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    InfoIcon = iconLabel(this, "InfoIcon", QStyle::SP_MessageBoxInformation, 480);
    QuestionIcon = iconLabel(this, "QuestionIcon", QStyle::SP_MessageBoxQuestion, 492);

    YesButton = addButton("YesButton");
    NoButton = addButton("NoButton");
    Cancel_Button = addButton("Cancel_Button");
    setTabOrder(YesButton, NoButton);
    setTabOrder(NoButton, Cancel_Button);
    connect(YesButton, &QPushButton::clicked, this, [this] { press(QStringLiteral("1")); });
    connect(NoButton, &QPushButton::clicked, this, [this] { press(QStringLiteral("0")); });
    connect(Cancel_Button, &QPushButton::clicked, this, [this] { press(QStringLiteral("-1")); });

    // Key preview: the window sees every key before the focused button does.
    installEventFilter(this);
    applyGeometry();
}

QPushButton *YesNoCancelForm::addButton(const char *name)
{
    auto *button = new QPushButton(this);
    button->setObjectName(QLatin1String(name));
    button->setFont(tahoma(9));
    button->setAutoDefault(true);
    button->installEventFilter(this);
    return button;
}

qint32 YesNoCancelForm::codeOf(const QString &text)
{
    const double value = std::nearbyint(LeadingNumber(text));
    if (!(value >= std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    if (value > std::numeric_limits<qint32>::max())
        return std::numeric_limits<qint32>::max();
    return qint32(value);
}

void YesNoCancelForm::setQuestion(const QString &question)
{
    Question_text->setText(question);
    m_layout.label.setHeight(labelHeightTwips(m_layout.label.width()));
    applyGeometry();
}

int YesNoCancelForm::labelHeightTwips(int widthTwips) const
{
    const int height = Question_text->heightForWidth(QuestionBoxLayout::toPixels(widthTwips));
    return qMax(height, 1) * QuestionBoxLayout::kTwipsPerPixel;
}

void YesNoCancelForm::applyGeometry()
{
    setFixedSize(QuestionBoxLayout::toPixels(m_layout.interior.width()),
                 QuestionBoxLayout::toPixels(m_layout.interior.height()));
    Question_text->setGeometry(QuestionBoxLayout::toPixels(m_layout.label));
    YesButton->setGeometry(QuestionBoxLayout::toPixels(m_layout.buttons[0]));
    NoButton->setGeometry(QuestionBoxLayout::toPixels(m_layout.buttons[1]));
    Cancel_Button->setGeometry(QuestionBoxLayout::toPixels(m_layout.buttons[2]));
}

void YesNoCancelForm::LayoutControls()
{
    const double leftShift =
        m_layout.fit([this](int width) { return labelHeightTwips(width); },
                     {!YesButton->text().isEmpty(), !NoButton->text().isEmpty(),
                      !Cancel_Button->text().isEmpty()});
    applyGeometry();
    if (leftShift != 0)
        move(x() + QuestionBoxLayout::toPixels(leftShift), y());
}

void YesNoCancelForm::showEvent(QShowEvent *event)
{
    DefaultButton = codeOf(ResultText);
    // Leaving the box without a button yields -1.
    ResultText = QStringLiteral("-1");

    const bool asks = !NoButton->isHidden() || !Cancel_Button->isHidden();
    QuestionIcon->setVisible(asks);
    InfoIcon->setVisible(!asks);

    QPushButton *target = nullptr;
    if (DefaultButton == -1)
        target = Cancel_Button;
    else if (DefaultButton == 0)
        target = NoButton;
    else if (DefaultButton == 1)
        target = YesButton;
    if (target && target->isHidden())
        target = nullptr;
    if (!target && (!focusWidget() || focusWidget()->isHidden())) {
        for (QPushButton *button : {YesButton, NoButton, Cancel_Button}) {
            if (!button->isHidden()) {
                target = button;
                break;
            }
        }
    }
    if (target) {
        target->setFocus(Qt::OtherFocusReason);
        target->setDefault(true);
    }

    LayoutControls();
    QDialog::showEvent(event);
}

void YesNoCancelForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        // Escape belongs to the third button only while it is shown.
        if (!Cancel_Button->isHidden())
            Cancel_Button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool YesNoCancelForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent *>(event)->text();
        if (text.size() == 1 && HandleAccessKey(this, qint16(text.at(0).unicode())) == 0)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void YesNoCancelForm::press(const QString &code)
{
    ResultText = code;
    hide();
}
