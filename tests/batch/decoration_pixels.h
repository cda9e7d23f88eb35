#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

// Small pixel helpers shared by the decoration tests.
namespace decoration {

// A picture of one colour (with its alpha) saved as PNG; returns its path.
inline QString savePlain(const QString &path, QSize size, QColor colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    image.save(path, "PNG");
    return path;
}

inline QImage surfaceOf(QSize size, QColor colour = Qt::white)
{
    QImage surface(size, QImage::Format_RGB32);
    surface.fill(colour);
    return surface;
}

// The bounding box of the pixels that differ from background.
inline QRect inkBox(const QImage &image, QRgb background)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((row[x] & 0xFFFFFF) != (background & 0xFFFFFF))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

inline int inkCount(const QImage &image, QRgb background)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            n += (row[x] & 0xFFFFFF) != (background & 0xFFFFFF);
    }
    return n;
}

inline QRgb rgb(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

} // namespace decoration
