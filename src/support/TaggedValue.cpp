#include "support/TaggedValue.h"

namespace
{
// Blanks only: a tab or a CR left at the end belongs to the value.
template <typename Text> Text trimBlanks(const Text &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == ' ')
        ++begin;
    while (end > begin && text.at(end - 1) == ' ')
        --end;
    return text.mid(begin, end - begin);
}

// Case-insensitive searches keep the positions of the text as passed, which lower-casing a
// copy would not always do for non-ASCII text.
template <typename Text, typename Find>
Text taggedValue(const Text &text, const Text &tag, const Text &terminator, Find find)
{
    const qsizetype tagAt = find(text, tag, 0);
    if (tagAt < 0)
        return Text();
    const qsizetype valueAt = tagAt + tag.size();
    const qsizetype terminatorAt = find(text, terminator, valueAt);
    if (terminatorAt < 0)
        return Text();
    // Position of the terminator counting from 1 at the first character after the tag.
    const qsizetype q = terminatorAt - valueAt + 1;
    if (q <= 3)
        return Text();
    return trimBlanks(text.mid(valueAt, q - 2));
}
} // namespace

QByteArray GetTaggedValue(const QByteArray &text, const QByteArray &tag,
                          const QByteArray &terminator)
{
    const QByteArray lowerText = text.toLower();
    return taggedValue(text, tag, terminator,
                       [&lowerText](const QByteArray &, const QByteArray &what, qsizetype from) {
                           return lowerText.indexOf(what.toLower(), from);
                       });
}

QString GetTaggedValue(const QString &text, const QString &tag, const QString &terminator)
{
    return taggedValue(text, tag, terminator,
                       [](const QString &in, const QString &what, qsizetype from) {
                           return in.indexOf(what, from, Qt::CaseInsensitive);
                       });
}
