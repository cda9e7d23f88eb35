#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

// Encodes a picture at a quality (lossless formats ignore it); empty with *error on failure.
using PictureEncoder = std::function<QByteArray(const QImage &picture, int quality, QString *error)>;

struct SizeLimits {
    qint64 maxBytes = 0; // 0: no limit
    qint64 minBytes = 0;
    int quality = 100; // the job's own quality, the highest one tried below maxBytes
    int minQuality = 30; // never below this for maxBytes
    bool lossy = false; // the quality changes the size
    bool mayScale = false; // the pixel size is not fixed by the size mode
};

struct FittedPicture {
    QByteArray bytes; // the chosen encoding; empty only on an encoder error
    QImage scaled; // the picture scaled down to fit; null when not scaled
    int quality = -1; // the chosen quality; -1 for lossless formats
    int encodes = 0;
    bool tooBig = false; // still over maxBytes: bytes is the smallest reached
    bool tooSmall = false; // still under minBytes at quality 100
    QString error;
};

// The highest quality from limits.quality down to minQuality whose file fits
// maxBytes, by bisection with at most seven encodes per pixel size; below the
// floor the picture is scaled down in steps when it may be. Under minBytes the
// quality is raised, up to 100.
FittedPicture fitFileSize(const QImage &picture, const SizeLimits &limits, const PictureEncoder &encode);

bool isLossyExtension(const QString &extension);

// "200 KB" style sizes for report lines.
QString fileSizeText(qint64 bytes);
