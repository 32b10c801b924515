#pragma once

#include <QString>

// What the cal check needs of the progress window (ProgressForm): a modeless window with a
// message line, two bars and a "Stop" button. The cal check creates one through a factory
// when the collection starts and destroys it to unload the window.
class CalCheckProgress
{
public:
    // ProgressBar is the per-phase bar, ProgressBar2 the overall one.
    enum Bar { ProgressBar, ProgressBar2 };

    virtual ~CalCheckProgress() = default;

    virtual void setTitle(const QString &title) = 0;
    // Shows the window without making it modal.
    virtual void show() = 0;
    virtual void hide() = 0;
    // The phase text (MsgLabel).
    virtual void setMessage(const QString &text) = 0;

    virtual void setMinimum(Bar bar, int minimum) = 0;
    virtual void setMaximum(Bar bar, int maximum) = 0;
    virtual void setValue(Bar bar, int value) = 0;
    virtual void setBarVisible(Bar bar, bool visible) = 0;

    // True once "Stop" was pressed since the flag was last cleared. A window the operator
    // closed must also answer True here, so that closing it stops the procedure; the
    // setters above must then do nothing.
    virtual bool CancelFlag() const = 0;
    virtual void setCancelFlag(bool raised) = 0;
};
