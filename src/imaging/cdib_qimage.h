#pragma once

#include "core/cdib.h"
#include "core/pixel_rows.h"
#include "core/rotation.h"

#include <QImage>

// Where QImage meets the core's pixel views and the 24-bit buffer. The work
// surface is Format_RGB32; other formats are converted first.

// image is converted to RGB32 in place when it has another format.
MutableRgb32View mutableRgb32View(QImage &image);
// Valid while image lives; image must be RGB32 or ARGB32 (see toRgb32).
Rgb32View rgb32View(const QImage &image);
QImage toRgb32(const QImage &image);

// The buffer's pixels as an RGB32 picture of its size.
QImage toQImage(const CDIB &dib);
// Creates dib at the picture's size and copies the picture into it.
void cloneIntoDib(CDIB &dib, const QImage &picture);

// picture turned or mirrored, RGB32 or ARGB32 as it came (other formats become
// RGB32); null when there is no memory for it.
QImage turnedPicture(const QImage &picture, Turn turn);
