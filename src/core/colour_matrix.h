#pragma once

#include <array>

// A 5 x 5 colour matrix in the row-vector convention: m[row][column], where
// output component c = sum over r of input[r] * m[r][c], input[4] being 1.
// Rows and columns are ordered red, green, blue, alpha, constant.
using ColourMatrix = std::array<std::array<float, 5>, 5>;

ColourMatrix identityMatrix();
bool isIdentity(const ColourMatrix &m);
