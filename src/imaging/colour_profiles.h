#pragma once

#include <QByteArray>
#include <QImage>
#include <QRgb>

// ICC profiles through lcms2. An empty profile means sRGB throughout.

// True for a profile lcms2 can read at all.
bool isReadableProfile(const QByteArray &icc);

// Adobe RGB (1998), for cameras that say so only in EXIF (ColorSpace uncalibrated,
// InteropIndex R03) and embed no profile.
QByteArray adobeRgbProfile();

// True for a profile lcms2 can read whose colour space is RGB.
bool isRgbProfile(const QByteArray &icc);

// True for sRGB itself (or anything but a readable RGB profile): nothing to convert.
bool actsAsSrgb(const QByteArray &icc);

// Converts an RGB32/ARGB32 picture in place from icc to sRGB (perceptual intent,
// black point compensation); false when the profile cannot be used.
bool convertToSrgb(QImage &picture, const QByteArray &icc);

// The other way, for what is drawn in sRGB onto a picture that keeps icc.
bool convertFromSrgb(QImage &picture, const QByteArray &icc);
QRgb srgbColourIn(QRgb colour, const QByteArray &icc);

// A picture in profile `own` made ready to be drawn onto one in `target`.
void bringIntoProfile(QImage &picture, const QByteArray &own, const QByteArray &target);

// CMYK pixels (4 bytes each, rows of `stride` bytes) to an RGB32 picture in sRGB,
// through icc when it is a CMYK profile, else by the plain formula. Adobe writes
// CMYK JPEGs inverted; `inverted` says the bytes are stored that way.
QImage cmykToSrgb(const uchar *cmyk, int width, int height, int stride, const QByteArray &icc, bool inverted);
