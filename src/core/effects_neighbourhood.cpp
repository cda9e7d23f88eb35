#include "core/cdib.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <vector>

// Neighbours are found by index on the flat storage: j - 3 and j + 3 are the
// same role one triple earlier and later, j - s and j + s one row lower and
// higher (rows are bottom-up). At the ends of a row the neighbour belongs to
// the next row or to the padding; only the loop bounds keep indices inside.
// The loops visit triples i = start, start + 3, ... while i <= end and touch
// bytes i, i + 1 and i + 2: every byte from start to the last triple's end.

namespace {

// One past the last byte of the last triple that starts at or before end.
std::ptrdiff_t walkLimit(std::ptrdiff_t start, std::ptrdiff_t end)
{
    return end < start ? start : start + (end - start) / 3 * 3 + 3;
}

// Byte-wise passes run in fixed-size chunks: with a length known at compile
// time and no aliasing in the chunk, the compiler makes vector code of them.
constexpr std::ptrdiff_t kChunk = 32;

template<typename Body> void inChunks(std::ptrdiff_t from, std::ptrdiff_t to, Body body)
{
    std::ptrdiff_t j = from;
    for (; j + kChunk <= to; j += kChunk)
        body(j, std::integral_constant<std::ptrdiff_t, kChunk>());
    if (j < to)
        body(j, to - j);
}

template<typename Count>
void blurChunk(std::uint8_t *__restrict out, const std::uint8_t *__restrict snap, std::ptrdiff_t s, Count n)
{
    for (std::ptrdiff_t k = 0; k < n; ++k)
        out[k] = std::uint8_t((snap[k - s] + snap[k - 3] + snap[k + 3] + snap[k + s] + 2 * snap[k]) / 6);
}

} // namespace

void CDIB::FastBlur()
{
    std::span<std::uint8_t> a;
    const std::ptrdiff_t s = MapArray(a);
    const std::ptrdiff_t length = std::ptrdiff_t(a.size());
    const std::ptrdiff_t start = s + 3;
    const std::ptrdiff_t end = length - 1 - s - 5;
    if (start <= end) {
        const std::vector<std::uint8_t> snap(a.begin(), a.end());
        // The bytes are read from the snapshot only (cur[j] is still unchanged).
        inChunks(start, walkLimit(start, end),
            [&](std::ptrdiff_t j, auto n) { blurChunk(a.data() + j, snap.data() + j, s, n); });
    }
    UnMapArray(a);
}

// In place: the byte one row higher and one pixel right is read before the
// walk reaches it.
void CDIB::Sharpen()
{
    std::span<std::uint8_t> a;
    const std::ptrdiff_t s = MapArray(a);
    const std::ptrdiff_t end = std::ptrdiff_t(a.size()) - 1 - s - 5;
    std::uint8_t *p = a.data();
    inChunks(0, walkLimit(0, end), [&](std::ptrdiff_t j, auto n) {
        // Reading a chunk's neighbours before writing it keeps the byte order
        // of the walk even where the neighbours lie inside the chunk.
        std::uint8_t ahead[kChunk];
        std::copy_n(p + j + s + 3, n, ahead);
        for (std::ptrdiff_t k = 0; k < n; ++k)
            p[j + k] = ClampByte(2 * p[j + k] - ahead[k]);
    });
    UnMapArray(a);
}

// The neighbour lies ahead (next pixel, or one row higher and one pixel right
// when diagonal), so it is always read unchanged; the last offset bytes keep
// their values.
void CDIB::MakeEmboss(std::int32_t strength, bool diagonal, EmbossTone tone)
{
    if (tone != EmbossTone::Colour && tone != EmbossTone::Grey)
        return;
    // Beyond +-511 every result clamps the same way; keeps the sums in range.
    strength = std::clamp(strength, -511, 511);
    std::span<std::uint8_t> a;
    const std::ptrdiff_t s = MapArray(a);
    const std::ptrdiff_t offset = diagonal ? s + 3 : 3;
    const std::ptrdiff_t end = std::ptrdiff_t(a.size()) - 3 - offset;
    std::uint8_t *p = a.data();
    if (tone == EmbossTone::Colour) {
        inChunks(0, walkLimit(0, end), [&](std::ptrdiff_t j, auto n) {
            std::uint8_t ahead[kChunk];
            std::copy_n(p + j + offset, n, ahead);
            for (std::ptrdiff_t k = 0; k < n; ++k)
                p[j + k] = ClampByte(strength + p[j + k] - ahead[k]);
        });
    } else {
        for (std::ptrdiff_t i = 0; i <= end; i += 3) {
            const std::int32_t r = ClampByte(strength + p[i + 2] - p[i + offset + 2]);
            const std::int32_t g = ClampByte(strength + p[i + 1] - p[i + offset + 1]);
            const std::int32_t b = ClampByte(strength + p[i] - p[i + offset]);
            p[i] = p[i + 1] = p[i + 2] = std::uint8_t((r + g + b) / 3);
        }
    }
    UnMapArray(a);
}

// Blacks out storage rows 0, step, 2 * step, ... (row 0 is the bottom row),
// padding included. step = 100 / percent rounded half to even (40 -> 2).
void CDIB::ScanLines(std::uint8_t percent)
{
    if (percent == 0)
        return;
    const float ratio = float(100.0 / percent);
    const std::int32_t step = std::int32_t(std::nearbyint(ratio));
    // Percents of 200 and more round to a step of 0, which would never advance.
    if (step < 1)
        return;
    std::span<std::uint8_t> a;
    const std::ptrdiff_t s = MapArray(a);
    if (!a.empty()) {
        for (std::int32_t y = 0; y <= Height() - 1; y += step)
            std::fill_n(a.begin() + y * s, s, std::uint8_t(0));
    }
    UnMapArray(a);
}
