#include "viewer/crop_selection.h"

#include <algorithm>

namespace {

QRect fromEdges(int left, int top, int right, int bottom)
{
    return QRect(
        std::min(left, right), std::min(top, bottom), std::abs(right - left), std::abs(bottom - top));
}

QPoint clampPoint(QPoint p, const QRect &bounds)
{
    if (bounds.isEmpty())
        return p;
    return {std::clamp(p.x(), bounds.left(), bounds.left() + bounds.width()),
        std::clamp(p.y(), bounds.top(), bounds.top() + bounds.height())};
}

} // namespace

void CropSelection::setRect(const QRect &r)
{
    rect_ = bounds_.isEmpty() ? r.normalized() : r.normalized().intersected(bounds_);
}

void CropSelection::clear()
{
    rect_ = QRect();
    dragging_ = false;
}

QList<QRect> CropSelection::handleRects() const
{
    if (isEmpty())
        return {};
    const int l = rect_.left(), t = rect_.top();
    const int r = l + rect_.width(), b = t + rect_.height();
    const int cx = l + rect_.width() / 2, cy = t + rect_.height() / 2;
    const QPoint centres[] = {{l, t}, {cx, t}, {r, t}, {r, cy}, {r, b}, {cx, b}, {l, b}, {l, cy}};
    QList<QRect> handles;
    for (const QPoint &c : centres)
        handles << QRect(c.x() - kHandleSize / 2, c.y() - kHandleSize / 2, kHandleSize, kHandleSize);
    return handles;
}

CropSelection::Handle CropSelection::handleAt(QPoint p) const
{
    const QList<QRect> handles = handleRects();
    for (int i = 0; i < handles.size(); ++i) {
        if (handles[i].adjusted(-1, -1, 1, 1).contains(p))
            return Handle(i);
    }
    return None;
}

Qt::CursorShape CropSelection::cursorFor(Handle h)
{
    switch (h) {
    case TopLeft:
    case BottomRight:
        return Qt::SizeFDiagCursor;
    case TopRight:
    case BottomLeft:
        return Qt::SizeBDiagCursor;
    case Top:
    case Bottom:
        return Qt::SizeVerCursor;
    case Left:
    case Right:
        return Qt::SizeHorCursor;
    case None:
        break;
    }
    return Qt::CrossCursor;
}

void CropSelection::beginDrag(QPoint p)
{
    dragging_ = true;
    start_ = clampPoint(p, bounds_);
    startRect_ = rect_;
    handle_ = handleAt(p);
    if (handle_ != None) {
        drag_ = Drag::Resize;
    } else if (contains(p)) {
        drag_ = Drag::Move;
    } else {
        drag_ = Drag::New;
        rect_ = QRect(start_, QSize(0, 0));
    }
}

void CropSelection::dragTo(QPoint p)
{
    if (!dragging_)
        return;
    const QPoint q = clampPoint(p, bounds_);
    switch (drag_) {
    case Drag::New:
        rect_ = fromEdges(start_.x(), start_.y(), q.x(), q.y());
        break;
    case Drag::Resize: {
        int l = startRect_.left(), t = startRect_.top();
        int r = l + startRect_.width(), b = t + startRect_.height();
        if (handle_ == TopLeft || handle_ == Left || handle_ == BottomLeft)
            l = q.x();
        if (handle_ == TopRight || handle_ == Right || handle_ == BottomRight)
            r = q.x();
        if (handle_ == TopLeft || handle_ == Top || handle_ == TopRight)
            t = q.y();
        if (handle_ == BottomLeft || handle_ == Bottom || handle_ == BottomRight)
            b = q.y();
        rect_ = fromEdges(l, t, r, b);
        break;
    }
    case Drag::Move: {
        QRect moved = startRect_.translated(p - start_);
        if (!bounds_.isEmpty()) {
            const int right = bounds_.left() + bounds_.width(), bottom = bounds_.top() + bounds_.height();
            moved.moveLeft(
                std::clamp(moved.left(), bounds_.left(), std::max(bounds_.left(), right - moved.width())));
            moved.moveTop(
                std::clamp(moved.top(), bounds_.top(), std::max(bounds_.top(), bottom - moved.height())));
        }
        rect_ = moved;
        break;
    }
    }
}
