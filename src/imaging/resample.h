#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

// Scales the source rectangle of picture to size with a Lanczos-3 filter
// (widened by the reduction factor when shrinking, so fine detail averages
// instead of aliasing). picture is RGB32, ARGB32 or ARGB32_Premultiplied; an
// opaque picture gives RGB32, one with alpha ARGB32_Premultiplied. Integer
// arithmetic throughout, so the result is the same on every run and thread.
QImage resampleLanczos(const QImage &picture, const QRect &source, QSize size);

// The same with the wider vector path (AVX2) on or off; it is used only where the
// processor has it. Both paths give the same bytes.
QImage resampleLanczos(const QImage &picture, const QRect &source, QSize size, bool wide);
bool resampleHasWidePath();
