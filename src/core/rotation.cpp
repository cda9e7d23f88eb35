#include "core/rotation.h"

#include <algorithm>

Turn turnForOrientation(std::string_view orientation)
{
    if (orientation == "2")
        return Turn::FlipLeftRight;
    if (orientation == "3")
        return Turn::HalfTurn;
    if (orientation == "4")
        return Turn::FlipTopBottom;
    if (orientation == "6")
        return Turn::Clockwise;
    if (orientation == "8")
        return Turn::CounterClockwise;
    return Turn::None;
}

namespace {

// Quarter turns read rows and write columns; working in square tiles keeps
// both sides in the cache.
constexpr int kTile = 64;

void quarterTurn(bool clockwise, Rgb32View source, MutableRgb32View target)
{
    const int w = source.width;
    const int h = source.height;
    for (int ty = 0; ty < h; ty += kTile) {
        const int yEnd = std::min(h, ty + kTile);
        for (int tx = 0; tx < w; tx += kTile) {
            const int xEnd = std::min(w, tx + kTile);
            for (int y = ty; y < yEnd; ++y) {
                const std::uint32_t *src = source.row(y);
                if (clockwise) {
                    // (x, y) -> (h - 1 - y, x): the top-left corner goes to the top-right.
                    for (int x = tx; x < xEnd; ++x)
                        target.row(x)[h - 1 - y] = src[x];
                } else {
                    // (x, y) -> (y, w - 1 - x): the top-left corner goes to the bottom-left.
                    for (int x = tx; x < xEnd; ++x)
                        target.row(w - 1 - x)[y] = src[x];
                }
            }
        }
    }
}

} // namespace

void RotatePicture(Turn turn, Rgb32View source, MutableRgb32View target)
{
    const int w = source.width;
    const int h = source.height;
    if (source.isEmpty() || target.isEmpty())
        return;
    const bool fits = swapsSides(turn) ? target.width == h && target.height == w
                                       : target.width == w && target.height == h;
    if (!fits)
        return;
    switch (turn) {
    case Turn::Clockwise:
    case Turn::CounterClockwise:
        quarterTurn(turn == Turn::Clockwise, source, target);
        break;
    case Turn::HalfTurn:
        for (int y = 0; y < h; ++y)
            std::reverse_copy(source.row(y), source.row(y) + w, target.row(h - 1 - y));
        break;
    case Turn::FlipTopBottom:
        for (int y = 0; y < h; ++y)
            std::copy_n(source.row(y), w, target.row(h - 1 - y));
        break;
    case Turn::FlipLeftRight:
        for (int y = 0; y < h; ++y)
            std::reverse_copy(source.row(y), source.row(y) + w, target.row(y));
        break;
    case Turn::None:
        for (int y = 0; y < h; ++y)
            std::copy_n(source.row(y), w, target.row(y));
        break;
    }
}
