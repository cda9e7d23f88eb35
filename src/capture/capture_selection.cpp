#include "capture/capture_selection.h"

#include <algorithm>

CaptureSelection::CaptureSelection(const QRect &bounds)
    : bounds_(bounds)
{
}

QRect CaptureSelection::rect() const
{
    return QRect(QPoint(left_, top_), QSize(right_ - left_, bottom_ - top_));
}

QPoint CaptureSelection::clamp(QPoint p) const
{
    // One past the last pixel is a valid edge.
    return QPoint(std::clamp(p.x(), bounds_.left(), bounds_.left() + bounds_.width()),
        std::clamp(p.y(), bounds_.top(), bounds_.top() + bounds_.height()));
}

void CaptureSelection::setEdges(int left, int top, int right, int bottom)
{
    left_ = std::min(left, right);
    right_ = std::max(left, right);
    top_ = std::min(top, bottom);
    bottom_ = std::max(top, bottom);
}

void CaptureSelection::reset()
{
    mode_ = Mode::Draw;
    drag_ = Drag::None;
    handle_ = NoHandle;
    left_ = top_ = right_ = bottom_ = 0;
}

void CaptureSelection::press(QPoint p)
{
    if (mode_ == Mode::Move) {
        const int h = handleAt(p);
        if (h != NoHandle) {
            drag_ = Drag::Resizing;
            handle_ = h;
            startRect_ = rect();
            return;
        }
        if (rect().contains(p)) {
            drag_ = Drag::Moving;
            anchor_ = p;
            startRect_ = rect();
            return;
        }
        // A press outside drops the old rectangle and starts a new one here.
        reset();
    }
    drag_ = Drag::Drawing;
    anchor_ = clamp(p);
    setEdges(anchor_.x(), anchor_.y(), anchor_.x(), anchor_.y());
}

void CaptureSelection::drag(QPoint p)
{
    switch (drag_) {
    case Drag::None:
        return;
    case Drag::Drawing: {
        const QPoint q = clamp(p);
        setEdges(anchor_.x(), anchor_.y(), q.x(), q.y());
        return;
    }
    case Drag::Moving: {
        const int w = startRect_.width();
        const int h = startRect_.height();
        const int maxLeft = bounds_.left() + bounds_.width() - w;
        const int maxTop = bounds_.top() + bounds_.height() - h;
        const int x = std::clamp(startRect_.left() + p.x() - anchor_.x(), bounds_.left(), maxLeft);
        const int y = std::clamp(startRect_.top() + p.y() - anchor_.y(), bounds_.top(), maxTop);
        setEdges(x, y, x + w, y + h);
        return;
    }
    case Drag::Resizing: {
        const QPoint q = clamp(p);
        int l = startRect_.left();
        int t = startRect_.top();
        int r = l + startRect_.width();
        int b = t + startRect_.height();
        if (handle_ == TopLeft || handle_ == Left || handle_ == BottomLeft)
            l = q.x();
        if (handle_ == TopRight || handle_ == Right || handle_ == BottomRight)
            r = q.x();
        if (handle_ == TopLeft || handle_ == Top || handle_ == TopRight)
            t = q.y();
        if (handle_ == BottomLeft || handle_ == Bottom || handle_ == BottomRight)
            b = q.y();
        setEdges(l, t, r, b);
        return;
    }
    }
}

void CaptureSelection::release(QPoint p)
{
    drag(p);
    drag_ = Drag::None;
    handle_ = NoHandle;
    // A click without a drag, or a rectangle squeezed to nothing, selects nothing.
    if (right_ > left_ && bottom_ > top_)
        mode_ = Mode::Move;
    else
        reset();
}

QRect CaptureSelection::handleRect(int h) const
{
    const int xs[3] = {left_, (left_ + right_) / 2, right_};
    const int ys[3] = {top_, (top_ + bottom_) / 2, bottom_};
    static const int column[HandleCount] = {0, 1, 2, 2, 2, 1, 0, 0};
    static const int row[HandleCount] = {0, 0, 0, 1, 2, 2, 2, 1};
    if (h < 0 || h >= HandleCount)
        return {};
    const int half = kHandleSize / 2;
    return QRect(xs[column[h]] - half, ys[row[h]] - half, kHandleSize, kHandleSize);
}

int CaptureSelection::handleAt(QPoint p) const
{
    if (mode_ != Mode::Move)
        return NoHandle;
    for (int h = 0; h < HandleCount; ++h) {
        if (handleRect(h).contains(p))
            return h;
    }
    return NoHandle;
}
