#pragma once

// The terminal window's "Open" flag in the "Terminal" section: written by the terminal when
// it closes, read once at start-up to decide whether to show it again.
namespace TerminalOpenSetting
{

// True only when the stored text is exactly "True"; a missing key or any other text,
// "true" included, is false.
bool wasOpen();
// Stores "True" or "False".
void save(bool open);

} // namespace TerminalOpenSetting
