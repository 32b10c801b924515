#pragma once

#include <QString>

// The folder downloads go to at start-up: the user's "Documents" folder when there is one,
// else the home folder, else the root of the file system.
QString DefaultDataFolder();
