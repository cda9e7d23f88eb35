#pragma once

#include "imaging/picture_loader.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// HEIC/HEIF and AVIF through libheif.

// True when data starts with an ISO media "ftyp" box of a HEIF or AVIF brand.
bool looksLikeHeif(const uchar *data, qint64 size);

// The primary image's display size (its irot/imir transforms applied), or an
// invalid size and *error.
QSize probeHeifSize(const uchar *data, qint64 size, QString *error);

// The primary image turned as its transforms say, with its ICC profile. With a
// valid minimumSize a thumbnail that covers it is decoded instead.
LoadedPicture decodeHeif(const uchar *data, qint64 size, QSize minimumSize);

// What the metadata path needs of a HEIF file: the EXIF block from its TIFF
// header on, the XMP packet and the ICC profile.
struct HeifMetadata {
    bool ok = false;
    QByteArray exif;
    QByteArray xmp;
    QByteArray icc;
};
HeifMetadata readHeifMetadata(const QString &path);

// Whether libheif here can write HEVC (HEIC) or AV1 (AVIF).
bool heifEncoderAvailable(bool hevc);

// Lossy HEIC or AVIF at quality 0-100 with the given metadata embedded.
QByteArray encodeHeif(
    const QImage &picture, int quality, bool hevc, const HeifMetadata &metadata, QString *error);
