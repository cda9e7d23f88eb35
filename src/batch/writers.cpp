#include "batch/writers.h"

#include "batch/imaging/encoders.h"
#include "batch/naming.h"
#include "batch/texts.h"

#include <QDir>
#include <QFileInfo>

QSet<QString> protectedPathsFor(const QStringList &pictures)
{
    QSet<QString> paths;
    for (const QString &p : pictures) {
        const QString canonical = QFileInfo(p).canonicalFilePath();
        if (!canonical.isEmpty())
            paths.insert(canonical);
    }
    return paths;
}

static WriteOutcome writeWith(const JobSettings &job, const QString &picturePath, int position,
    const QImage &surface, const QSet<QString> &protectedPaths, const QString &extension)
{
    WriteOutcome out;
    out.path = QDir(job.sOutDir)
                   .filePath(outputBaseName(job, picturePath, position) + QLatin1Char('.') + extension);
    const QString existing = QFileInfo(out.path).canonicalFilePath();
    if (!existing.isEmpty() && protectedPaths.contains(existing)) {
        out.errorLine = texts::saveError(picturePath,
            QStringLiteral("输出文件") + out.path
                + QStringLiteral("就是要处理的原图片,为保护原图没有覆盖它"));
        return out;
    }
    if (!QFileInfo(job.sOutDir).isDir()) {
        out.errorLine = texts::saveError(picturePath, QStringLiteral("输出文件夹不存在:") + job.sOutDir);
        return out;
    }
    QString error;
    if (!SavePictureEncoded(surface, out.path, extension, job.iJPGQ, &error)) {
        out.errorLine = texts::saveError(picturePath, error);
        return out;
    }
    out.written = true;
    return out;
}

WriteOutcome SaveImg(const JobSettings &job, const QString &picturePath, int position, const QImage &surface,
    const QSet<QString> &protectedPaths)
{
    return writeWith(
        job, picturePath, position, surface, protectedPaths, outputTargetFor(job, picturePath).extension);
}

WriteOutcome SaveBMP(const JobSettings &job, const QString &picturePath, int position, const QImage &surface,
    const QSet<QString> &protectedPaths)
{
    return writeWith(job, picturePath, position, surface, protectedPaths, QStringLiteral("bmp"));
}

WriteOutcome writeOutput(const JobSettings &job, const QString &picturePath, int position,
    const QImage &surface, const QSet<QString> &protectedPaths)
{
    return outputTargetFor(job, picturePath).bmpWriter
        ? SaveBMP(job, picturePath, position, surface, protectedPaths)
        : SaveImg(job, picturePath, position, surface, protectedPaths);
}
