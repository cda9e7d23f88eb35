#pragma once

#include <QDateTime>
#include <QString>

// A path for a picture the program makes itself (crop, camera still, screen
// capture, dropped bitmap, document picture): folder/base.ext, or base_2.ext,
// base_3.ext, ... when that name is taken, so a picture made within the same
// second never replaces an earlier one.
QString uniqueNewPicturePath(const QString &folder, const QString &base, const QString &extension);

// "user" + yyyymmddhhmmss, the stem of crops and screen captures.
QString timeStampedStem(
    const QString &prefix, const QDateTime &when, const QString &pattern = QStringLiteral("yyyyMMddHHmmss"));
