#include "core/colour_matrix.h"

#include <charconv>
#include <cmath>

ColourMatrix identityMatrix()
{
    ColourMatrix m {};
    for (int i = 0; i < 5; ++i)
        m[i][i] = 1.0f;
    return m;
}

bool isIdentity(const ColourMatrix &m)
{
    return m == identityMatrix();
}

std::optional<float> matrixNumber(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    if (text.front() == '+')
        text.remove_prefix(1);
    // from_chars would take "inf" and "nan"; only digits, a point, a sign and
    // an exponent make a number here.
    if (text.empty() || text.find_first_not_of("0123456789.-eE") != std::string_view::npos)
        return std::nullopt;
    float value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool setChannelFactors(ColourMatrix &m, std::string_view red, std::string_view green, std::string_view blue)
{
    const auto r = matrixNumber(red);
    const auto g = matrixNumber(green);
    const auto b = matrixNumber(blue);
    if (!r || !g || !b)
        return false;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j)
            m[i][j] = 0.0f;
    }
    m[0][0] = *r;
    m[1][1] = *g;
    m[2][2] = *b;
    m[3][3] = 1.0f;
    return true;
}

float &matrixBoxEntry(ColourMatrix &m, int box)
{
    return m[box % 5][box / 5];
}

std::string matrixBoxText(const ColourMatrix &m, int box)
{
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, m[box % 5][box / 5]);
    return error == std::errc() ? std::string(text, end) : std::string();
}

bool setMatrixBox(ColourMatrix &m, int box, std::string_view text)
{
    if (box < 0 || box >= 25)
        return false;
    const auto value = matrixNumber(text);
    if (!value)
        return false;
    matrixBoxEntry(m, box) = *value;
    return true;
}
