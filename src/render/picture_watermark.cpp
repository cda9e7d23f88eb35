#include "render/picture_watermark.h"

#include "imaging/colour_profiles.h"
#include "imaging/draw_image.h"
#include "imaging/picture_loader.h"
#include "render/layout.h"
#include "render/mark_position.h"
#include "render/texts.h"

#include <cmath>

QRectF placePictureMark(const JobSettings &job, QSize surfaceSize, QSize markSize, MarkPlacement &marks)
{
    const double W = surfaceSize.width();
    const double H = surfaceSize.height();
    marks.sngMarkW = float(markSize.width()) * job.sngMarkScale;
    marks.sngMarkH = float(markSize.height()) * job.sngMarkScale;
    const double w = marks.sngMarkW;
    const double h = marks.sngMarkH;

    QPointF corner;
    if (isPresetPosition(job.iuImgPos)) {
        corner = presetCorner(job.iuImgPos, QSizeF(W, H), QSizeF(w, h));
        marks.iuISyX = (corner.x() + w / 2) / W;
        marks.iuISyY = (corner.y() + h / 2) / H;
    } else {
        corner = QPointF(job.iuISyX * W - w / 2, job.iuISyY * H - h / 2);
        marks.iuISyX = job.iuISyX;
        marks.iuISyY = job.iuISyY;
    }
    marks.pictureDrawn = true;
    marks.pictureBox = QRectF(corner, QSizeF(w, h));
    return marks.pictureBox;
}

void drawPictureMark(const JobSettings &job, const QString &path, QImage &surface, RenderResult &result)
{
    if (surface.isNull() || job.sngMarkScale < 0)
        return;
    QSize wanted;
    if (const QSize own = probePictureSize(job.suISyF); own.isValid()) {
        wanted = QSize(
            int(std::ceil(own.width() * job.sngMarkScale)), int(std::ceil(own.height() * job.sngMarkScale)));
    }
    LoadedPicture mark = loadPicture(job.suISyF, wanted);
    if (!mark.ok()) {
        result.errorLines << texts::markError(path, mark.error);
        return;
    }
    bringIntoProfile(mark.image, mark.iccProfile, result.iccProfile);
    const QRectF box = placePictureMark(job, surface.size(), mark.originalSize, result.marks);
    const QRect target(
        roundEven(box.x()), roundEven(box.y()), roundEven(box.width()), roundEven(box.height()));
    const double scale = double(mark.image.width()) / double(mark.originalSize.width());
    drawImageRectRect(surface, mark.image, QRectF(QPointF(0, 0), QSizeF(mark.originalSize)), target,
        job.sngMarkMatrix, scale);
}
