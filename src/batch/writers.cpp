#include "batch/writers.h"

#include "batch/file_names.h"
#include "batch/imaging/encoders.h"
#include "batch/imaging/heif_codec.h"
#include "batch/imaging/picture_metadata.h"
#include "batch/naming.h"
#include "batch/output_profile.h"
#include "batch/pipeline_steps.h"
#include "batch/texts.h"

#include <QCoreApplication>
#include <QDir>

#include <fcntl.h>
#include <sys/stat.h>

ProtectedFiles protectedFilesFor(const QStringList &pictures)
{
    ProtectedFiles files;
    for (const QString &p : pictures) {
        if (const auto id = fileIdentity(p))
            files.insert(*id);
    }
    return files;
}

// Photo managers sort by file time: the output keeps the source's. A source
// whose time cannot be read leaves the output as written.
static void copyModificationTime(const QString &source, const QString &output)
{
    struct stat info { };
    if (::stat(encodeFileName(source).constData(), &info) != 0)
        return;
    const timespec times[2] = {info.st_atim, info.st_mtim};
    ::utimensat(AT_FDCWD, encodeFileName(output).constData(), times, 0);
}

// The output's bytes with what the job keeps of the source's metadata and colour
// profile: written into the encoded file, or for HEIC/AVIF handed to the encoder.
// Metadata never costs the picture: what cannot be read is left out and named.
static QByteArray encodeOutput(const JobSettings &job, const QString &picturePath, const QImage &surface,
    const QString &extension, QStringList *leftOut, QString *error)
{
    if (!extensionCarriesMetadata(extension))
        return encodePicture(surface, extension, job.iJPGQ, error);
    // Stripping reads nothing but the colour profile, so damaged tags cannot matter.
    const SourceMetadata source = SourceMetadata::fromFile(picturePath, job.iMetadata == kStripMetadata);
    MetadataPlan plan;
    plan.choice = job.iMetadata;
    plan.pixelsTurned = rotationTurnsPixels(job, picturePath);
    plan.outputSize = surface.size();
    plan.iccProfile = outputProfileFor(job, picturePath, source.iccProfile());
    if (isHeifExtension(extension)) {
        // HEIF readers ignore the EXIF orientation (libheif cannot write irot here):
        // an unturned photo is turned upright now, or it would show lying on its side.
        const QImage upright = plan.pixelsTurned ? surface : uprightPicture(picturePath, surface);
        if (upright.cacheKey() != surface.cacheKey()) {
            plan.pixelsTurned = true;
            plan.outputSize = upright.size();
        }
        HeifMetadata blocks;
        *leftOut = heifMetadataFor(source, plan, &blocks);
        return encodeHeif(upright, job.iJPGQ, extension.toLower() != QLatin1String("avif"), blocks, error);
    }
    QByteArray bytes = encodePicture(surface, extension, job.iJPGQ, error);
    if (!bytes.isEmpty())
        *leftOut = carryMetadata(bytes, source, plan);
    return bytes;
}

WriteOutcome writePlanned(const JobSettings &job, const QString &picturePath, const PlannedOutput &output,
    const QImage &surface, const ProtectedFiles &protectedFiles)
{
    WriteOutcome out;
    out.path = output.path;
    const auto existing = fileIdentity(out.path);
    if (existing && protectedFiles.count(*existing) > 0) {
        out.errorLine = texts::saveError(picturePath,
            QCoreApplication::translate("tuvo", "输出文件") + out.path
                + QCoreApplication::translate("tuvo", "就是要处理的原图片,为保护原图没有覆盖它"));
        return out;
    }
    if (!isDirectoryPath(job.sOutDir)) {
        out.errorLine = texts::saveError(
            picturePath, QCoreApplication::translate("tuvo", "输出文件夹不存在:") + job.sOutDir);
        return out;
    }
    QString error;
    if (!output.subFolder.isEmpty() && !makeSubFolders(job.sOutDir, output.subFolder, &error)) {
        out.errorLine = texts::saveError(picturePath, error);
        return out;
    }
    const QString &extension = output.target.extension;
    QStringList leftOut;
    const QByteArray bytes = encodeOutput(job, picturePath, surface, extension, &leftOut, &error);
    if (bytes.isEmpty() || !writeFileAtomically(out.path, bytes, &error)) {
        out.errorLine = texts::saveError(picturePath, error);
        return out;
    }
    if (!leftOut.isEmpty())
        out.warning = texts::metadataLeftOut(picturePath, leftOut.join(QStringLiteral(", ")));
    if (job.bKeepFileTime == 1)
        copyModificationTime(picturePath, out.path);
    out.written = true;
    out.bytes = qMax<qint64>(0, fileSize(out.path));
    return out;
}

static WriteOutcome writeWith(const JobSettings &job, const QString &picturePath, int position,
    const QImage &surface, const ProtectedFiles &protectedFiles, const OutputTarget &target)
{
    PlannedOutput output;
    output.target = target;
    output.path
        = QDir(job.sOutDir)
              .filePath(outputBaseName(job, picturePath, position) + QLatin1Char('.') + target.extension);
    return writePlanned(job, picturePath, output, surface, protectedFiles);
}

WriteOutcome SaveImg(const JobSettings &job, const QString &picturePath, int position, const QImage &surface,
    const ProtectedFiles &protectedFiles)
{
    return writeWith(job, picturePath, position, surface, protectedFiles, outputTargetFor(job, picturePath));
}

WriteOutcome SaveBMP(const JobSettings &job, const QString &picturePath, int position, const QImage &surface,
    const ProtectedFiles &protectedFiles)
{
    return writeWith(job, picturePath, position, surface, protectedFiles, {true, QStringLiteral("bmp")});
}

WriteOutcome writeOutput(const JobSettings &job, const QString &picturePath, int position,
    const QImage &surface, const ProtectedFiles &protectedFiles)
{
    return outputTargetFor(job, picturePath).bmpWriter
        ? SaveBMP(job, picturePath, position, surface, protectedFiles)
        : SaveImg(job, picturePath, position, surface, protectedFiles);
}
