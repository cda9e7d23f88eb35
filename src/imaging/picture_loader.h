#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// A decoded picture. image may be smaller than originalSize when the decoder
// scaled it down while decoding (JPEG DCT scaling); coordinates in the original
// picture map to image by image.width() / originalSize.width().
struct LoadedPicture {
    QImage image; // RGB32 or ARGB32, upright: turned as the file's orientation says
    QSize originalSize; // the picture's own pixel size, as it is shown
    QString error; // why loading failed; empty on success
    QByteArray iccProfile; // the profile image's pixels are in; empty: sRGB (CMYK is converted)

    bool ok() const { return !image.isNull(); }
};

// Reads only the header: the picture's pixel size as it is shown (width and
// height exchanged for an orientation that turns it sideways), or an invalid
// size and *error.
QSize probePictureSize(const QString &path, QString *error = nullptr);

// Decodes path. With a valid minimumSize the decoder may scale down, but never
// below minimumSize in either direction.
LoadedPicture loadPicture(const QString &path, QSize minimumSize = QSize());

// The most memory decoding path at minimumSize (as loadPicture would) takes,
// worked out from its headers alone.
struct DecodeMemoryNeed {
    QSize decodedSize; // what the pixels decode to
    qint64 decoding = 0; // the decoder's buffers and the file's own bytes
    qint64 metadata = 0; // reading the metadata blocks (text chunks cost even when not kept)
};
DecodeMemoryNeed decodeMemoryNeed(const QString &path, QSize minimumSize, bool withMetadata);
