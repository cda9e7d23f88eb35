#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Writes the bytes of a picture the program made (document picture, camera still,
// screen capture) as folder/stem.extension, or stem_2.extension, ... when that
// name is taken. Creates folder when missing. Returns the path, or "" and *error.
QString writeNewPicture(const QByteArray &bytes, const QString &folder, const QString &stem,
    const QString &extension, QString *error);

// The same for a 24-bit Windows bitmap of picture.
QString writeNewBitmap(const QImage &picture, const QString &folder, const QString &stem, QString *error);
