#pragma once

#include "core/cdib.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

// Test helpers that read and write a buffer's raw storage.
inline std::vector<std::uint8_t> storageOf(CDIB &dib)
{
    std::span<std::uint8_t> a;
    dib.MapArray(a);
    std::vector<std::uint8_t> bytes(a.begin(), a.end());
    dib.UnMapArray(a);
    return bytes;
}

inline void setStorage(CDIB &dib, const std::vector<std::uint8_t> &bytes)
{
    std::span<std::uint8_t> a;
    dib.MapArray(a);
    std::copy_n(bytes.begin(), std::min(bytes.size(), a.size()), a.begin());
    dib.UnMapArray(a);
}

// A buffer whose storage holds a repeatable pattern of every byte value.
inline CDIB patternedDib(int width, int height, unsigned seed = 7)
{
    CDIB dib;
    dib.Create(width, height);
    std::vector<std::uint8_t> bytes(std::size_t(dib.RGBSize()));
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = std::uint8_t((i * 37 + seed * 11 + (i * i) % 23) & 0xff);
    setStorage(dib, bytes);
    return dib;
}

// A 1 x 1 buffer holding one pixel; its fourth byte is padding.
inline CDIB onePixel(std::uint8_t b, std::uint8_t g, std::uint8_t r)
{
    CDIB dib;
    dib.Create(1, 1);
    setStorage(dib, {b, g, r});
    return dib;
}
