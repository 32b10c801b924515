#pragma once

#include "features/calcheck/CalCheckProgress.h"

#include <QMap>
#include <QStringList>

// What the progress window was told; outlives the window so tests can read it afterwards.
struct ProgressRecord {
    int created = 0;
    bool destroyed = false;
    bool shown = false;
    bool hidden = false;
    QString title;
    QString message;
    QStringList messages;
    int value[2] = {0, 0};
    int minimum[2] = {0, 0};
    int maximum[2] = {100, 100};
    bool visible[2] = {true, true};
    bool beyondMaximum = false;
    QMap<QString, int> peak; // highest ProgressBar value under each message
    bool cancel = false;
    // "Stop" is pressed when ProgressBar reaches stopAt under stopMessage, or when the
    // message is set to stopMessage for the stopOccurrence-th time.
    QString stopMessage;
    int stopAt = -1;
    int stopOccurrence = 0;
};

class FakeProgress : public CalCheckProgress
{
public:
    explicit FakeProgress(ProgressRecord &r) : m_r(r) { ++m_r.created; }
    ~FakeProgress() override { m_r.destroyed = true; }
    void setTitle(const QString &title) override { m_r.title = title; }
    void show() override { m_r.shown = true; }
    void hide() override { m_r.hidden = true; }
    void setMessage(const QString &text) override
    {
        m_r.message = text;
        m_r.messages << text;
        if (m_r.stopAt < 0 && text == m_r.stopMessage &&
            m_r.messages.count(text) == m_r.stopOccurrence)
            m_r.cancel = true;
    }
    void setMinimum(Bar bar, int minimum) override { m_r.minimum[bar] = minimum; }
    void setMaximum(Bar bar, int maximum) override { m_r.maximum[bar] = maximum; }
    void setValue(Bar bar, int value) override
    {
        if (value > m_r.maximum[bar] || value < m_r.minimum[bar])
            m_r.beyondMaximum = true;
        m_r.value[bar] = value;
        if (bar != ProgressBar)
            return;
        m_r.peak[m_r.message] = qMax(m_r.peak.value(m_r.message), value);
        if (m_r.message == m_r.stopMessage && value == m_r.stopAt)
            m_r.cancel = true;
    }
    void setBarVisible(Bar bar, bool visible) override { m_r.visible[bar] = visible; }
    bool CancelFlag() const override { return m_r.cancel; }
    void setCancelFlag(bool raised) override { m_r.cancel = raised; }

private:
    ProgressRecord &m_r;
};
