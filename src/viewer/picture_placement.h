#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the picture area sits on the screen and which of "适合屏幕" (fitted) and
// "原始大小" is checked.
struct PicturePlacement {
    QRect area;
    bool fitted = false;
};

// A picture's size in device-independent pixels on a screen with the given ratio
// of device pixels to them: at 2, a 200 × 200 picture covers 100 × 100, so that
// one picture pixel lands on one device pixel.
QSize deviceIndependentSize(QSize picture, qreal devicePixelRatio);

// ShowAll: a picture larger than the screen shrinks to fit, keeping its shape;
// a smaller one keeps its own size. Either way it is centred.
PicturePlacement fitToScreen(QSize picture, QSize screen);

// "原始大小": own size, centred in a dimension that fits, at the edge in one that
// does not (so that it can be panned).
PicturePlacement ownSizePlacement(QSize picture, QSize screen);

// One mouse move of a pan. grab is the press point and pointer the current point,
// both relative to the area's top-left corner; returns the area's new top-left.
// A side moves only while the picture still reaches past that screen edge.
QPoint panStep(const QRect &area, QSize screen, QPoint grab, QPoint pointer);
