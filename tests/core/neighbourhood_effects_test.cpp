#include "core/dib_bytes.h"

#include <gtest/gtest.h>

namespace {

CDIB flatDib(int width, int height, std::uint8_t b, std::uint8_t g, std::uint8_t r)
{
    CDIB dib;
    dib.Create(width, height);
    std::span<std::uint8_t> a;
    const int stride = dib.MapArray(a);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            a[y * stride + x * 3] = b;
            a[y * stride + x * 3 + 1] = g;
            a[y * stride + x * 3 + 2] = r;
        }
    }
    dib.UnMapArray(a);
    return dib;
}

std::uint8_t clampByte(int v)
{
    return std::uint8_t(std::clamp(v, 0, 255));
}

// Which storage rows are all zero, padding included.
std::vector<int> blackRows(CDIB &dib)
{
    std::span<std::uint8_t> a;
    const int stride = dib.MapArray(a);
    std::vector<int> rows;
    for (int y = 0; y < dib.Height(); ++y) {
        if (std::all_of(a.begin() + y * stride, a.begin() + (y + 1) * stride, [](auto v) { return v == 0; }))
            rows.push_back(y);
    }
    dib.UnMapArray(a);
    return rows;
}

} // namespace

TEST(NeighbourhoodEffects, FastBlurReadsTheSnapshot)
{
    // 4 x 4: stride 12, bytes 15..32 are blurred.
    CDIB dib;
    dib.Create(4, 4);
    std::vector<std::uint8_t> bytes(48, 0);
    bytes[21] = 60;
    setStorage(dib, bytes);
    dib.FastBlur();
    const auto a = storageOf(dib);
    EXPECT_EQ(a[21], 20); // 2 x 60 / 6
    EXPECT_EQ(a[18], 10);
    EXPECT_EQ(a[24], 10); // reads the old 60, not the new 20
    EXPECT_EQ(a[9], 0); // below the loop's start
    EXPECT_EQ(a[33], 0); // above the loop's end
}

TEST(NeighbourhoodEffects, FastBlurOnOneRowChangesNothing)
{
    CDIB dib = patternedDib(9, 1);
    const auto before = storageOf(dib);
    dib.FastBlur();
    EXPECT_EQ(storageOf(dib), before);
}

TEST(NeighbourhoodEffects, SharpenAgainstTheUpRightNeighbour)
{
    // 4 x 2: stride 12; byte 15 is the blue byte up and right of byte 0.
    for (const auto &[neighbour, expected] : {std::pair {30, 170}, {250, 0}, {0, 200}}) {
        CDIB dib;
        dib.Create(4, 2);
        std::vector<std::uint8_t> bytes(24, 0);
        bytes[0] = 100;
        bytes[15] = std::uint8_t(neighbour);
        setStorage(dib, bytes);
        dib.Sharpen();
        const auto a = storageOf(dib);
        EXPECT_EQ(a[0], expected);
        EXPECT_EQ(a[15], neighbour); // above the loop's end
    }
}

TEST(NeighbourhoodEffects, EmbossOfAFlatPicture)
{
    CDIB dib = flatDib(4, 2, 10, 20, 30);
    dib.MakeEmboss(100, false, EmbossTone::Colour);
    const auto a = storageOf(dib);
    for (int i = 0; i < 21; ++i)
        ASSERT_EQ(a[i], 100) << i;
    EXPECT_EQ((std::vector<int> {a[21], a[22], a[23]}), (std::vector<int> {10, 20, 30}));
}

TEST(NeighbourhoodEffects, EmbossGreyDiagonalAndInvalidTone)
{
    CDIB grey;
    grey.Create(4, 1);
    setStorage(grey, {10, 20, 30}); // next pixel black
    grey.MakeEmboss(100, false, EmbossTone::Grey);
    auto a = storageOf(grey);
    // red 130, green 120, blue 110: their average on all three bytes.
    EXPECT_EQ((std::vector<int> {a[0], a[1], a[2]}), (std::vector<int> {120, 120, 120}));

    // Diagonal: the neighbour is one row higher and one pixel right (byte 15 for byte 0).
    CDIB diagonal;
    diagonal.Create(4, 2);
    std::vector<std::uint8_t> bytes(24, 0);
    bytes[3] = 200; // the next pixel: ignored by the diagonal variant
    bytes[15] = 50;
    setStorage(diagonal, bytes);
    diagonal.MakeEmboss(100, true, EmbossTone::Colour);
    a = storageOf(diagonal);
    EXPECT_EQ(a[0], 50);
    EXPECT_EQ(a[3], 255);
    EXPECT_EQ(a[8], 100); // the loop ends with the triple at 6
    EXPECT_EQ(a[9], 0);
    EXPECT_EQ(a[15], 50);

    CDIB untouched = patternedDib(5, 3);
    const auto before = storageOf(untouched);
    untouched.MakeEmboss(100, false, static_cast<EmbossTone>(1));
    EXPECT_EQ(storageOf(untouched), before);
}

TEST(NeighbourhoodEffects, ScanLinesStepRoundsHalfToEven)
{
    const struct {
        int percent;
        int height;
        std::vector<int> rows;
    } cases[] = {
        {50, 5, {0, 2, 4}}, {40, 5, {0, 2, 4}}, // 2.5 -> 2
        {30, 7, {0, 3, 6}}, // 3.33 -> 3
        {8, 26, {0, 12, 24}}, // 12.5 -> 12
        {100, 3, {0, 1, 2}}, {0, 3, {}}, {200, 3, {}}, // a step of 0 would never advance
    };
    for (const auto &c : cases) {
        CDIB dib = flatDib(5, c.height, 1, 2, 3);
        std::span<std::uint8_t> a;
        dib.MapArray(a);
        std::fill(a.begin(), a.end(), std::uint8_t(9)); // padding too
        dib.UnMapArray(a);
        dib.ScanLines(std::uint8_t(c.percent));
        EXPECT_EQ(blackRows(dib), c.rows) << c.percent;
    }
}

// Every byte of each effect on widths 4k .. 4k + 3, against the index formulas
// written out loop by loop; covers the loop bounds and the neighbours that
// fall into the padding or the next row.
TEST(NeighbourhoodEffects, WholeStorageMatchesTheIndexFormulas)
{
    for (int width = 4; width <= 7; ++width) {
        CDIB blur = patternedDib(width, 4, 3);
        const auto o = storageOf(blur);
        const long n = long(o.size());
        const long s = CDIB::strideFor(width);

        auto expected = o;
        for (long i = s + 3; i <= n - 1 - s - 5; i += 3) {
            for (long j = i; j < i + 3; ++j)
                expected[j] = std::uint8_t((o[j - s] + o[j - 3] + o[j + 3] + o[j + s] + 2 * o[j]) / 6);
        }
        blur.FastBlur();
        EXPECT_EQ(storageOf(blur), expected) << "FastBlur width " << width;

        expected = o;
        for (long i = 0; i <= n - 1 - s - 5; i += 3) {
            for (long j = i; j < i + 3; ++j)
                expected[j] = clampByte(2 * o[j] - o[j + s + 3]);
        }
        CDIB sharp = patternedDib(width, 4, 3);
        sharp.Sharpen();
        EXPECT_EQ(storageOf(sharp), expected) << "Sharpen width " << width;

        for (const bool diagonal : {false, true}) {
            const long offset = diagonal ? s + 3 : 3;
            expected = o;
            auto grey = o;
            for (long i = 0; i <= n - 3 - offset; i += 3) {
                int sum = 0;
                for (long j = i; j < i + 3; ++j) {
                    expected[j] = clampByte(40 + o[j] - o[j + offset]);
                    sum += expected[j];
                }
                grey[i] = grey[i + 1] = grey[i + 2] = std::uint8_t(sum / 3);
            }
            CDIB emboss = patternedDib(width, 4, 3);
            emboss.MakeEmboss(40, diagonal, EmbossTone::Colour);
            EXPECT_EQ(storageOf(emboss), expected)
                << "MakeEmboss width " << width << " diagonal " << diagonal;
            CDIB greyEmboss = patternedDib(width, 4, 3);
            greyEmboss.MakeEmboss(40, diagonal, EmbossTone::Grey);
            EXPECT_EQ(storageOf(greyEmboss), grey)
                << "grey MakeEmboss width " << width << " diagonal " << diagonal;
        }
    }
}
