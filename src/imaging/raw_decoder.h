#pragma once

#include "core/rotation.h"
#include "imaging/picture_loader.h"

#include <QSize>
#include <QString>
#include <QStringList>

// Camera RAW files through LibRaw: the camera's white balance, sRGB with its
// curve, 8 bits, highlights clipped and no automatic brightening, so a RAW looks
// like the camera's own JPEG of the same shot.

// The RAW extensions, lower case without the dot. Many are TIFF inside, so a
// RAW is told from a TIFF by its name.
const QStringList &rawExtensions();
bool isRawFileName(const QString &name);

// What LibRaw reads from the headers alone.
struct RawHeader {
    QSize sensorSize; // the developed picture's size as stored, before its turn
    qint64 rawPixels = 0; // the sensor's samples, margins included
    int rawSamples = 1; // per sensor pixel: 1 behind a colour filter, 3 or 4 when already RGB
    Turn turn = Turn::None; // what shows it upright
    QString error; // why the file cannot be read; empty when it can
};
RawHeader readRawHeader(const uchar *data, qint64 size);

// Whether LibRaw reads these bytes as a camera's sensor data (a DNG, or a
// maker's RAW that may look like a plain TIFF inside), for bytes with no name.
bool looksLikeCameraRaw(const uchar *data, qint64 size);

// Decodes as stored; *turn is what shows it upright. When minimumSize (as
// shown) fits in half the sensor, nothing is demosaiced: each Bayer quad gives
// one pixel, or each block of 2 x 2 or 4 x 4 quads when a quarter or an eighth
// of the sensor still gives minimumSize. originalSize is still the sensor's.
LoadedPicture decodeRaw(const uchar *data, qint64 size, QSize minimumSize, Turn *turn);

// The largest size decodeRaw gives for minimumSize (as shown) and the bytes LibRaw
// and the picture take on the way there.
struct RawDecodeNeed {
    QSize decodedSize;
    qint64 bytes = 0;
};
RawDecodeNeed rawDecodeNeed(const RawHeader &header, QSize minimumSize);

// The shooting time LibRaw reads from any RAW as EXIF writes it
// ("2024:05:01 14:30:00"); empty when the file has none.
QString rawShootingTime(const QString &path);
