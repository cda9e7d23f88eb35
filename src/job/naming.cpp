#include "job/naming.h"

#include "imaging/heif_codec.h"
#include "imaging/raw_decoder.h"

#include <QDir>
#include <QFileInfo>

OutputTarget outputTargetFor(const JobSettings &job, const QString &picturePath)
{
    return outputTargetFor(job, picturePath, heifEncoderAvailable(true));
}

OutputTarget outputTargetFor(const JobSettings &job, const QString &picturePath, bool hevcEncoder)
{
    OutputTarget t;
    const QString format = job.sFormat.toLower();
    if (format == QLatin1String("bmp")) {
        t.bmpWriter = true;
        t.extension = QStringLiteral("bmp");
    } else if (format == QStringLiteral("原格式")) {
        const QString last4 = picturePath.right(4);
        if (last4.compare(QLatin1String(".bmp"), Qt::CaseInsensitive) == 0) {
            t.bmpWriter = true;
            t.extension = QStringLiteral("bmp");
        } else if (!hevcEncoder
            && (last4.compare(QLatin1String("heic"), Qt::CaseInsensitive) == 0
                || last4.compare(QLatin1String("heif"), Qt::CaseInsensitive) == 0)) {
            t.extension = QStringLiteral("avif"); // the nearest format we can write
            t.avifForHeic = true;
        } else if (isRawFileName(picturePath)) {
            t.extension = QStringLiteral("jpg"); // a camera RAW cannot be written: the camera's own choice
        } else if (last4.startsWith(QLatin1Char('.'))) {
            t.extension = last4.mid(1);
        } else {
            t.extension = last4;
        }
    } else {
        t.extension = job.sOutExt.isEmpty() ? job.sFormat : job.sOutExt;
    }
    return t;
}

namespace {

QString paddedNumber(const JobSettings &job, int position)
{
    bool ok = false;
    int digits = job.iNumDigits.trimmed().toInt(&ok);
    if (!ok || digits < 0)
        digits = 0;
    digits = qMin(digits, 32);
    return QStringLiteral("%1").arg(position, digits, 10, QLatin1Char('0'));
}

// %s the source's name without its extension, %n the number, %e the source's
// extension, %% a percent sign; anything else stands as written.
QString nameFromTemplate(const JobSettings &job, const QString &stem, const QString &extension, int position)
{
    const QString &t = job.sNameTemplate;
    QString name;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar next = i + 1 < t.size() ? t[i + 1] : QChar();
        if (t[i] != QLatin1Char('%') || !QStringLiteral("sne%").contains(next)) {
            name += t[i];
            continue;
        }
        ++i;
        if (next == QLatin1Char('s'))
            name += stem;
        else if (next == QLatin1Char('n'))
            name += paddedNumber(job, position);
        else if (next == QLatin1Char('e'))
            name += extension;
        else
            name += QLatin1Char('%');
    }
    // A job file may hold any text: a name never leads out of the output folder.
    name.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QChar(0), QLatin1Char('_'));
    return name;
}

} // namespace

QString outputBaseName(const JobSettings &job, const QString &picturePath, int position)
{
    const QString name = QFileInfo(picturePath).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot < 0 ? name : name.left(dot);
    if (!job.sNameTemplate.isEmpty())
        return nameFromTemplate(job, stem, dot < 0 ? QString() : name.mid(dot + 1), position);
    if (job.bRename == 1)
        return job.sPrefix + paddedNumber(job, position);
    return stem;
}

QString outputPath(const JobSettings &job, const QString &picturePath, int position)
{
    const OutputTarget t = outputTargetFor(job, picturePath);
    return QDir(job.sOutDir)
        .filePath(outputBaseName(job, picturePath, position) + QLatin1Char('.') + t.extension);
}

QString prefixForPreset(const QString &preset, const QDateTime &now)
{
    if (preset == QStringLiteral("#当前日期#"))
        return now.toString(QStringLiteral("yyyyMMdd_"));
    if (preset == QStringLiteral("#当前时间#"))
        return now.toString(QStringLiteral("HHmmss_"));
    if (preset == QStringLiteral("#日期和时间#"))
        return now.toString(QStringLiteral("yyyyMMddHHmmss_"));
    return QString();
}
