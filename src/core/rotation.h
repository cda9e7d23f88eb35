#pragma once

#include "core/pixel_rows.h"

#include <string_view>

// What the rotation menu does to a picture.
enum class Turn {
    None,
    Clockwise, // quarter turn; width and height swap
    CounterClockwise, // quarter turn; width and height swap
    HalfTurn,
    FlipTopBottom, // mirror in the horizontal centre line
    FlipLeftRight, // mirror in the vertical centre line
};

// The turn that puts a photograph upright, from the text of its EXIF
// orientation tag. Orientations that would need a turn and a mirror ("5",
// "7") and anything unknown give Turn::None.
Turn turnForOrientation(std::string_view orientation);

inline bool swapsSides(Turn turn)
{
    return turn == Turn::Clockwise || turn == Turn::CounterClockwise;
}

// Writes source turned into target, which must have the turned size (width
// and height exchanged for quarter turns). Source and target must not overlap.
void RotatePicture(Turn turn, Rgb32View source, MutableRgb32View target);
