#include "ui/preview_canvas.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QWheelEvent>

PreviewCanvas::PreviewCanvas(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("picView"));
    setAcceptDrops(true);
    setMinimumSize(240, 180);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::ClickFocus);
}

void PreviewCanvas::setImage(const QImage &image)
{
    image_ = image;
    unavailable_.clear();
    update();
}

void PreviewCanvas::clearImage()
{
    setImage(QImage());
}

void PreviewCanvas::showUnavailable(const QString &reason)
{
    image_ = QImage();
    unavailable_ = QCoreApplication::translate("tuvo", "无法显示该图片");
    if (!reason.trimmed().isEmpty())
        unavailable_ += QLatin1Char('\n') + reason.trimmed();
    update();
}

void PreviewCanvas::setBusy(bool busy)
{
    if (busy_ == busy)
        return;
    busy_ = busy;
    update();
}

QSize PreviewCanvas::fittedSize(QSize picture, QSize bounds)
{
    if (picture.isEmpty() || bounds.isEmpty())
        return QSize();
    if (picture.width() <= bounds.width() && picture.height() <= bounds.height())
        return picture;
    return picture.scaled(bounds, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

QRect PreviewCanvas::pictureRect() const
{
    // Fitted in device pixels, so that on a scaled screen a picture that fits is
    // shown one picture pixel to one device pixel, as sharp as it will be written.
    const QRect area = rect().adjusted(8, 8, -8, -8);
    const qreal ratio = devicePixelRatioF();
    const QSize deviceArea(qRound(area.width() * ratio), qRound(area.height() * ratio));
    const QSize deviceSize = fittedSize(image_.size(), deviceArea);
    if (deviceSize.isEmpty())
        return QRect();
    const QSize s(qMax(1, qRound(deviceSize.width() / ratio)), qMax(1, qRound(deviceSize.height() / ratio)));
    return QRect(area.x() + (area.width() - s.width()) / 2, area.y() + (area.height() - s.height()) / 2,
        s.width(), s.height());
}

void PreviewCanvas::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // A quiet checker-free backdrop, a shade darker than the window, frames the picture.
    p.fillRect(rect(), palette().color(QPalette::Dark).lighter(135));
    if (image_.isNull()) {
        p.setPen(palette().color(QPalette::Mid).darker(130));
        const QString text = !unavailable_.isEmpty()
            ? unavailable_
            : QCoreApplication::translate(
                "tuvo", "添加图片后，这里显示处理后的效果\n（滚动鼠标滚轮可切换列表中的图片）");
        p.drawText(rect().adjusted(16, 16, -16, -16), Qt::AlignCenter | Qt::TextWordWrap, text);
        return;
    }
    const QRect r = pictureRect();
    p.fillRect(r.translated(3, 3), QColor(0, 0, 0, 40));
    const qreal ratio = devicePixelRatioF();
    p.setRenderHint(QPainter::SmoothPixmapTransform,
        QSize(qRound(r.width() * ratio), qRound(r.height() * ratio)) != image_.size());
    p.drawImage(r, image_);
    if (busy_) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 110));
        const QRect badge(r.right() - 70, r.top() + 6, 64, 22);
        p.drawRoundedRect(badge, 4, 4);
        p.setPen(Qt::white);
        p.drawText(badge, Qt::AlignCenter, QCoreApplication::translate("tuvo", "更新中…"));
    }
}

void PreviewCanvas::wheelEvent(QWheelEvent *event)
{
    // Only plain wheel turns step the list; with a key or button held they do nothing.
    if (event->modifiers() != Qt::NoModifier || event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    wheelRemainder_ += event->angleDelta().y();
    while (wheelRemainder_ <= -120) {
        wheelRemainder_ += 120;
        emit stepRequested(1);
    }
    while (wheelRemainder_ >= 120) {
        wheelRemainder_ -= 120;
        emit stepRequested(-1);
    }
    event->accept();
}

void PreviewCanvas::contextMenuEvent(QContextMenuEvent *event)
{
    emit contextMenuRequested(event->globalPos());
}

bool acceptsPictureDrop(const QMimeData *data)
{
    return data && (data->hasImage() || data->hasUrls());
}

void PreviewCanvas::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptsPictureDrop(event->mimeData()))
        event->acceptProposedAction();
}

void PreviewCanvas::dragMoveEvent(QDragMoveEvent *event)
{
    if (acceptsPictureDrop(event->mimeData()))
        event->acceptProposedAction();
}

void PreviewCanvas::dropEvent(QDropEvent *event)
{
    if (!acceptsPictureDrop(event->mimeData()))
        return;
    emit dropped(event->mimeData());
    event->acceptProposedAction();
}
