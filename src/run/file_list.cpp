#include "run/file_list.h"

#include <QCoreApplication>

#include <algorithm>

FileList::FileList(QObject *parent)
    : QAbstractListModel(parent)
{
}

int FileList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant FileList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
    case Qt::EditRole:
        return entries_[index.row()].path;
    default:
        return QVariant();
    }
}

QString FileList::path(int row) const
{
    return row >= 0 && row < count() ? entries_[row].path : QString();
}

QStringList FileList::paths() const
{
    QStringList out;
    out.reserve(count());
    for (const Entry &e : entries_)
        out << e.path;
    return out;
}

bool FileList::contains(const QString &path) const
{
    return pathCounts_.contains(path);
}

bool FileList::appendUnique(const QString &path)
{
    if (contains(path))
        return false;
    append(path);
    return true;
}

void FileList::append(const QString &path)
{
    beginInsertRows(QModelIndex(), count(), count());
    entries_.append(Entry {path, QString()});
    remember(path);
    endInsertRows();
}

int FileList::removeEntries(QList<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    int removed = 0;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        const int row = *it;
        if (row < 0 || row >= count())
            continue;
        if (removed_.size() >= kMaxRemovedEntries)
            removed_.removeFirst();
        beginRemoveRows(QModelIndex(), row, row);
        removed_.append(Removed {entries_.takeAt(row), row});
        forget(removed_.last().entry.path);
        endRemoveRows();
        ++removed;
    }
    return removed;
}

int FileList::undoRemovals()
{
    int restored = 0;
    while (!removed_.isEmpty()) {
        Removed r = removed_.takeLast();
        const int row = std::clamp(r.row, 0, count());
        beginInsertRows(QModelIndex(), row, row);
        entries_.insert(row, r.entry);
        remember(r.entry.path);
        endInsertRows();
        ++restored;
    }
    return restored;
}

void FileList::clear()
{
    beginResetModel();
    entries_.clear();
    removed_.clear();
    pathCounts_.clear();
    endResetModel();
}

void FileList::remember(const QString &path)
{
    ++pathCounts_[path];
}

void FileList::forget(const QString &path)
{
    auto it = pathCounts_.find(path);
    if (it != pathCounts_.end() && --it.value() <= 0)
        pathCounts_.erase(it);
}

QString FileList::caption(int row) const
{
    return row >= 0 && row < count() ? entries_[row].caption : QString();
}

void FileList::setCaption(int row, const QString &caption)
{
    if (row >= 0 && row < count())
        entries_[row].caption = caption;
}

QStringList FileList::captions() const
{
    QStringList out;
    out.reserve(count());
    for (const Entry &e : entries_)
        out << e.caption;
    return out;
}

QString FileList::countText() const
{
    return QCoreApplication::translate("tuvo", "图片数量:%1个").arg(count());
}
