#include "core/cdib.h"

#include <algorithm>
#include <limits>
#include <new>

namespace {

// Storage row of the picture row y counted from the top (rows are bottom-up).
std::uint8_t *storageRow(std::uint8_t *bits, std::int32_t stride, std::int32_t height, std::int32_t y)
{
    return bits + std::ptrdiff_t(height - 1 - y) * stride;
}

void putPixel(std::uint8_t *p, std::uint32_t argb)
{
    p[0] = std::uint8_t(argb);
    p[1] = std::uint8_t(argb >> 8);
    p[2] = std::uint8_t(argb >> 16);
}

std::uint32_t getPixel(const std::uint8_t *p)
{
    return 0xff000000u | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

// The buffer columns and rows whose counterpart (column + x, row + y) lies
// inside another picture of otherWidth x otherHeight.
struct Overlap {
    std::int32_t fromX, toX, fromRow, toRow;
};

Overlap overlap(std::int32_t width, std::int32_t height, std::int32_t otherWidth, std::int32_t otherHeight,
    std::int32_t x, std::int32_t y)
{
    return {
        std::max(0, -x), std::min(width, otherWidth - x), std::max(0, -y), std::min(height, otherHeight - y)};
}

} // namespace

void CDIB::Create(std::int32_t width, std::int32_t height)
{
    bits_ = {};
    width_ = width;
    height_ = height;
    imageSize_ = 0;
    if (width <= 0 || height <= 0)
        return;
    const std::int64_t size = (std::int64_t(width) * 3 + 3) / 4 * 4 * height;
    if (std::int64_t(width) * 3 + 3 > std::numeric_limits<std::int32_t>::max()
        || size > std::numeric_limits<std::int32_t>::max())
        return;
    imageSize_ = std::int32_t(size);
    try {
        bits_.assign(std::size_t(size), 0);
    } catch (const std::bad_alloc &) {
        bits_ = {};
    }
}

void CDIB::Clone(Rgb32View picture, bool resize)
{
    if (resize)
        Create(picture.width, picture.height);
    if (!hasSurface() || picture.isEmpty())
        return;
    const std::int32_t stride = strideFor(width_);
    const bool oneToOne = picture.width == width_ && picture.height == height_;
    for (std::int32_t y = 0; y < height_; ++y) {
        const std::uint32_t *src
            = picture.row(oneToOne ? y : int(std::int64_t(y) * picture.height / height_));
        std::uint8_t *dst = storageRow(bits_.data(), stride, height_, y);
        if (oneToOne) {
            for (std::int32_t x = 0; x < width_; ++x, dst += 3)
                putPixel(dst, src[x]);
        } else {
            for (std::int32_t x = 0; x < width_; ++x, dst += 3)
                putPixel(dst, src[std::int64_t(x) * picture.width / width_]);
        }
    }
}

void CDIB::CloneHDC(Rgb32View source, std::int32_t x, std::int32_t y)
{
    if (!hasSurface() || source.isEmpty())
        return;
    const std::int32_t stride = strideFor(width_);
    const Overlap o = overlap(width_, height_, source.width, source.height, x, y);
    for (std::int32_t row = o.fromRow; row < o.toRow; ++row) {
        const std::uint32_t *src = source.row(row + y) + x;
        std::uint8_t *dst = storageRow(bits_.data(), stride, height_, row);
        for (std::int32_t col = o.fromX; col < o.toX; ++col)
            putPixel(dst + col * 3, src[col]);
    }
}

void CDIB::CloneHDC(const CDIB &source, std::int32_t x, std::int32_t y)
{
    if (!hasSurface() || !source.hasSurface())
        return;
    const std::int32_t stride = strideFor(width_);
    const std::int32_t sourceStride = strideFor(source.width_);
    const Overlap o = overlap(width_, height_, source.width_, source.height_, x, y);
    if (o.fromX >= o.toX)
        return;
    for (std::int32_t row = o.fromRow; row < o.toRow; ++row) {
        const std::uint8_t *src
            = source.bits_.data() + std::ptrdiff_t(source.height_ - 1 - row - y) * sourceStride;
        std::uint8_t *dst = storageRow(bits_.data(), stride, height_, row);
        std::copy(src + (o.fromX + x) * 3, src + (o.toX + x) * 3, dst + o.fromX * 3);
    }
}

void CDIB::PaintTo(MutableRgb32View target, std::int32_t x, std::int32_t y) const
{
    if (!hasSurface() || target.isEmpty())
        return;
    const std::int32_t stride = strideFor(width_);
    const Overlap o = overlap(width_, height_, target.width, target.height, x, y);
    for (std::int32_t row = o.fromRow; row < o.toRow; ++row) {
        const std::uint8_t *src = bits_.data() + std::ptrdiff_t(height_ - 1 - row) * stride;
        std::uint32_t *dst = target.row(row + y) + x;
        for (std::int32_t col = o.fromX; col < o.toX; ++col)
            dst[col] = getPixel(src + col * 3);
    }
}

void CDIB::Cls()
{
    std::fill(bits_.begin(), bits_.end(), std::uint8_t(0));
}

std::int32_t CDIB::MapArray(std::span<std::uint8_t> &view)
{
    view = std::span<std::uint8_t>(bits_);
    return hasSurface() ? imageSize_ / height_ : 0;
}

void CDIB::UnMapArray(std::span<std::uint8_t> &view)
{
    view = {};
}
