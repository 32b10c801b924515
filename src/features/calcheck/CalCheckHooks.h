#pragma once

#include "features/calcheck/CalCheckProgress.h"

#include <QByteArray>
#include <functional>
#include <memory>

// The main window's parts the cal check relies on, handed in by the window.
struct CalCheckHooks {
    // The window's OpenNewFile: 1 when a new data file was chosen and opened, -1 otherwise.
    std::function<int()> OpenNewFile;
    // The window's ParseStatus for an "st:" reply: True only when fully stabilised.
    std::function<bool(const QByteArray &)> ParseStatus;
    // Creates a fresh progress window (ProgressForm); destroying it unloads the window.
    std::function<std::unique_ptr<CalCheckProgress>()> createProgress;
};
