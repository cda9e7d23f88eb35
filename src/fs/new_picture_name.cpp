#include "fs/new_picture_name.h"

#include <QDir>
#include <QFileInfo>

QString uniqueNewPicturePath(const QString &folder, const QString &base, const QString &extension)
{
    const QDir dir(folder);
    QString path = dir.filePath(base + QLatin1Char('.') + extension);
    for (int n = 2; QFileInfo::exists(path) && n < 100000; ++n)
        path = dir.filePath(base + QStringLiteral("_%1.").arg(n) + extension);
    return path;
}

QString timeStampedStem(const QString &prefix, const QDateTime &when, const QString &pattern)
{
    return prefix + when.toString(pattern);
}
