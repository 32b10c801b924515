#include "features/files/FileDirectory.h"

#include "session/InstrumentSession.h"

#include <QScopedValueRollback>

FileDirectory::FileDirectory(InstrumentSession &session, QObject *parent)
    : QObject(parent), m_session(session)
{
}

void FileDirectory::refresh()
{
    refresh(m_session.line());
}

void FileDirectory::refresh(Line &line)
{
    if (m_refreshing)
        return;
    const QScopedValueRollback<bool> refreshing(m_refreshing, true);
    emit refreshStarted();
    const QByteArray reply = line.SendCommand(DirListing::kCommand, DirListing::kStartMarker,
                                              DirListing::kEndMarker, DirListing::kTimeoutSeconds);
    bool freeLineSeen = false;
    const QList<DirListing::Row> rows = DirListing::parse(reply, &freeLineSeen);
    m_rows.clear();
    m_rows.reserve(rows.size());
    for (const DirListing::Row &row : rows)
        m_rows << row.cells();
    DirSort::sortRows(m_rows, m_sort.SortColumn, m_sort.SortAscending);
    emit rowsChanged();
    emit refreshFinished(freeLineSeen);
}

void FileDirectory::SortDirectory(int column, bool ascending)
{
    m_sort.SortColumn = qBound(0, column, DirSort::kVisibleColumns - 1);
    m_sort.SortKeyColumn = DirSort::keyColumn(m_sort.SortColumn);
    m_sort.SortAscending = ascending;
    DirSort::sortRows(m_rows, m_sort.SortColumn, ascending);
    emit rowsChanged();
}

void FileDirectory::headerClicked(int column)
{
    m_sort.headerClicked(column, m_LastClickedColumn);
    SortDirectory(m_sort.SortColumn, m_sort.SortAscending);
}

QStringList FileDirectory::headerCaptions() const
{
    return DirSort::headerCaptions(m_sort.SortColumn, m_sort.SortAscending);
}

QString FileDirectory::cell(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column >= m_rows.at(row).size())
        return QString();
    return m_rows.at(row).at(column);
}

QString FileDirectory::nameAt(int row) const
{
    return cell(row, DirListing::NameColumn).trimmed();
}

QString FileDirectory::sizeKeyAt(int row) const
{
    return cell(row, DirListing::SizeKeyColumn);
}

DirListing::Row FileDirectory::entryAt(int row) const
{
    return DirListing::Row::fromCells(m_rows.value(row));
}

int FileDirectory::rowOf(const QString &name) const
{
    for (int row = 0; row < fileCount(); ++row) {
        if (nameAt(row).compare(name, Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}
