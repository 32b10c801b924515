#include "features/files/DirListing.h"

#include "features/files/ParseDirDate.h"
#include "support/PathUtilities.h"
#include "support/StringCode.h"

namespace
{
// Field places, counting from 0.
constexpr qsizetype kNameAt = 0;
constexpr qsizetype kNameLength = 12;
constexpr qsizetype kSizeAt = 12;
constexpr qsizetype kSizeLength = 15;
constexpr qsizetype kSizeDigitsAt = 14;
constexpr qsizetype kSizeDigitsLength = 13;
constexpr qsizetype kDateAt = 28;

QString text(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}
} // namespace

QStringList DirListing::Row::cells() const
{
    return {name, date, size, type, dateKey, sizeKey};
}

DirListing::Row DirListing::Row::fromCells(const QStringList &cells)
{
    return {cells.value(NameColumn), cells.value(DateColumn),    cells.value(SizeColumn),
            cells.value(TypeColumn), cells.value(DateKeyColumn), cells.value(SizeKeyColumn)};
}

DirListing::Row DirListing::parseLine(const QByteArray &line)
{
    Row row;
    const QString nameField = text(line.mid(kNameAt, kNameLength));
    row.name = nameField.trimmed();
    row.type = FileExtension(nameField).trimmed();
    row.size = text(line.mid(kSizeAt, kSizeLength)).trimmed();
    row.sizeKey = text(StripCommas(line.mid(kSizeDigitsAt, kSizeDigitsLength)));
    const QByteArray dateField = line.mid(kDateAt);
    row.date = text(dateField).trimmed();
    row.dateKey = NumberWithSign(ParseDirDate(dateField));
    return row;
}

QList<DirListing::Row> DirListing::parse(QByteArray reply, bool *freeLineSeen)
{
    QList<Row> rows;
    if (freeLineSeen)
        *freeLineSeen = false;
    for (;;) {
        const QByteArray line = NextLine(reply);
        if (line.isEmpty())
            break;
        if (line.contains("Directory"))
            continue;
        if (line.contains("free")) {
            if (freeLineSeen)
                *freeLineSeen = true;
            continue;
        }
        rows.append(parseLine(line));
    }
    return rows;
}
