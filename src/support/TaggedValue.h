#pragma once

#include <QByteArray>
#include <QString>

// The value that follows `tag` in `text` (the tag found ignoring case, its first occurrence
// counting), up to the character before `terminator`: that character is the CR of a CR LF
// line end and is dropped. Blanks at both ends are removed; the value keeps its case.
// Empty when the tag is missing, when no terminator follows, or when the terminator stands
// within the first three characters after the tag.
QByteArray GetTaggedValue(const QByteArray &text, const QByteArray &tag,
                          const QByteArray &terminator);
QString GetTaggedValue(const QString &text, const QString &tag, const QString &terminator);
