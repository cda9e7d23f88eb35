#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The list of pictures a run processes (lstFile), with the undo record of
// removals. Each entry carries its caption, so a caption stays with its picture
// when entries before it are removed or restored.
class FileList : public QAbstractListModel {
    Q_OBJECT
public:
    // Removals kept for undo; a further removal drops the oldest record.
    static constexpr int kMaxRemovedEntries = 501;

    explicit FileList(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    int count() const { return int(entries_.size()); }
    bool isEmpty() const { return entries_.isEmpty(); }
    QString path(int row) const;
    QStringList paths() const;
    bool contains(const QString &path) const; // exact, case-sensitive

    // Appends unless an equal entry exists; true when appended.
    bool appendUnique(const QString &path);
    // Appends without the duplicate test (dropped bitmaps, crops, the command line).
    void append(const QString &path);

    // Removes the given rows, recording each for undo (last row first). Returns how
    // many were removed.
    int removeEntries(QList<int> rows);
    // Re-inserts the recorded removals, newest first, each at its former row; a
    // row beyond the end appends. Returns how many came back.
    int undoRemovals();
    bool canUndo() const { return !removed_.isEmpty(); }
    // Empties the list and the undo record.
    void clear();

    QString caption(int row) const;
    void setCaption(int row, const QString &caption);
    // Captions by list position, as the PDF step reads them.
    QStringList captions() const;

    // "图片数量:" + count + "个"
    QString countText() const;

private:
    struct Entry {
        QString path;
        QString caption;
    };
    struct Removed {
        Entry entry;
        int row = 0;
    };

    void remember(const QString &path);
    void forget(const QString &path);

    QList<Entry> entries_;
    QHash<QString, int> pathCounts_; // makes the duplicate test cheap on long lists
    QList<Removed> removed_;
};
