#include "core/colour_matrix.h"

ColourMatrix identityMatrix()
{
    ColourMatrix m{};
    for (int i = 0; i < 5; ++i)
        m[i][i] = 1.0f;
    return m;
}

bool isIdentity(const ColourMatrix &m)
{
    return m == identityMatrix();
}
