#pragma once

#include "core/pixel_rows.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

// Tone of MakeEmboss. The values are those of the original boolean flag
// (true = -1); any other value makes the operation do nothing.
enum class EmbossTone : int {
    Colour = 0,
    Grey = -1,
};

// A 24-bit picture buffer with the byte layout the effects depend on: blue,
// green, red per pixel, rows bottom-up, each row padded to a multiple of 4
// bytes. The per-pixel effects walk each row's pixels; the neighbourhood
// effects find neighbours by index on the flat storage, so the layout is part
// of their result.
class CDIB {
public:
    CDIB() = default;

    // A new black buffer; releases the previous one. Without pixels afterwards
    // when the size is not positive or too large for 32-bit sizes.
    void Create(std::int32_t width, std::int32_t height);
    // Copies a whole picture onto the whole buffer, after creating the buffer
    // at the picture's size when resize is true. Scales by nearest pixel when
    // the sizes differ.
    void Clone(Rgb32View picture, bool resize);
    // Copies the Width x Height rectangle at (x, y) of source onto the buffer;
    // bytes whose source lies outside source keep their values.
    void CloneHDC(Rgb32View source, std::int32_t x, std::int32_t y);
    void CloneHDC(const CDIB &source, std::int32_t x, std::int32_t y);
    // Copies the whole buffer onto target with its top-left corner at (x, y),
    // clipped to target. Alpha becomes opaque.
    void PaintTo(MutableRgb32View target, std::int32_t x, std::int32_t y) const;
    void Cls();

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    std::int32_t RGBSize() const { return imageSize_; }
    bool hasSurface() const { return !bits_.empty(); }

    // Lends the pixel bytes (no copy) and returns the row stride.
    std::int32_t MapArray(std::span<std::uint8_t> &view);
    void UnMapArray(std::span<std::uint8_t> &view);
    const std::uint8_t *bits() const { return bits_.data(); }

    static std::int32_t strideFor(std::int32_t width) { return (width * 3 + 3) & ~3; }

    // Per-pixel effects: each row's pixels in blue, green, red order; padding untouched.
    void Greyscale();
    void InvertColors();
    void Monochrome(std::uint8_t threshold);
    void ShiftColors(std::int32_t red, std::int32_t green, std::int32_t blue);
    void Brightness(std::int16_t amount);
    void Brown();
    void NightShade();
    void PurpleStain();
    void Spooky();
    void Flame();

    // Neighbourhood effects: neighbours found by index arithmetic on the bytes.
    void FastBlur();
    void Sharpen();
    void MakeEmboss(std::int32_t strength, bool diagonal, EmbossTone tone);
    void ScanLines(std::uint8_t percent);

private:
    static std::uint8_t ClampByte(std::int32_t value)
    {
        return static_cast<std::uint8_t>(std::min(std::max(value, 0), 255));
    }
    template<typename Formula> void forEachTriple(Formula formula);

    std::vector<std::uint8_t> bits_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t imageSize_ = 0;
};
