#include "ui/file_list_view.h"

#include "ui/preview_canvas.h"

#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// Every entry is as wide as the view: a long path is shortened in the middle,
// so its folder's start and the file's name both stay in sight, instead of
// running past the right edge.
class ViewWideDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (const auto *view = qobject_cast<const QAbstractItemView *>(parent()))
            size.setWidth(qMax(1, view->viewport()->width()));
        return size;
    }
};

} // namespace

FileListView::FileListView(QWidget *parent)
    : QListView(parent)
{
    setObjectName(QStringLiteral("lstFile"));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideMiddle);
    setItemDelegate(new ViewWideDelegate(this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DropOnly);
    setAlternatingRowColors(true);
    setMouseTracking(true);
}

int FileListView::pageSize() const
{
    const int rowHeight = std::max(1, sizeHintForRow(0) > 0 ? sizeHintForRow(0) : fontMetrics().height());
    return std::max(1, viewport()->height() / rowHeight);
}

int FileListView::currentRow() const
{
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void FileListView::setCurrentRow(int row)
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return;
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

QList<int> FileListView::selectedRows() const
{
    QList<int> rows;
    if (!selectionModel())
        return rows;
    for (const QModelIndex &i : selectionModel()->selectedRows())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void FileListView::keyPressEvent(QKeyEvent *event)
{
    const int count = model() ? model()->rowCount() : 0;
    const int current = currentRow();
    switch (event->key()) {
    case Qt::Key_Delete:
        emit deleteRequested();
        return;
    case Qt::Key_Escape:
        emit undoRequested();
        return;
    case Qt::Key_Home:
        setCurrentRow(0);
        return;
    case Qt::Key_End:
        setCurrentRow(count - 1);
        return;
    case Qt::Key_PageUp:
        setCurrentRow(std::max(0, current - pageSize()));
        return;
    case Qt::Key_PageDown:
        setCurrentRow(std::min(count - 1, current + pageSize()));
        return;
    default:
        QListView::keyPressEvent(event);
    }
}

void FileListView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        const QModelIndex under = indexAt(event->position().toPoint());
        if (under.isValid() && !selectionModel()->isSelected(under))
            setCurrentRow(under.row());
        if (currentIndex().isValid())
            emit contextMenuRequested(event->globalPosition().toPoint());
        return;
    }
    QListView::mousePressEvent(event);
}

void FileListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptsPictureDrop(event->mimeData()))
        event->acceptProposedAction();
}

void FileListView::dragMoveEvent(QDragMoveEvent *event)
{
    if (acceptsPictureDrop(event->mimeData()))
        event->acceptProposedAction();
}

void FileListView::dropEvent(QDropEvent *event)
{
    if (!acceptsPictureDrop(event->mimeData()))
        return;
    emit dropped(event->mimeData());
    event->acceptProposedAction();
}
