#include "viewer/picture_placement.h"

#include <QtMath>

PicturePlacement fitToScreen(QSize picture, QSize screen)
{
    const qint64 w = picture.width(), h = picture.height();
    const qint64 sw = screen.width(), sh = screen.height();
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return {};
    // w / h >= sw / sh without division
    if (w * sh >= sw * h) {
        if (w > sw) {
            const int height = int(qRound64(double(sw * h) / double(w)));
            return {QRect(0, int((sh - height) / 2), int(sw), height), true};
        }
    } else if (h > sh) {
        const int width = int(qRound64(double(sh * w) / double(h)));
        return {QRect(int((sw - width) / 2), 0, width, int(sh)), true};
    }
    return {QRect(int((sw - w) / 2), int((sh - h) / 2), int(w), int(h)), false};
}

PicturePlacement ownSizePlacement(QSize picture, QSize screen)
{
    QRect area(QPoint(0, 0), picture);
    if (picture.height() < screen.height())
        area.moveTop((screen.height() - picture.height()) / 2);
    if (picture.width() < screen.width())
        area.moveLeft((screen.width() - picture.width()) / 2);
    return {area, false};
}

namespace {

int panAxis(int start, int length, int screenLength, int grab, int pointer)
{
    const int d = pointer - grab;
    if (d < 0 && start + length > screenLength)
        return start + d;
    if (d >= 0 && start < 0)
        return start + d;
    return start;
}

} // namespace

QPoint panStep(const QRect &area, QSize screen, QPoint grab, QPoint pointer)
{
    return {panAxis(area.left(), area.width(), screen.width(), grab.x(), pointer.x()),
        panAxis(area.top(), area.height(), screen.height(), grab.y(), pointer.y())};
}

QSize deviceIndependentSize(QSize picture, qreal devicePixelRatio)
{
    if (devicePixelRatio <= 0 || picture.isEmpty())
        return picture;
    return QSize(qMax(1, qRound(picture.width() / devicePixelRatio)),
        qMax(1, qRound(picture.height() / devicePixelRatio)));
}
