#include "ui/status/InstrumentInfoForm.h"

#include "session/InstrumentInfo.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
QPlainTextEdit *makeTextField(const QString &name, const QStringList &lines, QWidget *parent)
{
    auto *field = new QPlainTextEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setLineWrapMode(QPlainTextEdit::NoWrap);
    field->setPlainText(lines.join(QLatin1Char('\n')));
    return field;
}
} // namespace

InstrumentInfoForm::InstrumentInfoForm(const InstrumentIdentity &identity, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Instrument Information"));
    if (parent)
        setWindowIcon(parent->window()->windowIcon());

    LabelText = makeTextField(
        QStringLiteral("LabelText"),
        {tr("Model:"), tr("Configuration:"), tr("Serial:"), tr("Max Depth:"), tr("Firmware:")},
        this);
    ValueText = makeTextField(QStringLiteral("ValueText"), valueLines(identity), this);
    LabelText->setMaximumWidth(fontMetrics().horizontalAdvance(tr("Configuration:")) +
                               4 * fontMetrics().averageCharWidth());

    CloseButton = new QPushButton(tr("Close"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setDefault(true);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *fields = new QHBoxLayout;
    fields->addWidget(LabelText);
    fields->addWidget(ValueText, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    resize(420, 190);
}

QStringList InstrumentInfoForm::valueLines(const InstrumentIdentity &identity)
{
    return {identity.InstrumentModel, identity.InstrumentConfiguration, identity.InstrumentSerial,
            tr("%1 m").arg(QString::number(identity.InstrumentMaxDepth)),
            FirmwareText(identity.InstrumentFirmware)};
}
