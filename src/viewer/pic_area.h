#pragma once

#include "viewer/crop_selection.h"

#include <QImage>
#include <QWidget>

// The picture area: the shown picture stretched over the whole area, and in crop
// mode the selection with its handles over it.
class PicArea : public QWidget {
    Q_OBJECT
public:
    explicit PicArea(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    const QImage &image() const { return image_; }

    CropSelection &selection() { return selection_; }
    const CropSelection &selection() const { return selection_; }
    void setSelectionShown(bool shown);

    // The selection in the picture's own pixels.
    QRect selectionInPicture() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QImage image_;
    CropSelection selection_;
    bool selectionShown_ = false;
};
