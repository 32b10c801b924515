#pragma once

#include <QByteArray>
#include <QString>

// Path helpers for paths on this computer, written with the platform's native separator
// (QDir::separator()). Paths from Qt's own dialogs need QDir::toNativeSeparators() first.

// The characters after the last separator; the whole path when it has none.
QString FileNameOf(const QString &path);
// The characters up to and including the last separator; empty when the path has none.
QString FolderOf(const QString &path);
// The characters after the last "."; empty when the name has none.
QString FileExtension(const QString &name);
// The path ending in exactly one separator added when it had none; a lone separator for an
// empty path.
QString AddBackslash(const QString &path);
// The path with a blank after every separator from the sixth character on, so that a long
// folder can wrap in a label; the drive or root part stays as it is.
QString PathForDisplay(const QString &path);
QString StripSpaces(const QString &text);
// How many characters of `text` equal the single character `ch` (0 unless `ch` is one
// character long).
int CountChar(const QByteArray &ch, const QByteArray &text);
int CountChar(const QString &ch, const QString &text);
// False for an empty path, for wildcards ("?" or "*") and on any error.
bool FolderExists(const QString &path);
// True for an existing file (not a folder); False for an empty path, for wildcards and on
// any error. Letter case matters where the file system says it does.
bool FileExists(const QString &path);
