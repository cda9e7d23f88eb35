#include "batch/imaging/cdib_qimage.h"

namespace {

bool isRgb32Layout(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
}

} // namespace

QImage toRgb32(const QImage &image)
{
    return isRgb32Layout(image.format()) ? image : image.convertToFormat(QImage::Format_RGB32);
}

MutableRgb32View mutableRgb32View(QImage &image)
{
    if (image.isNull())
        return {};
    if (!isRgb32Layout(image.format()))
        image.convertTo(QImage::Format_RGB32);
    auto *bits = reinterpret_cast<std::uint32_t *>(image.bits());
    return {bits, image.width(), image.height(), image.bytesPerLine() / 4};
}

Rgb32View rgb32View(const QImage &image)
{
    if (image.isNull() || !isRgb32Layout(image.format()))
        return {};
    const auto *bits = reinterpret_cast<const std::uint32_t *>(image.constBits());
    return {bits, image.width(), image.height(), image.bytesPerLine() / 4};
}

QImage toQImage(const CDIB &dib)
{
    if (!dib.hasSurface())
        return {};
    QImage image(dib.Width(), dib.Height(), QImage::Format_RGB32);
    if (!image.isNull())
        dib.PaintTo(mutableRgb32View(image), 0, 0);
    return image;
}

void cloneIntoDib(CDIB &dib, const QImage &picture)
{
    const QImage rgb = toRgb32(picture);
    dib.Clone(rgb32View(rgb), true);
}
