#include "run/writers.h"

#include "fs/committed_file.h"
#include "fs/file_names.h"
#include "imaging/encoders.h"
#include "imaging/heif_codec.h"
#include "imaging/picture_metadata.h"
#include "job/naming.h"
#include "job/output_profile.h"
#include "render/texts.h"
#include "run/file_size_fit.h"

#include <QCoreApplication>
#include <QDir>

#include <fcntl.h>
#include <memory>
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

// Encodes with what the job keeps of the source's metadata and colour profile:
// written into the encoded file, or for HEIC/AVIF handed to the encoder. The
// source is read once for all the encodes a size search makes. Metadata never
// costs the picture: what cannot be read is left out and named in *leftOut.
static PictureEncoder outputEncoder(
    const JobSettings &job, const QString &picturePath, const QString &extension, QStringList *leftOut)
{
    if (!extensionCarriesMetadata(extension)) {
        return [extension](const QImage &surface, int quality, QString *error) {
            return encodePicture(surface, extension, quality, error);
        };
    }
    // Stripping reads nothing but the colour profile, so damaged tags cannot matter.
    auto source = std::make_shared<const SourceMetadata>(
        SourceMetadata::fromFile(picturePath, job.iMetadata == kStripMetadata));
    const QByteArray profile = outputProfileFor(job, picturePath, source->iccProfile());
    const int choice = job.iMetadata;
    return [=](const QImage &surface, int quality, QString *error) {
        MetadataPlan plan;
        plan.choice = choice;
        plan.outputSize = surface.size();
        plan.iccProfile = profile;
        if (isHeifExtension(extension)) {
            HeifMetadata blocks;
            *leftOut = heifMetadataFor(*source, plan, &blocks);
            return encodeHeif(surface, quality, extension.toLower() != QLatin1String("avif"), blocks, error);
        }
        QByteArray bytes = encodePicture(surface, extension, quality, error);
        if (!bytes.isEmpty())
            *leftOut = carryMetadata(bytes, *source, plan);
        return bytes;
    };
}

bool sizeIsFixed(const JobSettings &job)
{
    return job.iuSize != kLimitWidth && job.iuSize != kOriginalSize && job.iuSize != job.fitInsideIndex();
}

FittedPicture encodeForJob(const JobSettings &job, const QString &picturePath, const QImage &surface,
    const QString &extension, QStringList *leftOut)
{
    SizeLimits limits;
    limits.maxBytes = job.iMaxBytes;
    limits.minBytes = job.iMinBytes;
    limits.quality = job.iJPGQ;
    limits.minQuality = qMin(job.iMinQuality, job.iJPGQ);
    limits.lossy = isLossyExtension(extension);
    limits.mayScale = !sizeIsFixed(job);
    const PictureEncoder encode = outputEncoder(job, picturePath, extension, leftOut);
    if (limits.maxBytes <= 0 && limits.minBytes <= 0) {
        FittedPicture out;
        out.bytes = encode(surface, job.iJPGQ, &out.error);
        out.quality = limits.lossy ? job.iJPGQ : -1;
        return out;
    }
    return fitFileSize(surface, limits, encode);
}

QString sizeLimitError(const JobSettings &job, const QString &picturePath, const FittedPicture &fitted)
{
    const QString reached = fitted.quality >= 0
        ? QCoreApplication::translate("tuvo", "质量降到%1时文件仍有%2")
              .arg(fitted.quality)
              .arg(fileSizeText(fitted.bytes.size()))
        : QCoreApplication::translate("tuvo", "文件有%1").arg(fileSizeText(fitted.bytes.size()));
    return texts::saveError(picturePath,
        reached
            + QCoreApplication::translate("tuvo", ", 超过上限%1, 没有写出").arg(fileSizeText(job.iMaxBytes)));
}

QString sizeLimitWarning(const JobSettings &job, const QString &picturePath, const FittedPicture &fitted)
{
    return QCoreApplication::translate("tuvo", "【提示】%1的输出文件只有%2, 小于下限%3。\r\n")
        .arg(shownName(picturePath), fileSizeText(fitted.bytes.size()), fileSizeText(job.iMinBytes));
}

// Commits the bytes under the planned name. Only "overwrite" replaces a file;
// the other rules never do, also when another run wrote the name after the plan
// was made: "number" then takes the next free number, "skip" and "fail" say so.
static bool publishOutput(const JobSettings &job, const QString &picturePath, const PlannedOutput &output,
    const QByteArray &bytes, WriteOutcome *out, QString *error)
{
    CommittedFile file(out->path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        *error = file.errorString();
        return false;
    }
    if (job.iOnClash == kClashOverwrite) {
        if (file.commit())
            return true;
        *error = file.errorString();
        return false;
    }
    int number = output.number;
    while (!file.commitNew(out->path)) {
        if (!file.clashed()) {
            *error = file.errorString();
            return false;
        }
        if (job.iOnClash == kClashNumber) {
            number = qMax(number + 1, 2);
            out->path = output.numberedPath(number);
        } else if (job.iOnClash == kClashSkip) {
            out->warning = texts::clashSkipped(picturePath, out->path);
            return false;
        } else {
            out->errorLine = texts::saveError(picturePath, texts::clashRefused(out->path));
            return false;
        }
    }
    return true;
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
    QStringList leftOut;
    const FittedPicture fitted = encodeForJob(job, picturePath, surface, output.target.extension, &leftOut);
    out.quality = fitted.quality;
    out.size = fitted.scaled.isNull() ? surface.size() : fitted.scaled.size();
    out.scaled = !fitted.scaled.isNull();
    out.overLimit = fitted.tooBig || fitted.tooSmall;
    if (fitted.tooBig) {
        out.errorLine = sizeLimitError(job, picturePath, fitted);
        return out;
    }
    error = fitted.error;
    if (fitted.bytes.isEmpty() || !publishOutput(job, picturePath, output, fitted.bytes, &out, &error)) {
        if (out.errorLine.isEmpty() && out.warning.isEmpty())
            out.errorLine = texts::saveError(picturePath, error);
        return out;
    }
    if (!leftOut.isEmpty())
        out.warning = texts::metadataLeftOut(picturePath, leftOut.join(QStringLiteral(", ")));
    if (fitted.tooSmall)
        out.warning += sizeLimitWarning(job, picturePath, fitted);
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
    output.stem = QDir(job.sOutDir).filePath(outputBaseName(job, picturePath, position));
    output.path = output.stem + QLatin1Char('.') + target.extension;
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
