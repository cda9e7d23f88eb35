#pragma once

#include <QPoint>
#include <QRect>

// The rectangle dragged on the frozen screen: drawn from a press point, moved by
// dragging inside it, resized by eight handles, and always kept inside bounds.
// Widget-free so that its arithmetic can be tested on its own.
class CaptureSelection {
public:
    enum class Mode { Draw, Move }; // Draw: no rectangle yet; Move: one exists
    // Handles clockwise from the top-left corner.
    enum Handle {
        NoHandle = -1,
        TopLeft,
        Top,
        TopRight,
        Right,
        BottomRight,
        Bottom,
        BottomLeft,
        Left,
        HandleCount
    };

    explicit CaptureSelection(const QRect &bounds = QRect());

    QRect bounds() const { return bounds_; }
    Mode mode() const { return mode_; }
    bool isDragging() const { return drag_ != Drag::None; }
    // The selection, normalised; empty in mode Draw until the first drag.
    QRect rect() const;
    bool hasSelection() const { return mode_ == Mode::Move; }

    // Left button pressed, moved with the button down, released.
    void press(QPoint p);
    void drag(QPoint p);
    void release(QPoint p);
    // Forget the rectangle: mode Draw.
    void reset();

    // Where handle h sits (a small square centred on a corner or an edge middle).
    QRect handleRect(int h) const;
    // The handle under p in mode Move, or NoHandle.
    int handleAt(QPoint p) const;

    static constexpr int kHandleSize = 7;

private:
    enum class Drag { None, Drawing, Moving, Resizing };

    QPoint clamp(QPoint p) const;
    void setEdges(int left, int top, int right, int bottom);

    QRect bounds_;
    Mode mode_ = Mode::Draw;
    Drag drag_ = Drag::None;
    int handle_ = NoHandle;
    // Edges in screen pixels; right and bottom are one past the last pixel, so
    // width = right - left.
    int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
    QPoint anchor_; // the press point the drag started from
    QRect startRect_; // the rectangle when the drag started
};
