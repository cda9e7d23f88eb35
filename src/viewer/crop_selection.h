#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <Qt>

// The crop rectangle over the picture area, in area coordinates, with its eight
// sizing handles. A drag either draws a new rectangle, moves one or two sides by a
// handle, or moves the whole rectangle; the rectangle never leaves the bounds.
class CropSelection {
public:
    // Handles in clockwise order from the top-left corner.
    enum Handle { None = -1, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };
    static constexpr int kHandleSize = 8;

    void setBounds(const QRect &bounds) { bounds_ = bounds; }
    QRect bounds() const { return bounds_; }

    bool isEmpty() const { return rect_.isEmpty(); }
    QRect rect() const { return rect_; }
    void setRect(const QRect &r);
    void clear();

    // The eight handle squares, centred on the corners and the middles of the sides.
    QList<QRect> handleRects() const;
    Handle handleAt(QPoint p) const;
    bool contains(QPoint p) const { return !isEmpty() && rect_.contains(p); }
    static Qt::CursorShape cursorFor(Handle h);

    // A press starts a drag: on a handle it resizes, inside the rectangle it moves
    // it, anywhere else it starts a new rectangle.
    void beginDrag(QPoint p);
    void dragTo(QPoint p);
    void endDrag() { dragging_ = false; }
    bool isDragging() const { return dragging_; }

private:
    enum class Drag { New, Resize, Move };

    QRect bounds_;
    QRect rect_;
    bool dragging_ = false;
    Drag drag_ = Drag::New;
    Handle handle_ = None;
    QPoint start_;
    QRect startRect_;
};
