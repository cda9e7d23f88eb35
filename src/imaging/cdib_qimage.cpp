#include "imaging/cdib_qimage.h"

#include <QColorSpace>

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

QImage turnedPicture(const QImage &picture, Turn turn)
{
    const QImage source = toRgb32(picture);
    if (turn == Turn::None || source.isNull())
        return source;
    const bool sideways = swapsSides(turn);
    QImage turned(sideways ? source.size().transposed() : source.size(), source.format());
    if (turned.isNull())
        return {};
    turned.setDotsPerMeterX(sideways ? source.dotsPerMeterY() : source.dotsPerMeterX());
    turned.setDotsPerMeterY(sideways ? source.dotsPerMeterX() : source.dotsPerMeterY());
    turned.setColorSpace(source.colorSpace());
    RotatePicture(turn, rgb32View(source), mutableRgb32View(turned));
    return turned;
}
