#include "ui/files/FileTransferForm.h"

#include "features/files/DirListing.h"
#include "session/InstrumentSession.h"
#include "support/PathUtilities.h"
#include "support/SettingsKeys.h"
#include "support/Twips.h"
#include "ui/widgets/FormSettings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>

namespace
{
// Geometry in twips.
constexpr int kMargin = 60;
constexpr int kGridExtra = 260;
constexpr int kGridMinHeight = 200;
constexpr int kGridToFrame = 180;
constexpr int kButtonGap = 120;
constexpr int kButtonWidth = 1500;
constexpr int kButtonHeight = 375;
constexpr int kButtonSpacing = 90;
constexpr int kFrameHeight = 960;
constexpr int kWindowHeight = 5400;

// The header texts before the first sort, padded to set the starting column widths.
struct StartingHeader {
    const char *text;
    int width;
};
constexpr StartingHeader kStartingHeaders[DirSort::kVisibleColumns] = {
    {QT_TRANSLATE_NOOP("FileTransferForm", "File name"), 24},
    {QT_TRANSLATE_NOOP("FileTransferForm", "Date"), 29},
    {QT_TRANSLATE_NOOP("FileTransferForm", "Size"), 23},
    {QT_TRANSLATE_NOOP("FileTransferForm", "Type"), 12}};

constexpr Qt::Alignment kColumnAlignment[DirListing::ColumnCount] = {
    Qt::AlignLeft,    Qt::AlignHCenter, Qt::AlignRight,
    Qt::AlignHCenter, Qt::AlignLeft,    Qt::AlignLeft};

QPushButton *namedButton(const QString &caption, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}
} // namespace

FileTransferForm::FileTransferForm(FileDirectory &directory, InstrumentSession &session,
                                   QWidget *parent)
    : QWidget(parent, Qt::Window), m_directory(directory), m_session(session)
{
    setObjectName(QLatin1String(SettingsKeys::kFileTransferFormSection));
    setWindowTitle(tr("Files in Orvantis Memory"));
    if (parent)
        setWindowIcon(parent->window()->windowIcon());
    buildControls();
    buildGrid();
    resize(px(kMargin + kButtonGap + kButtonWidth + kMargin) + m_DirGrid->width(),
           px(kWindowHeight));
    placeControls();

    RestoreFormPosition(this, SettingsKeys::kFileTransferSection);
    RestoreFormSettings(this);

    m_directory.resetSort();
    m_SavePathLabel->setText(PathForDisplay(m_session.DefaultDataFolder()));
    setFileButtonsEnabled(false);
    connect(&m_directory, &FileDirectory::refreshStarted, this, &FileTransferForm::refreshStarted);
    connect(&m_directory, &FileDirectory::rowsChanged, this, &FileTransferForm::showRows);
    connect(&m_directory, &FileDirectory::refreshFinished, this,
            &FileTransferForm::refreshFinished);
}

int FileTransferForm::px(int twips) const
{
    return Twips::toPixels(float(twips), logicalDpiY());
}

void FileTransferForm::buildControls()
{
    m_GetFilesButton = namedButton(tr("Get Files"), "GetFilesButton", this);
    m_SendFileButton = namedButton(tr("Send File..."), "SendFileButton", this);
    m_DeleteButton = namedButton(tr("Delete Files"), "DeleteButton", this);
    m_RefreshButton = namedButton(tr("Refresh"), "RefreshButton", this);
    m_CloseButton = namedButton(tr("Close"), "CloseButton", this);
    m_ProgressLabel = new QLabel(this);
    m_ProgressLabel->setObjectName(QStringLiteral("ProgressLabel"));
    m_ProgressLabel->setWordWrap(true);
    m_ProgressLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_DestFrame = new QGroupBox(tr("Location for Saved Files"), this);
    m_DestFrame->setObjectName(QStringLiteral("DestFrame"));
    m_SavePathLabel = new QLabel(m_DestFrame);
    m_SavePathLabel->setObjectName(QStringLiteral("SavePathLabel"));
    m_SavePathLabel->setWordWrap(true);
    m_SetDirButton = namedButton(tr("Browse..."), "SetDirButton", m_DestFrame);
    auto *frameLayout = new QHBoxLayout(m_DestFrame);
    frameLayout->addWidget(m_SavePathLabel, 1);
    frameLayout->addWidget(m_SetDirButton, 0, Qt::AlignVCenter);

    connect(m_GetFilesButton, &QPushButton::clicked, this, &FileTransferForm::getFilesRequested);
    connect(m_SendFileButton, &QPushButton::clicked, this, &FileTransferForm::sendFileRequested);
    connect(m_DeleteButton, &QPushButton::clicked, this, &FileTransferForm::deleteFilesRequested);
    connect(m_RefreshButton, &QPushButton::clicked, this, &FileTransferForm::RefreshDirectory);
    connect(m_CloseButton, &QPushButton::clicked, this, &FileTransferForm::CloseButton_Click);
    connect(m_SetDirButton, &QPushButton::clicked, this, &FileTransferForm::setDirRequested);
}

void FileTransferForm::buildGrid()
{
    m_DirGrid = new QTableWidget(0, DirListing::ColumnCount, this);
    m_DirGrid->setObjectName(QStringLiteral("DirGrid"));
    m_DirGrid->setFont(QFont(QStringLiteral("Tahoma"), m_DirGrid->font().pointSize()));
    m_DirGrid->verticalHeader()->hide();
    m_DirGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_DirGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_DirGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_DirGrid->setWordWrap(false);
    m_DirGrid->setSortingEnabled(false);

    QHeaderView *header = m_DirGrid->horizontalHeader();
    // A header click sorts (handled here); the view must not select a column for it.
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->viewport()->installEventFilter(this);

    const QFontMetrics metrics(m_DirGrid->font());
    const int cellPadding = 2 * m_DirGrid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 6;
    int width = 0;
    for (int column = 0; column < DirSort::kVisibleColumns; ++column) {
        const QString text =
            tr(kStartingHeaders[column].text).leftJustified(kStartingHeaders[column].width);
        auto *item = new QTableWidgetItem(text);
        item->setTextAlignment(kColumnAlignment[column] | Qt::AlignVCenter);
        m_DirGrid->setHorizontalHeaderItem(column, item);
        const int columnWidth = metrics.horizontalAdvance(text) + cellPadding;
        m_DirGrid->setColumnWidth(column, columnWidth);
        width += columnWidth;
    }
    m_DirGrid->setHorizontalHeaderItem(DirListing::DateKeyColumn, new QTableWidgetItem);
    m_DirGrid->setHorizontalHeaderItem(DirListing::SizeKeyColumn, new QTableWidgetItem);
    m_DirGrid->setColumnHidden(DirListing::DateKeyColumn, true);
    m_DirGrid->setColumnHidden(DirListing::SizeKeyColumn, true);
    m_DirGrid->setFixedWidth(width + px(kGridExtra) + 2 * m_DirGrid->frameWidth());

    connect(m_DirGrid, &QTableWidget::itemSelectionChanged, this,
            &FileTransferForm::selectionChanged);
    connect(m_DirGrid, &QTableWidget::cellClicked, this, &FileTransferForm::selectionChanged);
}

// The grid grows and shrinks with the window's height, with the download folder frame held
// at the bottom; widths stay as built.
void FileTransferForm::placeControls()
{
    const int frameHeight = px(kFrameHeight);
    const int gridHeight = qMax(px(kGridMinHeight), height() - frameHeight - px(kGridToFrame));
    m_DirGrid->setGeometry(px(kMargin), px(kMargin), m_DirGrid->width(), gridHeight);

    const int buttonLeft = px(kMargin) + m_DirGrid->width() + px(kButtonGap);
    int top = px(kMargin);
    for (QPushButton *button :
         {m_GetFilesButton, m_SendFileButton, m_DeleteButton, m_RefreshButton, m_CloseButton}) {
        button->setGeometry(buttonLeft, top, px(kButtonWidth), px(kButtonHeight));
        top += px(kButtonHeight + kButtonSpacing);
    }
    m_ProgressLabel->setGeometry(buttonLeft, top, px(kButtonWidth), 3 * px(kButtonHeight));

    m_DestFrame->setGeometry(px(kMargin), height() - frameHeight - px(kMargin),
                             buttonLeft + px(kButtonWidth) - px(kMargin), frameHeight);
}

void FileTransferForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeControls();
}

void FileTransferForm::openWindow()
{
    if (!m_loaded) {
        m_loaded = true;
        m_SavePathLabel->setText(PathForDisplay(m_session.DefaultDataFolder()));
        show();
        RefreshDirectory();
    } else {
        show();
        raise();
        activateWindow();
    }
}

void FileTransferForm::RefreshDirectory()
{
    m_directory.refresh();
}

void FileTransferForm::refreshStarted()
{
    setHourglass(true);
    m_DirGrid->setEnabled(false);
}

void FileTransferForm::refreshFinished(bool freeLineSeen)
{
    if (freeLineSeen)
        setHourglass(false);
    m_DirGrid->setEnabled(true);
}

// The directory's rows, in its order, with no file selected.
void FileTransferForm::showRows()
{
    const QList<QStringList> &rows = m_directory.rows();
    m_DirGrid->clearSelection();
    m_DirGrid->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        const QStringList &cells = rows.at(row);
        for (int column = 0; column < DirListing::ColumnCount; ++column) {
            const QString text = column < cells.size() ? cells.at(column) : QString();
            if (QTableWidgetItem *item = m_DirGrid->item(row, column)) {
                item->setText(text);
                continue;
            }
            auto *item = new QTableWidgetItem(text);
            item->setTextAlignment(kColumnAlignment[column] | Qt::AlignVCenter);
            m_DirGrid->setItem(row, column, item);
        }
    }
    const QStringList captions = m_directory.headerCaptions();
    for (int i = 0; i < captions.size(); ++i)
        m_DirGrid->horizontalHeaderItem(i)->setText(captions.at(i));
    clearFileSelection();
    selectionChanged();
}

void FileTransferForm::SortDirectory(int column, bool ascending)
{
    m_directory.SortDirectory(column, ascending);
}

bool FileTransferForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_DirGrid->horizontalHeader()->viewport()) {
        const int offset = m_DirGrid->horizontalHeader()->offset();
        if (event->type() == QEvent::MouseButtonPress) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            m_mouseDown = mouse->position().toPoint() + QPoint(offset, 0);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const QPoint up = mouse->position().toPoint() + QPoint(offset, 0);
            // A drag on a column border resizes the column; only a click sorts.
            if (mouse->button() == Qt::LeftButton &&
                (up - m_mouseDown).manhattanLength() < QApplication::startDragDistance())
                headerClick(m_mouseDown.x());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FileTransferForm::headerClick(int x)
{
    QList<int> widths;
    for (int column = 0; column < DirSort::kVisibleColumns - 1; ++column)
        widths << m_DirGrid->columnWidth(column);
    m_directory.headerClicked(DirSort::columnAt(x, widths));
}

void FileTransferForm::selectionChanged()
{
    if (m_TransferBusy)
        return;
    int first = 0;
    int last = 0;
    setFileButtonsEnabled(selectedRows(first, last));
}

void FileTransferForm::CloseButton_Click()
{
    if (m_TransferBusy)
        m_session.setTransferCancelled(true);
    else
        close();
}

void FileTransferForm::closeEvent(QCloseEvent *event)
{
    // The running operation still uses this window: closing it asks the operation to stop.
    if (m_TransferBusy) {
        m_session.setTransferCancelled(true);
        event->ignore();
        return;
    }
    SaveFormSettings(this);
    SaveFormPosition(this, SettingsKeys::kFileTransferSection);
    event->accept();
}

void FileTransferForm::setTransferBusy(bool busy)
{
    m_TransferBusy = busy;
    m_CloseButton->setText(busy ? tr("Stop") : tr("Close"));
}

void FileTransferForm::setFileButtonsEnabled(bool enabled)
{
    m_fileButtonsWanted = enabled;
    applyButtons();
}

void FileTransferForm::setLineFree(bool free)
{
    m_lineFree = free;
    applyButtons();
}

void FileTransferForm::applyButtons()
{
    m_GetFilesButton->setEnabled(m_fileButtonsWanted && m_lineFree);
    m_DeleteButton->setEnabled(m_fileButtonsWanted && m_lineFree);
    m_SendFileButton->setEnabled(m_lineFree);
    m_RefreshButton->setEnabled(m_lineFree);
}

void FileTransferForm::setProgressText(const QString &text)
{
    m_ProgressLabel->setText(text);
}

// The window's own pointer, so a listing without its closing line cannot leave the
// hourglass over the whole program.
void FileTransferForm::setHourglass(bool on)
{
    if (on == m_hourglass)
        return;
    m_hourglass = on;
    if (on)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

int FileTransferForm::fileCount() const
{
    return m_DirGrid->rowCount();
}

bool FileTransferForm::selectedRows(int &first, int &last) const
{
    const QList<QTableWidgetSelectionRange> ranges = m_DirGrid->selectedRanges();
    if (ranges.isEmpty())
        return false;
    first = ranges.first().topRow();
    last = ranges.first().bottomRow();
    for (const QTableWidgetSelectionRange &range : ranges) {
        first = qMin(first, range.topRow());
        last = qMax(last, range.bottomRow());
    }
    return true;
}

QString FileTransferForm::fileNameAt(int row) const
{
    const QTableWidgetItem *item = m_DirGrid->item(row, DirListing::NameColumn);
    return item ? item->text().trimmed() : QString();
}

void FileTransferForm::selectRows(int first, int last)
{
    if (first > last)
        std::swap(first, last);
    first = qMax(first, 0);
    last = qMin(last, fileCount() - 1);
    m_DirGrid->clearSelection();
    if (first > last)
        return;
    m_DirGrid->selectionModel()->setCurrentIndex(m_DirGrid->model()->index(first, 0),
                                                 QItemSelectionModel::NoUpdate);
    m_DirGrid->setRangeSelected(
        QTableWidgetSelectionRange(first, 0, last, DirSort::kVisibleColumns - 1), true);
}

void FileTransferForm::clearFileSelection()
{
    m_DirGrid->clearSelection();
    m_DirGrid->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}
