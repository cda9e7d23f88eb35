#include "viewer/pic_area.h"

#include <QPainter>
#include <QPainterPath>

PicArea::PicArea(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PicArea::setImage(const QImage &image)
{
    image_ = image;
    update();
}

void PicArea::setSelectionShown(bool shown)
{
    selectionShown_ = shown;
    update();
}

QRect PicArea::selectionInPicture() const
{
    if (selection_.isEmpty() || image_.isNull() || width() <= 0 || height() <= 0)
        return {};
    const double sx = double(image_.width()) / width(), sy = double(image_.height()) / height();
    const QRect r = selection_.rect();
    const int left = qRound(r.left() * sx), top = qRound(r.top() * sy);
    const int right = qRound((r.left() + r.width()) * sx), bottom = qRound((r.top() + r.height()) * sy);
    return QRect(left, top, right - left, bottom - top).intersected(image_.rect());
}

void PicArea::resizeEvent(QResizeEvent *event)
{
    selection_.setBounds(rect());
    QWidget::resizeEvent(event);
}

void PicArea::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // Smoothing only where picture pixels and device pixels do not meet one to one.
    const QSize devicePixels(qRound(width() * devicePixelRatioF()), qRound(height() * devicePixelRatioF()));
    p.setRenderHint(QPainter::SmoothPixmapTransform, devicePixels != image_.size());
    p.drawImage(rect(), image_);
    if (!selectionShown_ || selection_.isEmpty())
        return;

    // Dim what the crop leaves out, then the frame and its handles.
    const QRect r = selection_.rect();
    QPainterPath outside;
    outside.addRect(rect());
    outside.addRect(r);
    p.fillPath(outside, QColor(0, 0, 0, 110));
    p.setPen(QPen(Qt::white, 1, Qt::SolidLine));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(QPen(Qt::black, 1));
    for (const QRect &h : selection_.handleRects()) {
        p.fillRect(h, Qt::white);
        p.drawRect(h.adjusted(0, 0, -1, -1));
    }
}
