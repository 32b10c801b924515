#pragma once

#include <QList>
#include <QPointer>
#include <QScopedValueRollback>
#include <QWidget>

#include <initializer_list>
#include <utility>

// Marks a dialog busy for the length of one of its own commands and shows the controls that
// cannot act meanwhile disabled, so that a click on them is refused visibly instead of being
// swallowed. Scopes nest; each gives its controls back the state it found.
class DisabledWhileBusy
{
public:
    DisabledWhileBusy(bool &busy, std::initializer_list<QWidget *> controls) : m_busy(busy, true)
    {
        for (QWidget *control : controls) {
            m_saved.append({control, control->isEnabledTo(control->parentWidget())});
            control->setEnabled(false);
        }
    }
    ~DisabledWhileBusy()
    {
        for (const auto &[control, enabled] : std::as_const(m_saved)) {
            if (control)
                control->setEnabled(enabled);
        }
    }
    DisabledWhileBusy(const DisabledWhileBusy &) = delete;
    DisabledWhileBusy &operator=(const DisabledWhileBusy &) = delete;

private:
    QScopedValueRollback<bool> m_busy;
    QList<std::pair<QPointer<QWidget>, bool>> m_saved;
};
