#include "features/files/DirSort.h"

#include <QtMath>

#include <algorithm>

namespace
{
bool readNumber(const QString &text, double *value)
{
    bool ok = false;
    *value = text.trimmed().toDouble(&ok);
    return ok && qIsFinite(*value);
}
} // namespace

void DirSort::headerClicked(int column, int &LastClickedColumn)
{
    SortColumn = qBound(0, column, kVisibleColumns - 1);
    SortKeyColumn = keyColumn(SortColumn);
    if (SortColumn == LastClickedColumn)
        SortAscending = !SortAscending;
    LastClickedColumn = SortColumn;
}

int DirSort::keyColumn(int column)
{
    switch (column) {
    case 1:
        return 4;
    case 2:
        return 5;
    case 3:
        return 3;
    default:
        return 0;
    }
}

QString DirSort::headerText(int column)
{
    switch (column) {
    case 0:
        return DirSort::tr("Name");
    case 1:
        return DirSort::tr("Date Modified");
    case 2:
        return DirSort::tr("Size");
    case 3:
        return DirSort::tr("Type");
    default:
        return QString();
    }
}

QStringList DirSort::headerCaptions(int column, bool ascending)
{
    QStringList captions;
    for (int i = 0; i < kVisibleColumns; ++i) {
        QString caption = headerText(i);
        if (i == column)
            caption += QLatin1String(ascending ? kAscendingMarker : kDescendingMarker);
        captions << caption;
    }
    return captions;
}

int DirSort::columnAt(int x, const QList<int> &widths)
{
    int edge = 0;
    for (int column = 0; column < kVisibleColumns - 1 && column < widths.size(); ++column) {
        edge += widths.at(column);
        if (x < edge)
            return column;
    }
    return kVisibleColumns - 1;
}

bool DirSort::keyLess(const QString &a, const QString &b)
{
    double x = 0;
    double y = 0;
    const bool aNumber = readNumber(a, &x);
    const bool bNumber = readNumber(b, &y);
    if (aNumber && bNumber)
        return x < y;
    if (aNumber != bNumber)
        return aNumber;
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

void DirSort::sortRows(QList<QStringList> &rows, int column, bool ascending)
{
    const int key = keyColumn(column);
    auto keyOf = [key](const QStringList &row) {
        return key < row.size() ? row.at(key) : QString();
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const QStringList &a, const QStringList &b) {
        return ascending ? keyLess(keyOf(a), keyOf(b)) : keyLess(keyOf(b), keyOf(a));
    });
}
