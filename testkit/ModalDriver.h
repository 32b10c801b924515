#pragma once

#include <QApplication>
#include <QWidget>

#include <functional>

// Runs `action` once, as soon as `condition` holds; the check runs every few milliseconds
// from the event loop, so it fires inside whatever wait (a modal window's, a search's) is
// going on. Lets tests press buttons in windows whose exec() blocks the test function.
void whenTrue(std::function<bool()> condition, std::function<void()> action);
// whenTrue for the application's modal window: `action` gets it as soon as one is shown.
void whenModalShown(std::function<void(QWidget *)> action);
// Closes the modal window on screen, if there is one: a test that fails half way through a
// window's script must not leave the window waiting.
void closeModalWindow();

// The control named `name` in the modal window on screen; null when there is none.
template <typename Control> Control *modalControl(const char *name)
{
    QWidget *modal = QApplication::activeModalWidget();
    return modal ? modal->findChild<Control *>(QLatin1String(name)) : nullptr;
}
