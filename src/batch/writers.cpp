#include "batch/writers.h"

#include "batch/imaging/encoders.h"
#include "batch/imaging/picture_metadata.h"
#include "batch/naming.h"
#include "batch/output_profile.h"
#include "batch/pipeline_steps.h"
#include "batch/texts.h"

#include <QCoreApplication>
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

// Between encoding and committing the file: what the job keeps of the source's
// metadata and colour profile goes into the encoded bytes, or the output fails.
static bool carrySourceMetadata(const JobSettings &job, const QString &picturePath, QSize size,
    const QString &extension, QByteArray &bytes, QString *error)
{
    if (!extensionCarriesMetadata(extension))
        return true;
    const SourceMetadata source = SourceMetadata::fromFile(picturePath, error);
    if (!source.ok())
        return false;
    MetadataPlan plan;
    plan.choice = job.iMetadata;
    plan.pixelsTurned = rotationTurnsPixels(job, picturePath);
    plan.outputSize = size;
    plan.iccProfile = outputProfileFor(job, picturePath, source.iccProfile());
    return carryMetadata(bytes, source, plan, error);
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
            QCoreApplication::translate("tuvo", "输出文件") + out.path
                + QCoreApplication::translate("tuvo", "就是要处理的原图片,为保护原图没有覆盖它"));
        return out;
    }
    if (!QFileInfo(job.sOutDir).isDir()) {
        out.errorLine = texts::saveError(
            picturePath, QCoreApplication::translate("tuvo", "输出文件夹不存在:") + job.sOutDir);
        return out;
    }
    QString error;
    QByteArray bytes = encodePicture(surface, extension, job.iJPGQ, &error);
    if (bytes.isEmpty() || !carrySourceMetadata(job, picturePath, surface.size(), extension, bytes, &error)
        || !writeFileAtomically(out.path, bytes, &error)) {
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
