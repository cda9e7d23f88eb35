#include "core/cdib.h"

#include <algorithm>
#include <cmath>
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
        const std::uint8_t *p = snap.data();
        const std::ptrdiff_t limit = walkLimit(start, end);
        for (std::ptrdiff_t j = start; j < limit; ++j)
            a[j] = std::uint8_t((p[j - s] + p[j - 3] + p[j + 3] + p[j + s] + 2 * p[j]) / 6);
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
    const std::ptrdiff_t limit = walkLimit(0, end);
    for (std::ptrdiff_t j = 0; j < limit; ++j)
        p[j] = ClampByte(2 * p[j] - p[j + s + 3]);
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
        const std::ptrdiff_t limit = walkLimit(0, end);
        for (std::ptrdiff_t j = 0; j < limit; ++j)
            p[j] = ClampByte(strength + p[j] - p[j + offset]);
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
