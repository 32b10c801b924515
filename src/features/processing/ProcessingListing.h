#pragma once

#include <QByteArray>

// One line of a directory listing from the instrument's own operating system, classified by
// plain, case-sensitive substring tests as the listing reader needs them.
class ProcessingListing
{
public:
    enum class Kind {
        Other,  // echo, volume line, totals, prompt: ignored
        Header, // "Directory of C:\DATA": names the current directory
        Entry,  // a sub-directory or a ".TLT" file, shown in the list
        Hidden, // the entry of the directory itself (". "), not shown
        End     // "bytes free": the listing is complete
    };

    struct Line {
        Kind kind = Kind::Other;
        // Header only: the text after the first "of" and the one character behind it.
        QByteArray directory;
        // Header only: the character before the first ":" and the ":"; empty without one.
        QByteArray drive;
    };

    static Line classify(const QByteArray &line);

    // Sub-directory entries carry "<DIR>"; their name is the first word.
    static bool isDirectory(const QByteArray &entry);
    // The file name of a ".TLT" entry without its extension; empty for other entries.
    static QByteArray processingName(const QByteArray &entry);
    // What the processing program is given: the directory text, trimmed, directly followed
    // by the name (no separator, as the instrument expects it). Empty for non-".TLT" entries.
    static QByteArray processingPath(const QByteArray &directory, const QByteArray &entry);
};
