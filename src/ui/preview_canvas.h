#pragma once

#include <QImage>
#include <QWidget>

// The preview canvas: shows the rendered work surface scaled to fit while keeping
// its proportions, centred, never enlarged. The wheel steps through the file list
// (one notch towards the user is the next picture), drops go to the window.
class PreviewCanvas : public QWidget {
    Q_OBJECT
public:
    explicit PreviewCanvas(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    // Hides the picture (an empty list).
    void clearImage();
    // Hides the picture and says it cannot be shown, and why (a failed render).
    void showUnavailable(const QString &reason);
    QString unavailableText() const { return unavailable_; }
    const QImage &image() const { return image_; }
    bool hasImage() const { return !image_.isNull(); }
    void setBusy(bool busy);

    // Where the picture is drawn inside the canvas, in widget coordinates.
    QRect pictureRect() const;
    // Fit rule alone: size scaled into bounds keeping proportions, never enlarged.
    static QSize fittedSize(QSize picture, QSize bounds);

signals:
    void stepRequested(int delta); // +1 next entry, -1 previous entry
    void contextMenuRequested(const QPoint &globalPos);
    void dropped(const class QMimeData *data);

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QImage image_;
    QString unavailable_; // shown instead of the picture when not empty
    bool busy_ = false;
    int wheelRemainder_ = 0;
};

// True when a drop carries something the file list takes: files or a bitmap.
bool acceptsPictureDrop(const class QMimeData *data);
