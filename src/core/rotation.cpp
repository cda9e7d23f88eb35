#include "core/rotation.h"

#include <algorithm>
#include <utility>

Turn turnForOrientation(int orientation)
{
    switch (orientation) {
    case 2:
        return Turn::FlipLeftRight;
    case 3:
        return Turn::HalfTurn;
    case 4:
        return Turn::FlipTopBottom;
    case 5:
        return Turn::Transpose;
    case 6:
        return Turn::Clockwise;
    case 7:
        return Turn::Transverse;
    case 8:
        return Turn::CounterClockwise;
    default:
        return Turn::None;
    }
}

namespace {

constexpr int kTile = 64;

// Turns that swap the sides read rows and write columns; working in square
// tiles keeps both sides in the cache. place(x, y) is where the source pixel
// (x, y) goes, as (column, row) of the target.
template<typename Place> void turnSideways(Rgb32View source, MutableRgb32View target, Place place)
{
    const int w = source.width;
    const int h = source.height;
    for (int ty = 0; ty < h; ty += kTile) {
        const int yEnd = std::min(h, ty + kTile);
        for (int tx = 0; tx < w; tx += kTile) {
            const int xEnd = std::min(w, tx + kTile);
            for (int y = ty; y < yEnd; ++y) {
                const std::uint32_t *src = source.row(y);
                for (int x = tx; x < xEnd; ++x) {
                    const auto [column, row] = place(x, y);
                    target.row(row)[column] = src[x];
                }
            }
        }
    }
}

void turnSideways(Turn turn, Rgb32View source, MutableRgb32View target)
{
    const int w = source.width;
    const int h = source.height;
    using Spot = std::pair<int, int>;
    switch (turn) {
    case Turn::Clockwise: // the top-left corner goes to the top-right
        turnSideways(source, target, [h](int x, int y) { return Spot {h - 1 - y, x}; });
        break;
    case Turn::CounterClockwise: // the top-left corner goes to the bottom-left
        turnSideways(source, target, [w](int x, int y) { return Spot {y, w - 1 - x}; });
        break;
    case Turn::Transpose: // the top-left corner stays
        turnSideways(source, target, [](int x, int y) { return Spot {y, x}; });
        break;
    default: // Transverse: the top-left corner goes to the bottom-right
        turnSideways(source, target, [w, h](int x, int y) { return Spot {h - 1 - y, w - 1 - x}; });
        break;
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
    case Turn::Transpose:
    case Turn::Transverse:
        turnSideways(turn, source, target);
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
