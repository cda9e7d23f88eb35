#pragma once

#include "core/colour_matrix.h"

#include <QImage>
#include <QRect>
#include <QRectF>

// Draws the source rectangle of picture (in the picture's own pixels) scaled into
// destination on surface, through matrix, alpha respected. scale maps original
// picture coordinates to picture's pixels (a DCT-downscaled decode has scale < 1).
// Scaling is Lanczos-3, widened when shrinking, so fine detail does not alias.
void drawImageRectRect(QImage &surface, const QImage &picture, const QRectF &source, const QRect &destination,
    const ColourMatrix &matrix, double scale = 1.0);

// Applies matrix to every pixel of image (ARGB32 or RGB32) in place; the identity costs nothing.
void applyColourMatrix(QImage &image, const ColourMatrix &matrix);
