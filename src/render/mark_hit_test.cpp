#include "render/mark_hit_test.h"

MarkHit PinRect(const QPointF &point, const QRectF &shown, QSize surfaceSize, const MarkPlacement &marks,
    JobSettings &job)
{
    if (surfaceSize.isEmpty() || shown.isEmpty())
        return MarkHit::None;
    const double sx = shown.width() / surfaceSize.width();
    const double sy = shown.height() / surfaceSize.height();
    const auto toPreview = [&](const QRectF &r) {
        return QRectF(shown.x() + r.x() * sx, shown.y() + r.y() * sy, r.width() * sx, r.height() * sy);
    };

    if (marks.textDrawn) {
        const QRectF &t = marks.textBox;
        const QRectF grip(t.x() - t.width() / 4, t.y(), t.width() * 5 / 4, t.height());
        if (toPreview(grip).contains(point)) {
            job.iuTxtPos = kCustom;
            return MarkHit::Text;
        }
    }
    if (marks.pictureDrawn) {
        const double cx = marks.iuISyX * surfaceSize.width();
        const double cy = marks.iuISyY * surfaceSize.height();
        const QRectF box(cx - marks.sngMarkW / 2, cy - marks.sngMarkH / 2, marks.sngMarkW, marks.sngMarkH);
        if (toPreview(box).contains(point)) {
            job.iuImgPos = kCustom;
            return MarkHit::Picture;
        }
    }
    return MarkHit::None;
}
