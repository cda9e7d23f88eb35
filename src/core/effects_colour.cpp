#include "core/cdib.h"

#include <algorithm>
#include <array>
#include <cstdlib>

// Each row's pixels are visited in blue, green, red order; the row padding is
// left alone. (A walk over the storage as one flat run of triples would put
// the roles on other channels on every row that does not start at a multiple
// of 3, which draws stripes on widths of the form 4k + 1 and 4k + 2.) Every
// formula uses 32-bit arithmetic, as the results must be the same bytes
// everywhere.
template<typename Formula> void CDIB::forEachTriple(Formula formula)
{
    std::span<std::uint8_t> a;
    const std::int32_t stride = MapArray(a);
    if (!a.empty()) {
        for (std::int32_t y = 0; y < height_; ++y) {
            std::uint8_t *p = a.data() + std::size_t(y) * std::size_t(stride);
            for (std::int32_t x = 0; x < width_; ++x, p += 3)
                formula(p[0], p[1], p[2]);
        }
    }
    UnMapArray(a);
}

void CDIB::Greyscale()
{
    forEachTriple([](std::uint8_t &b, std::uint8_t &g, std::uint8_t &r) {
        const std::int32_t avg = (std::int32_t(b) + g + r) / 3;
        b = g = r = std::uint8_t(avg);
    });
}

void CDIB::InvertColors()
{
    forEachTriple([](std::uint8_t &b, std::uint8_t &g, std::uint8_t &r) {
        b = std::uint8_t(255 - b);
        g = std::uint8_t(255 - g);
        r = std::uint8_t(255 - r);
    });
}

// An average equal to the threshold is white.
void CDIB::Monochrome(std::uint8_t threshold)
{
    forEachTriple([threshold](std::uint8_t &b, std::uint8_t &g, std::uint8_t &r) {
        const std::int32_t avg = (std::int32_t(b) + g + r) / 3;
        b = g = r = avg < threshold ? 0 : 255;
    });
}

void CDIB::ShiftColors(std::int32_t red, std::int32_t green, std::int32_t blue)
{
    // Beyond +-255 every byte clamps the same way; keeps the sums in range.
    red = std::clamp(red, -255, 255);
    green = std::clamp(green, -255, 255);
    blue = std::clamp(blue, -255, 255);
    // Each byte's result depends on its value alone: one table per role.
    std::array<std::uint8_t, 256> toBlue, toGreen, toRed;
    for (std::int32_t v = 0; v < 256; ++v) {
        toBlue[v] = ClampByte(v + blue);
        toGreen[v] = ClampByte(v + green);
        toRed[v] = ClampByte(v + red);
    }
    forEachTriple([&](std::uint8_t &b, std::uint8_t &g, std::uint8_t &r) {
        b = toBlue[b];
        g = toGreen[g];
        r = toRed[r];
    });
}

void CDIB::Brightness(std::int16_t amount)
{
    ShiftColors(amount, amount, amount);
}

// Each step reads what the previous one wrote: green from the new red, blue
// from the new green and red.
void CDIB::Brown()
{
    forEachTriple([](std::uint8_t &b, std::uint8_t &g, std::uint8_t &r) {
        r = ClampByte(std::int32_t(b) * g / 256);
        g = ClampByte(std::int32_t(b) * r / 256);
        b = ClampByte(std::int32_t(g) * r / 256);
    });
}

// All three results come from red; the old green and blue are not read.
void CDIB::NightShade()
{
    forEachTriple([](std::uint8_t &b, std::uint8_t &g, std::uint8_t &r) {
        r = ClampByte(std::abs(std::int32_t(r) - 64));
        g = ClampByte(std::abs(std::int32_t(r) - 64));
        b = ClampByte(std::abs(std::int32_t(r) - 64));
    });
}

// Blue comes from the new red and the old blue.
void CDIB::PurpleStain()
{
    forEachTriple([](std::uint8_t &b, std::uint8_t &g, std::uint8_t &r) {
        r = ClampByte(g + r / 2);
        g = ClampByte(b + g / 2);
        b = ClampByte(r + b / 2);
    });
}

void CDIB::Spooky()
{
    forEachTriple([](std::uint8_t &b, std::uint8_t &g, std::uint8_t &r) {
        g = ClampByte(r + g / 2);
        b = ClampByte(r + b / 2);
    });
}

void CDIB::Flame()
{
    forEachTriple([](std::uint8_t &b, std::uint8_t &g, std::uint8_t &r) {
        const std::int32_t avg = (std::int32_t(b) + g + r) / 3;
        r = ClampByte(r + avg);
        b = ClampByte(b - avg);
    });
}
