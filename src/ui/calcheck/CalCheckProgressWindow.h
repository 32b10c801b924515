#pragma once

#include "features/calcheck/CalCheckProgress.h"
#include "ui/widgets/ProgressForm.h"

#include <QPointer>

// The cal check's progress shown in a ProgressForm. A window that is gone (closed by the
// operator) reads as stopped, so closing it acts as Stop.
class CalCheckProgressWindow : public CalCheckProgress
{
public:
    explicit CalCheckProgressWindow(QWidget *owner);
    ~CalCheckProgressWindow() override;

    void setTitle(const QString &title) override;
    void show() override;
    void hide() override;
    void setMessage(const QString &message) override;
    void setMinimum(Bar bar, int value) override;
    void setMaximum(Bar bar, int value) override;
    void setValue(Bar bar, int value) override;
    void setBarVisible(Bar bar, bool visible) override;
    bool CancelFlag() const override;
    void setCancelFlag(bool raised) override;

    ProgressForm *form() const { return m_form; }

private:
    QProgressBar *barOf(Bar bar) const;

    QPointer<ProgressForm> m_form;
};
