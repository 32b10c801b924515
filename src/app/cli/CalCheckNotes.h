#pragma once

#include "features/calcheck/CalCheckProgress.h"

#include <QCoreApplication>

class CliOutput;

// The cal check's progress window on the command line: each phase's message as a note, the
// phase's count as a progress line when standard error is a terminal, and Stop raised by a
// signal.
class CalCheckNotes : public CalCheckProgress
{
    Q_DECLARE_TR_FUNCTIONS(CalCheckNotes)

public:
    CalCheckNotes(CliOutput &output, const bool &stop) : m_output(output), m_stop(stop) {}

    void setTitle(const QString &) override {}
    void show() override {}
    void hide() override {}
    void setMessage(const QString &text) override;
    void setMinimum(Bar, int) override {}
    void setMaximum(Bar bar, int maximum) override;
    void setValue(Bar bar, int value) override;
    void setBarVisible(Bar, bool) override {}
    bool CancelFlag() const override { return m_stop || m_cancel; }
    void setCancelFlag(bool raised) override { m_cancel = raised; }

private:
    CliOutput &m_output;
    const bool &m_stop;
    bool m_cancel = false;
    QString m_message;
    int m_maximum = 0;
};
