#include "features/processing/ProcessingListing.h"

namespace
{
const QByteArray kHeader = QByteArrayLiteral("irectory of");
const QByteArray kProcessingFile = QByteArrayLiteral(".TLT");
const QByteArray kDirectory = QByteArrayLiteral("<DIR>");
const QByteArray kEnd = QByteArrayLiteral("bytes free");
} // namespace

ProcessingListing::Line ProcessingListing::classify(const QByteArray &line)
{
    Line result;
    if (line.contains(kHeader)) {
        result.kind = Kind::Header;
        // "of" is always there, inside the header text itself.
        const qsizetype of = line.indexOf("of");
        result.directory = line.mid(of + 3);
        const qsizetype colon = line.indexOf(':');
        if (colon >= 1)
            result.drive = line.mid(colon - 1, 2);
    } else if (line.contains(kProcessingFile) || line.contains(kDirectory)) {
        result.kind = line.startsWith(". ") ? Kind::Hidden : Kind::Entry;
    } else if (line.contains(kEnd)) {
        result.kind = Kind::End;
    }
    return result;
}

bool ProcessingListing::isDirectory(const QByteArray &entry)
{
    return entry.contains(kDirectory);
}

QByteArray ProcessingListing::processingName(const QByteArray &entry)
{
    const qsizetype at = entry.indexOf(kProcessingFile);
    return at < 0 ? QByteArray() : entry.left(at);
}

QByteArray ProcessingListing::processingPath(const QByteArray &directory, const QByteArray &entry)
{
    if (!entry.contains(kProcessingFile))
        return QByteArray();
    return directory.trimmed() + processingName(entry);
}
