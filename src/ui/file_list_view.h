#pragma once

#include <QListView>

class QMimeData;

// lstFile: the file list's view. Delete removes, Esc undoes, Home/End/PageUp/
// PageDown move the current entry by whole pages, the right button opens the
// list menu while an entry is current, files and bitmaps can be dropped on it.
class FileListView : public QListView {
    Q_OBJECT
public:
    explicit FileListView(QWidget *parent = nullptr);

    // Entries that fit in the view's height.
    int pageSize() const;
    void setCurrentRow(int row);
    int currentRow() const;
    QList<int> selectedRows() const;

signals:
    void deleteRequested();
    void undoRequested();
    void contextMenuRequested(const QPoint &globalPos);
    void dropped(const QMimeData *data);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
