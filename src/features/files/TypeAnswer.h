#pragma once

#include <QByteArray>

// What the instrument sends after echoing "type NAME ...": the file's bytes, or at once its
// answer that the file is not on its disk, "File not found: NAME".
class TypeAnswer
{
public:
    enum class Kind {
        Undecided, // what has come so far could still be the start of that answer
        Missing,   // the answer came: the file is not there
        Stream     // anything else: the file is coming
    };

    // `afterEcho`: everything received after the CR that ends the echo (its LF included).
    // A file whose bytes begin with the answer's line cannot be told from it and counts as
    // missing.
    static Kind classify(const QByteArray &name, QByteArray afterEcho);
};
