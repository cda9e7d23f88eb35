#pragma once

#include "fs/committed_file.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// The encoders, chosen by the lower-cased extension: jpg/jpeg (quality 0-100),
// png, gif, tif/tiff (24 bits per pixel, uncompressed), bmp (uncompressed 24-bit
// Windows bitmap), webp when the image plugins write it. Any other extension has
// no encoder. Returns the file's bytes, or an empty array and *error.
QByteArray encodePicture(const QImage &picture, const QString &extension, int quality, QString *error);

bool hasEncoderFor(const QString &extension);

QByteArray encodeJpeg(const QImage &picture, int quality, QString *error);
QByteArray encodePng(const QImage &picture, QString *error);
QByteArray encodeWebp(const QImage &picture, int quality, QString *error);

// HEIC/HEIF and AVIF outputs carry their metadata from the encoder on.
bool isHeifExtension(const QString &extension);
QByteArray encodeGif(const QImage &picture, QString *error);
QByteArray encodeTiff24(const QImage &picture);
QByteArray encodeBmp24(const QImage &picture);

// SavePictureEncoded: encode and write; false with *error on any failure.
bool SavePictureEncoded(
    const QImage &picture, const QString &path, const QString &extension, int quality, QString *error);
