#pragma once

#include <QByteArray>

// Canon's CR3 is an ISO base media file, which exiv2 0.27 does not read. Its
// EXIF is kept as small TIFF structures in boxes of Canon's own inside moov:
// CMT1 holds the picture's IFD, CMT2 the EXIF IFD, CMT3 the maker notes and
// CMT4 the GPS IFD, each as IFD 0 of its TIFF. The XMP packet has a box of its own.
struct Cr3Metadata {
    QByteArray pictureIfd; // CMT1
    QByteArray exifIfd; // CMT2
    QByteArray gpsIfd; // CMT4
    QByteArray xmp;
};

bool looksLikeCr3(const uchar *data, qint64 size);
Cr3Metadata readCr3Metadata(const uchar *data, qint64 size);
