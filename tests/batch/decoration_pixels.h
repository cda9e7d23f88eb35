#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

// Pixel helpers of the decoration tests.
namespace decoration {

// A picture of one colour (alpha included) saved as PNG; returns its path.
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

// The bounding box of the pixels where a and b differ, and how many they are.
inline QRect differences(const QImage &a, const QImage &b, int *count = nullptr)
{
    QRect box;
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) {
                box |= QRect(x, y, 1, 1);
                ++n;
            }
        }
    }
    if (count)
        *count = n;
    return box;
}

inline QRgb rgb(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

} // namespace decoration
