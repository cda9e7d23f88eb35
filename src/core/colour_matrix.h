#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// A 5 x 5 colour matrix in the row-vector convention: m[row][column], where
// output component c = sum over r of input[r] * m[r][c], input[4] being 1.
// Rows and columns are ordered red, green, blue, alpha, constant.
using ColourMatrix = std::array<std::array<float, 5>, 5>;

ColourMatrix identityMatrix();
bool isIdentity(const ColourMatrix &m);

// The user's text as a colour-matrix value: a plain decimal number with a point,
// surrounding spaces allowed. Anything else (empty, letters, inf, nan) is no number.
std::optional<float> matrixNumber(std::string_view text);

// Channel factors: rewrites the upper-left 4 x 4 block to a diagonal of red,
// green, blue and 1; the constant row and the fifth column keep their values.
// When any text is not a number, the matrix stays as it is and false is returned.
bool setChannelFactors(ColourMatrix &m, std::string_view red, std::string_view green, std::string_view blue);

// The 25 matrix boxes show the matrix transposed: box k (5 rows of 5) holds
// m[k mod 5][k / 5], so each row of boxes is one output component and the
// fifth column of boxes holds the constant offsets.
float &matrixBoxEntry(ColourMatrix &m, int box);
std::string matrixBoxText(const ColourMatrix &m, int box);
// Sets the entry of box to text; not a number leaves it unchanged (false).
bool setMatrixBox(ColourMatrix &m, int box, std::string_view text);

// The matrix panel's backup: taken when the panel opens, put back by "取消".
class ColourMatrixBackup {
public:
    explicit ColourMatrixBackup(const ColourMatrix &current)
        : saved_(current)
    {
    }
    void restore(ColourMatrix &m) const { m = saved_; }

private:
    ColourMatrix saved_;
};
