#pragma once

#include <QString>

// Points the program's settings store at `folder`, so tests never touch the user's own.
void useTemporarySettings(const QString &folder);
