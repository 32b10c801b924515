#include "support/DefaultFolders.h"

#include "support/PathUtilities.h"

#include <QDir>

QString DefaultDataFolder()
{
    const QString home = QDir::homePath();
    const QString documents =
        QDir::toNativeSeparators(QDir(home).filePath(QStringLiteral("Documents")));
    if (FolderExists(documents))
        return documents;
    if (FolderExists(QDir::toNativeSeparators(home)))
        return QDir::toNativeSeparators(home);
    return QDir::toNativeSeparators(QDir::rootPath());
}
