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

// The walk treats the storage as one run of triples from index 0: the result
// is the same as running the effect on every triple on its own, whatever the
// row layout, and trailing bytes that make no triple stay as they are.
TEST(ColourEffects, FlatWalkOverEveryTripleOnAllWidths)
{
    for (const auto &effect : kColourEffects) {
        for (int width = 4; width <= 11; ++width) {
            CDIB dib = patternedDib(width, 3, unsigned(width));
            const auto before = storageOf(dib);
            effect.run(dib);
            const auto after = storageOf(dib);
            std::size_t i = 0;
            for (; i + 3 <= before.size(); i += 3) {
                const Pixel expected = applied(effect.run, {before[i], before[i + 1], before[i + 2]});
                ASSERT_EQ((Pixel {after[i], after[i + 1], after[i + 2]}), expected)
                    << effect.name << " width " << width << " index " << i;
            }
            for (; i < before.size(); ++i)
                ASSERT_EQ(after[i], before[i]) << effect.name << " width " << width << " trailing " << i;
        }
    }
}

TEST(ColourEffects, PaddingBytesTakePartInTheWalk)
{
    // 6 wide: stride 20, the triple at 18 is the bottom row's two padding bytes
    // and the blue byte of the next row; the next triple starts at its green.
    CDIB six;
    six.Create(6, 2);
    six.InvertColors();
    auto a = storageOf(six);
    EXPECT_EQ(a[18], 255);
    EXPECT_EQ(a[19], 255);
    EXPECT_EQ(a[38], 255);
    EXPECT_EQ(a[39], 0); // 40 bytes: the last one is no triple

    std::vector<std::uint8_t> bytes(40, 0);
    bytes[18] = 3; // padding
    bytes[19] = 6; // padding
    bytes[20] = 9; // blue of the second row's first pixel
    bytes[21] = 30; // its green: first byte of the next triple
    bytes[22] = 60;
    bytes[23] = 90;
    setStorage(six, bytes);
    six.Greyscale();
    a = storageOf(six);
    EXPECT_EQ((std::vector<int> {a[18], a[19], a[20]}), (std::vector<int> {6, 6, 6}));
    EXPECT_EQ((std::vector<int> {a[21], a[22], a[23]}), (std::vector<int> {60, 60, 60}));

    // 5 wide: stride 16, the triple at 15 is the padding byte and the next
    // row's first blue and green; the next triple starts at that pixel's red.
    CDIB five;
    five.Create(5, 2);
    bytes.assign(32, 0);
    bytes[15] = 0; // padding
    bytes[16] = 100; // blue
    bytes[17] = 50; // green
    bytes[18] = 200; // red, taken as the blue of the next triple
    setStorage(five, bytes);
    five.Flame();
    a = storageOf(five);
    // Triple 15: a = 50, "red" (byte 17) = 100, "blue" (byte 15) = 0.
    EXPECT_EQ((std::vector<int> {a[15], a[16], a[17]}), (std::vector<int> {0, 100, 100}));
    // Triple 18: blue 200, green 0, red 0: a = 66, blue 134, red 66.
    EXPECT_EQ((std::vector<int> {a[18], a[19], a[20]}), (std::vector<int> {134, 0, 66}));

    // 7 wide: stride 24, every pixel is one triple and the three padding bytes
    // form a triple of their own.
    CDIB seven;
    seven.Create(7, 1);
    seven.Brightness(10);
    a = storageOf(seven);
    EXPECT_EQ((std::vector<int> {a[21], a[22], a[23]}), (std::vector<int> {10, 10, 10}));
}
