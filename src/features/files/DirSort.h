#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

// Sorting of the directory grid by a clicked header: which column is sorted, in which
// direction, the header captions with their direction marker, and the row order itself.
// The shown date and size columns sort by their hidden keys, numerically.
class DirSort
{
    Q_DECLARE_TR_FUNCTIONS(DirSort)

public:
    static constexpr int kVisibleColumns = 4;
    static constexpr char kAscendingMarker[] = "   ^";
    static constexpr char kDescendingMarker[] = "   v";

    // Visible column the list is sorted by (0-3), the column holding its key, the direction.
    int SortColumn = 1;
    int SortKeyColumn = 4;
    bool SortAscending = true;

    // A click on the header of visible `column`: a second click on the column clicked last
    // reverses the direction, a click on another column keeps it. `LastClickedColumn` is the
    // program-wide memory of the previous click and is updated.
    void headerClicked(int column, int &LastClickedColumn);

    // 0 -> 0, 1 -> 4, 2 -> 5, 3 -> 3.
    static int keyColumn(int column);
    // "Name", "Date Modified", "Size", "Type".
    static QString headerText(int column);
    // The four header captions with the marker after the sorted column's text.
    static QStringList headerCaptions(int column, bool ascending);
    // The visible column under a header x position, given the widths of columns 0 to 2:
    // everything right of column 2 counts as column 3.
    static int columnAt(int x, const QList<int> &widths);
    // Keys that are numbers compare as numbers and come before text; text compares without
    // regard to case.
    static bool keyLess(const QString &a, const QString &b);
    // Stable sort of whole rows by the key of visible `column`.
    static void sortRows(QList<QStringList> &rows, int column, bool ascending);
};
