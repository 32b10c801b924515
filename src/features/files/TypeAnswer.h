#pragma once

#include <QByteArray>
#include <QString>

// What the instrument sends after echoing "type NAME ...": the file's bytes, then its prompt;
// or, for a file it cannot give, words of its own, then its prompt. The words differ from
// instrument to instrument, so the shape of the answer tells them apart:
// - text, the prompt back before the listed size has come, and then quiet: a refusal;
// - text, the listed size, then more than a line end before the prompt: a refusal in more
//   words than the listed size (a short file that is gone);
// - anything else (at most a line end between the listed size and the prompt, no prompt,
//   bytes that are not text): the file.
// Refusals are one short line, so only the start of the answer is looked at.
class TypeAnswer
{
public:
    enum class Kind { Undecided, Refusal, File };

    // How much of the answer is looked at: anything longer is a file.
    static constexpr qsizetype kLookedAt = 4096;

    // `afterEcho`: what was received after the CR that ends the echo (its LF included), at
    // least its first kLookedAt bytes when there are that many. `quiet`: nothing has arrived
    // for a while.
    static Kind classify(QByteArray afterEcho, qint64 listedSize, bool quiet);
    // The instrument's words in a refusal: its text before the prompt, on one line.
    static QString words(QByteArray afterEcho);
};
