#pragma once

#include <QtGlobal>

// The EXIF orientation (1-8) a picture file stores beside its pixels: in a
// JPEG's APP1 Exif segment, a PNG's eXIf chunk, a TIFF's first directory or a
// WebP's EXIF chunk; 1 when there is none or it cannot be read. HEIF files
// give 1: their own transforms are what viewers apply, and the decoder does.
int storedOrientation(const uchar *data, qint64 size);
