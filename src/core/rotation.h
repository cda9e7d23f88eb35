#pragma once

#include "core/pixel_rows.h"

// What the rotation menu does to a picture.
enum class Turn {
    None,
    Clockwise, // quarter turn; width and height swap
    CounterClockwise, // quarter turn; width and height swap
    HalfTurn,
    FlipTopBottom, // mirror in the horizontal centre line
    FlipLeftRight, // mirror in the vertical centre line
    Transpose, // mirror in the diagonal from the top-left corner; width and height swap
    Transverse, // mirror in the diagonal from the top-right corner; width and height swap
};

// The turn that shows a picture as its EXIF orientation (1-8) says it is
// seen; anything else gives Turn::None.
Turn turnForOrientation(int orientation);

inline bool swapsSides(Turn turn)
{
    return turn == Turn::Clockwise || turn == Turn::CounterClockwise || turn == Turn::Transpose
        || turn == Turn::Transverse;
}

// Writes source turned into target, which must have the turned size (width
// and height exchanged for quarter turns). Source and target must not overlap.
void RotatePicture(Turn turn, Rgb32View source, MutableRgb32View target);
