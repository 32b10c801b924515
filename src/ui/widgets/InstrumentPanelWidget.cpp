#include "ui/widgets/InstrumentPanelWidget.h"

#include "ui/widgets/IndicatorLamp.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

InstrumentPanelWidget::InstrumentPanelWidget(const QString &title, const Names &names,
                                             QWidget *parent)
    : QGroupBox(title, parent), m_onCheck(new QCheckBox(tr("Enable"), this))
{
    setObjectName(names.frame);
    m_onCheck->setObjectName(names.onCheck);
    m_onCheck->setChecked(true);

    auto *grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    int row = 0;
    grid->addWidget(m_onCheck, row++, 0, 1, 2);
    if (!names.ambientLabel.isEmpty()) {
        m_ambient = new QLabel(this);
        m_ambient->setObjectName(names.ambientLabel);
        m_ambient->setMinimumWidth(m_ambient->fontMetrics().horizontalAdvance(
            //: Not shown: the width kept for the ambient temperature line.
            tr("Ambient: -00.00 C")));
        // The text is the instrument's; however long it comes, the fixed window keeps its size.
        m_ambient->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        grid->addWidget(m_ambient, row++, 0, 1, 2);
    } else {
        // A blank line keeps the lamps level with those of a panel that has the ambient line
        // (a spacer would not get the layout's spacing below it).
        grid->addWidget(new QLabel(QStringLiteral(" "), this), row++, 0, 1, 2);
    }

    const std::array<QString, 3> captions = {tr("Off"), tr("Stabilizing"), tr("Stable")};
    //: A lamp's accessible name: the panel's title, then the state the lamp shows.
    const std::array<QString, 3> roles = {tr("%1 off lamp"), tr("%1 stabilizing lamp"),
                                          tr("%1 stable lamp")};
    for (int index = 2; index >= 0; --index) {
        const auto i = static_cast<size_t>(index);
        auto *lamp = new IndicatorLamp(QStringLiteral("%1(%2)").arg(names.shape).arg(index), this);
        lamp->setObjectName(QStringLiteral("%1_%2").arg(names.shape).arg(index));
        // Named by its role; controlName() keeps "ThermalOKShape(2)".
        lamp->setAccessibleName(roles[i].arg(title));
        lamp->setCaption(captions[i]);
        auto *label = new QLabel(captions[i], this);
        label->setObjectName(QStringLiteral("%1_%2").arg(names.labels[i]).arg(index));
        m_shapes[i] = lamp;
        m_labels[i] = label;
        if (index == 1) // room for "Stabilizing (-12.3C)" and "Stabilizing (59.9 min.)"
            label->setMinimumWidth(label->fontMetrics().horizontalAdvance(
                //: Not shown: the width kept for the longest state text.
                tr("Stabilizing (59.9 min.)")));
        grid->addWidget(lamp, row, 0, Qt::AlignCenter);
        grid->addWidget(label, row, 1);
        ++row;
    }
    grid->setRowStretch(row, 1);
}
