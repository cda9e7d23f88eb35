#include "imaging/draw_image.h"

#include "imaging/resample.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

inline int clampComponent(float v)
{
    return v <= 0.0f ? 0 : v >= 255.0f ? 255 : int(v + 0.5f);
}

} // namespace

void applyColourMatrix(QImage &image, const ColourMatrix &m)
{
    if (isIdentity(m) || image.isNull())
        return;
    // A matrix that changes alpha makes even an opaque picture see-through.
    const bool alphaChanges = m[0][3] != 0 || m[1][3] != 0 || m[2][3] != 0 || m[3][3] != 1 || m[4][3] != 0;
    const bool hasAlpha = image.hasAlphaChannel() || alphaChanges;
    if (hasAlpha && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = row[x];
            const float in[5] = {float(qRed(p)), float(qGreen(p)), float(qBlue(p)),
                hasAlpha ? float(qAlpha(p)) : 255.0f, 255.0f};
            float out[4];
            for (int c = 0; c < 4; ++c) {
                out[c]
                    = in[0] * m[0][c] + in[1] * m[1][c] + in[2] * m[2][c] + in[3] * m[3][c] + in[4] * m[4][c];
            }
            row[x] = qRgba(clampComponent(out[0]), clampComponent(out[1]), clampComponent(out[2]),
                hasAlpha ? clampComponent(out[3]) : 255);
        }
    }
}

void drawImageRectRect(QImage &surface, const QImage &picture, const QRectF &source, const QRect &destination,
    const ColourMatrix &matrix, double scale)
{
    if (picture.isNull() || surface.isNull() || destination.width() <= 0 || destination.height() <= 0)
        return;
    // The source rectangle in the decoded picture's pixels, kept inside it.
    QRect src(int(std::floor(source.x() * scale + 0.5)), int(std::floor(source.y() * scale + 0.5)),
        int(std::floor(source.width() * scale + 0.5)), int(std::floor(source.height() * scale + 0.5)));
    src = src.intersected(picture.rect());
    if (src.isEmpty())
        return;

    // Only the visible part of the destination is worth scaling.
    const QRect visible = destination.intersected(surface.rect());
    if (visible.isEmpty())
        return;

    QImage scaled;
    if (src.size() == destination.size())
        scaled = src == picture.rect() ? picture : picture.copy(src);
    else
        scaled = resampleLanczos(picture, src, destination.size());
    if (scaled.isNull())
        return;
    applyColourMatrix(scaled, matrix);

    if (!scaled.hasAlphaChannel() && scaled.format() == surface.format() && visible == destination) {
        // Opaque and fully inside: a row copy is all it takes.
        const int bpl = destination.width() * 4;
        for (int y = 0; y < destination.height(); ++y)
            memcpy(surface.scanLine(destination.y() + y) + destination.x() * 4, scaled.constScanLine(y), bpl);
        return;
    }
    QPainter painter(&surface);
    painter.drawImage(destination.topLeft(), scaled);
}
