#include "support/PathUtilities.h"

#include <QDir>
#include <QFileInfo>

namespace
{
constexpr qsizetype kFirstSpacedSeparator = 5; // counting from 0: the sixth character

bool unusablePath(const QString &path)
{
    return path.isEmpty() || path.contains(QLatin1Char('?')) || path.contains(QLatin1Char('*'));
}
} // namespace

QString FileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QDir::separator()) + 1);
}

QString FolderOf(const QString &path)
{
    return path.left(path.lastIndexOf(QDir::separator()) + 1);
}

QString FileExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString AddBackslash(const QString &path)
{
    if (path.endsWith(QDir::separator()))
        return path;
    return path + QDir::separator();
}

QString PathForDisplay(const QString &path)
{
    QString display;
    display.reserve(path.size() + path.size() / 4);
    for (qsizetype i = 0; i < path.size(); ++i) {
        display.append(path.at(i));
        if (i >= kFirstSpacedSeparator && path.at(i) == QDir::separator())
            display.append(QLatin1Char(' '));
    }
    return display;
}

QString StripSpaces(const QString &text)
{
    QString stripped = text;
    stripped.remove(QLatin1Char(' '));
    return stripped;
}

int CountChar(const QByteArray &ch, const QByteArray &text)
{
    return ch.size() == 1 ? int(text.count(ch.at(0))) : 0;
}

int CountChar(const QString &ch, const QString &text)
{
    return ch.size() == 1 ? int(text.count(ch.at(0))) : 0;
}

bool FolderExists(const QString &path)
{
    if (unusablePath(path))
        return false;
    return QFileInfo(AddBackslash(path)).isDir();
}

bool FileExists(const QString &path)
{
    if (unusablePath(path))
        return false;
    const QFileInfo info(path);
    // A trailing separator names a folder, never a file.
    if (!info.isFile() || path.endsWith(QDir::separator()))
        return false;
    return path.contains(info.fileName(), Qt::CaseInsensitive);
}
