#pragma once

#include "features/files/DirListing.h"
#include "features/files/DirSort.h"

#include <QList>
#include <QObject>
#include <QStringList>

class InstrumentSession;
class Line;

// The instrument's directory as the file manager shows it: the rows of the last "Dir /V"
// listing (six cells each, in DirListing's column order), sorted as the operator chose. The
// window shows rows() and reports header clicks; the transfers read names and sizes here.
// Lives as long as the program, so the header clicked last is remembered when the window
// is closed and opened again.
class FileDirectory : public QObject
{
    Q_OBJECT
public:
    explicit FileDirectory(InstrumentSession &session, QObject *parent = nullptr);

    // The listing on the shared line (the Refresh button, the window's opening) or on the
    // line of an operation that owns it (after an upload or a deletion). The rows are then
    // sorted by the current sort. A refresh asked for while one is under way is ignored.
    void refresh();
    void refresh(Line &line);
    bool isRefreshing() const { return m_refreshing; }

    // A new window's starting order: by date, ascending.
    void resetSort() { m_sort = DirSort(); }
    // Sorts by visible `column` (0-3) and marks its header.
    void SortDirectory(int column, bool ascending);
    // A click on the header of visible `column`: a second click on the column clicked last
    // reverses the order.
    void headerClicked(int column);
    const DirSort &sortState() const { return m_sort; }
    QStringList headerCaptions() const;

    const QList<QStringList> &rows() const { return m_rows; }
    int fileCount() const { return int(m_rows.size()); }
    // Row `row` (from 0): the name column trimmed, and the size key (digits only, possibly
    // with leading blanks); empty beyond the rows.
    QString nameAt(int row) const;
    QString sizeKeyAt(int row) const;
    // Row `row` as the listing gave it; empty fields beyond the rows.
    DirListing::Row entryAt(int row) const;
    // The row of `name`, its case as the instrument wrote it aside; -1 when it is not listed.
    int rowOf(const QString &name) const;

signals:
    // A listing was asked for; the window shows it is waiting.
    void refreshStarted();
    // rows() changed: a listing came or the order changed. `freeLineSeen` after a listing:
    // its closing "bytes free" line was there.
    void rowsChanged();
    void refreshFinished(bool freeLineSeen);

private:
    QString cell(int row, int column) const;

    InstrumentSession &m_session;
    DirSort m_sort;
    int m_LastClickedColumn = 0;
    QList<QStringList> m_rows;
    bool m_refreshing = false;
};
