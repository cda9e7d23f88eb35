#include "core/dib_bytes.h"

#include <array>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Pixel = std::array<int, 3>; // blue, green, red as stored

Pixel applied(const std::function<void(CDIB &)> &effect, Pixel bgr)
{
    CDIB dib = onePixel(std::uint8_t(bgr[0]), std::uint8_t(bgr[1]), std::uint8_t(bgr[2]));
    effect(dib);
    const auto a = storageOf(dib);
    EXPECT_EQ(a[3], 0) << "padding of a 1 x 1 buffer lies outside the last triple";
    return {a[0], a[1], a[2]};
}

struct NamedEffect {
    const char *name;
    std::function<void(CDIB &)> run;
};

const NamedEffect kColourEffects[] = {
    {"Greyscale",
        [](CDIB &d) {
            d.Greyscale();
        }},
    {"InvertColors",
        [](CDIB &d) {
            d.InvertColors();
        }},
    {"Monochrome",
        [](CDIB &d) {
            d.Monochrome(128);
        }},
    {"ShiftColors",
        [](CDIB &d) {
            d.ShiftColors(40, -30, 90);
        }},
    {"Brightness",
        [](CDIB &d) {
            d.Brightness(-75);
        }},
    {"Brown",
        [](CDIB &d) {
            d.Brown();
        }},
    {"NightShade",
        [](CDIB &d) {
            d.NightShade();
        }},
    {"PurpleStain",
        [](CDIB &d) {
            d.PurpleStain();
        }},
    {"Spooky",
        [](CDIB &d) {
            d.Spooky();
        }},
    {"Flame",
        [](CDIB &d) {
            d.Flame();
        }},
};

} // namespace

TEST(ColourEffects, WorkedExamples)
{
    EXPECT_EQ(applied([](CDIB &d) { d.Greyscale(); }, {10, 20, 31}), (Pixel {20, 20, 20}));
    EXPECT_EQ(applied([](CDIB &d) { d.InvertColors(); }, {0, 100, 255}), (Pixel {255, 155, 0}));
    EXPECT_EQ(applied([](CDIB &d) { d.Monochrome(128); }, {127, 128, 129}), (Pixel {255, 255, 255}));
    EXPECT_EQ(applied([](CDIB &d) { d.Monochrome(128); }, {0, 0, 255}), (Pixel {0, 0, 0}));
    EXPECT_EQ(applied([](CDIB &d) { d.Brightness(75); }, {200, 100, 0}), (Pixel {255, 175, 75}));
    EXPECT_EQ(applied([](CDIB &d) { d.Brightness(-75); }, {200, 100, 0}), (Pixel {125, 25, 0}));
    EXPECT_EQ(applied([](CDIB &d) { d.Brown(); }, {255, 255, 255}), (Pixel {251, 253, 254}));
    EXPECT_EQ(applied([](CDIB &d) { d.NightShade(); }, {10, 200, 30}), (Pixel {30, 30, 34}));
    EXPECT_EQ(applied([](CDIB &d) { d.PurpleStain(); }, {100, 50, 200}), (Pixel {200, 125, 150}));
    EXPECT_EQ(applied([](CDIB &d) { d.Spooky(); }, {100, 50, 200}), (Pixel {250, 225, 200}));
    EXPECT_EQ(applied([](CDIB &d) { d.Flame(); }, {30, 60, 90}), (Pixel {0, 60, 150}));
}

TEST(ColourEffects, StepsReadWhatEarlierStepsWrote)
{
    // Brown: red from old blue and green, green from old blue and new red,
    // blue from new green and new red.
    EXPECT_EQ(applied([](CDIB &d) { d.Brown(); }, {200, 100, 50}), (Pixel {18, 60, 78}));
    // PurpleStain: blue from the new red and the old blue; 255 + 25 clamps.
    EXPECT_EQ(applied([](CDIB &d) { d.PurpleStain(); }, {50, 250, 10}), (Pixel {255, 175, 255}));
    // NightShade never reads the old green and blue.
    EXPECT_EQ(applied([](CDIB &d) { d.NightShade(); }, {1, 2, 200}), (Pixel {72, 72, 136}));
    // Flame clamps blue at 0 and red at 255.
    EXPECT_EQ(applied([](CDIB &d) { d.Flame(); }, {10, 255, 250}), (Pixel {0, 255, 255}));
}

TEST(ColourEffects, ShiftClampsAndSaturatesHugeAmounts)
{
    EXPECT_EQ(applied([](CDIB &d) { d.ShiftColors(10, -20, 300); }, {0, 10, 250}), (Pixel {255, 0, 255}));
    EXPECT_EQ(
        applied([](CDIB &d) { d.ShiftColors(INT32_MAX, INT32_MIN, 0); }, {5, 6, 7}), (Pixel {5, 0, 255}));
}

// Every pixel of every row is one blue, green, red triple, whatever the width:
// widths 4k + 1 and 4k + 2 once drew stripes where rows did not start at a
// multiple of 3. The row padding is left as it was.
TEST(ColourEffects, EachPixelOnItsOwnOnAllWidthsPaddingUntouched)
{
    for (const auto &effect : kColourEffects) {
        for (int width = 4; width <= 11; ++width) {
            CDIB dib = patternedDib(width, 3, unsigned(width));
            const auto before = storageOf(dib);
            effect.run(dib);
            const auto after = storageOf(dib);
            const std::size_t stride = std::size_t(CDIB::strideFor(width));
            for (std::size_t row = 0; row < 3; ++row) {
                for (std::size_t i = row * stride; i < (row + 1) * stride; ++i) {
                    const std::size_t x = i - row * stride;
                    if (x >= std::size_t(width) * 3) {
                        ASSERT_EQ(after[i], before[i])
                            << effect.name << " width " << width << " padding " << i;
                    } else if (x % 3 == 0) {
                        const Pixel expected = applied(effect.run, {before[i], before[i + 1], before[i + 2]});
                        ASSERT_EQ((Pixel {after[i], after[i + 1], after[i + 2]}), expected)
                            << effect.name << " width " << width << " index " << i;
                    }
                }
            }
        }
    }
}
