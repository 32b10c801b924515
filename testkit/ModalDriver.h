#pragma once

#include <QWidget>

#include <functional>

// Runs `action` on the application's modal window as soon as one is shown; lets tests drive
// windows whose exec() blocks the test function. The check runs from the event loop, so it
// fires while the modal window waits.
void whenModalShown(std::function<void(QWidget *)> action);
