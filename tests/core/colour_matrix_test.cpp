#include "core/colour_matrix.h"

#include <gtest/gtest.h>

namespace {

// A matrix with a distinct value in every entry.
ColourMatrix numberedMatrix()
{
    ColourMatrix m {};
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j)
            m[i][j] = float(10 * i + j);
    }
    return m;
}

} // namespace

TEST(ColourMatrixRules, ChannelFactorsRewriteOnlyTheUpperLeftBlock)
{
    ColourMatrix m = numberedMatrix();
    ASSERT_TRUE(setChannelFactors(m, "0.5", "0", " 2 "));
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const float expected = i != j ? 0.0f : i == 0 ? 0.5f : i == 1 ? 0.0f : i == 2 ? 2.0f : 1.0f;
            EXPECT_EQ(m[i][j], expected) << i << "," << j;
        }
    }
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(m[4][k], float(40 + k)); // constant row kept
        EXPECT_EQ(m[k][4], float(10 * k + 4));
    }
}

TEST(ColourMatrixRules, NonNumbersLeaveTheMatrixUnchanged)
{
    for (const char *text : {"", " ", "abc", "1,5", "0x10", "inf", "nan", "1e", "--1", "1 2", "."}) {
        ColourMatrix m = numberedMatrix();
        EXPECT_FALSE(setChannelFactors(m, "1", text, "1")) << text;
        EXPECT_FALSE(setMatrixBox(m, 3, text)) << text;
        EXPECT_EQ(m, numberedMatrix()) << text;
    }
    EXPECT_EQ(matrixNumber("-0.25"), -0.25f);
    EXPECT_EQ(matrixNumber("+3"), 3.0f);
    EXPECT_EQ(matrixNumber(".5"), 0.5f);
    EXPECT_EQ(matrixNumber("1e1"), 10.0f);
}

TEST(ColourMatrixRules, BoxesShowTheMatrixTransposed)
{
    ColourMatrix m = identityMatrix();
    // Box 1 is row 0, column 1 of the boxes: output red gains input green.
    ASSERT_TRUE(setMatrixBox(m, 1, "1"));
    EXPECT_EQ(m[1][0], 1.0f);
    EXPECT_EQ(m[0][1], 0.0f);
    // Box 4 (fifth column) is the constant offset of output red.
    ASSERT_TRUE(setMatrixBox(m, 4, "0.25"));
    EXPECT_EQ(m[4][0], 0.25f);
    ASSERT_TRUE(setMatrixBox(m, 23, "-2"));
    EXPECT_EQ(m[3][4], -2.0f);
    EXPECT_FALSE(setMatrixBox(m, 25, "1"));
    EXPECT_FALSE(setMatrixBox(m, -1, "1"));

    const ColourMatrix numbered = numberedMatrix();
    for (int k = 0; k < 25; ++k)
        EXPECT_EQ(matrixBoxText(numbered, k), std::to_string(10 * (k % 5) + k / 5)) << k;
    EXPECT_EQ(matrixBoxText(m, 4), "0.25");
}

TEST(ColourMatrixRules, FillingTheBoxesWritesTheSameMatrixBack)
{
    ColourMatrix m = numberedMatrix();
    m[2][3] = 0.1f;
    const ColourMatrix before = m;
    for (int k = 0; k < 25; ++k)
        ASSERT_TRUE(setMatrixBox(m, k, matrixBoxText(m, k)));
    EXPECT_EQ(m, before);
}

TEST(ColourMatrixRules, CancelRestoresTheBackup)
{
    ColourMatrix m = numberedMatrix();
    const ColourMatrixBackup backup(m);
    setMatrixBox(m, 0, "9");
    setChannelFactors(m, "0", "0", "0");
    backup.restore(m);
    EXPECT_EQ(m, numberedMatrix());
}
