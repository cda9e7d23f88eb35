#include "capture/new_picture_file.h"

#include "fs/new_picture_name.h"
#include "imaging/encoders.h"

#include <QCoreApplication>
#include <QDir>

QString writeNewPicture(const QByteArray &bytes, const QString &folder, const QString &stem,
    const QString &extension, QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error = QCoreApplication::translate("tuvo", "无法创建文件夹 ") + folder;
        return {};
    }
    const QString path = uniqueNewPicturePath(folder, stem, extension);
    if (!writeFileAtomically(path, bytes, error))
        return {};
    return path;
}

QString writeNewBitmap(const QImage &picture, const QString &folder, const QString &stem, QString *error)
{
    if (picture.isNull()) {
        *error = QCoreApplication::translate("tuvo", "没有图片");
        return {};
    }
    return writeNewPicture(encodeBmp24(picture), folder, stem, QStringLiteral("bmp"), error);
}
