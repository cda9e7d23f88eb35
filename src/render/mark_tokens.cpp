#include "render/mark_tokens.h"

#include "exif/exif_reader.h"
#include "fs/file_names.h"
#include "imaging/raw_decoder.h"
#include "job/job_settings.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kExifDateTimeOriginal = 36867;

QString shootingTime(const QString &path)
{
    ExifReader reader;
    reader.picFile = encodeFileName(path).toStdString();
    reader.Load();
    const std::string value = reader.Tag(kExifDateTimeOriginal);
    // A camera RAW keeps its EXIF where only LibRaw finds it in every make.
    if (value.empty() && isRawFileName(path))
        return rawShootingTime(path);
    // A zero byte ends the text; whatever follows it is padding.
    return QString::fromUtf8(value.c_str());
}

// The ASCII spellings a reader of no Chinese can type; both work in every language.
QString chineseToken(const QString &token)
{
    static const QList<std::pair<QString, QString>> aliases = {
        {QStringLiteral("#date#"), QStringLiteral("#当前日期#")},
        {QStringLiteral("#time#"), QStringLiteral("#当前时间#")},
        {QStringLiteral("#exif-time#"), QStringLiteral("#JPG照片拍摄时间#")},
        {QStringLiteral("#file-name#"), QStringLiteral("#图片原文件名#")},
    };
    for (const auto &[alias, chinese] : aliases) {
        if (token == alias)
            return chinese;
    }
    return token;
}

} // namespace

QString markText(const QString &typed, const QString &picturePath, const QDateTime &now)
{
    const QString sText = chineseToken(typed);
    if (sText == QStringLiteral("#当前日期#"))
        return chineseDate(now.date());
    if (sText == QStringLiteral("#当前时间#"))
        return chineseDate(now.date()) + QLatin1Char(' ') + now.time().toString(QStringLiteral("HH:mm"));
    if (sText == QStringLiteral("#JPG照片拍摄时间#"))
        return shootingTime(picturePath);
    if (sText == QStringLiteral("#图片原文件名#"))
        return QFileInfo(picturePath).completeBaseName();
    return typed;
}
