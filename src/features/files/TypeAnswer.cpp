#include "features/files/TypeAnswer.h"

#include <algorithm>

namespace
{
const QByteArray kPrompt("Orvantis>");

QByteArray withoutEchoLineFeed(QByteArray afterEcho)
{
    if (afterEcho.startsWith('\n'))
        afterEcho.remove(0, 1);
    return afterEcho;
}

bool isText(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return (code >= 32 && code < 127) || c == '\r' || c == '\n' || c == '\t';
    });
}
} // namespace

TypeAnswer::Kind TypeAnswer::classify(QByteArray afterEcho, qint64 listedSize, bool quiet)
{
    afterEcho = withoutEchoLineFeed(afterEcho).left(kLookedAt);
    const qsizetype prompt = afterEcho.indexOf(kPrompt);
    if (prompt < 0) {
        if (afterEcho.size() >= kLookedAt || (quiet && afterEcho.size() >= listedSize))
            return Kind::File;
        return Kind::Undecided;
    }
    // Words, not a file's bytes: a binary file may hold the prompt's letters by chance.
    if (!isText(afterEcho.first(prompt)))
        return Kind::File;
    if (prompt < listedSize)
        return quiet ? Kind::Refusal : Kind::Undecided;
    const QByteArray between = afterEcho.mid(listedSize, prompt - listedSize).trimmed();
    return between.isEmpty() ? Kind::File : Kind::Refusal;
}

QString TypeAnswer::words(QByteArray afterEcho)
{
    afterEcho = withoutEchoLineFeed(afterEcho).left(kLookedAt);
    const qsizetype prompt = afterEcho.indexOf(kPrompt);
    QByteArray said = prompt < 0 ? afterEcho : afterEcho.first(prompt);
    said.replace('\r', ' ').replace('\n', ' ');
    return QString::fromLatin1(said.simplified());
}
