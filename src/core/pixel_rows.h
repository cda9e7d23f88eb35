#pragma once

#include <cstddef>
#include <cstdint>

// Rows of 32-bit pixels 0xAARRGGBB, top row first, as the work surface keeps
// them. The core copies and turns pictures through these views so that it
// needs no image class of its own.
template<typename Pixel> struct PixelRows {
    Pixel *bits = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t pixelsPerLine = 0;

    Pixel *row(int y) const { return bits + y * pixelsPerLine; }
    bool isEmpty() const { return bits == nullptr || width <= 0 || height <= 0; }
};

using Rgb32View = PixelRows<const std::uint32_t>;
using MutableRgb32View = PixelRows<std::uint32_t>;
