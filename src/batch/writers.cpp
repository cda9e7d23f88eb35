#include "batch/writers.h"

#include "batch/committed_file.h"
#include "batch/file_names.h"
#include "batch/imaging/encoders.h"
#include "batch/imaging/heif_codec.h"
#include "batch/imaging/picture_metadata.h"
#include "batch/naming.h"
#include "batch/output_profile.h"
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
    plan.outputSize = surface.size();
    plan.iccProfile = outputProfileFor(job, picturePath, source.iccProfile());
    if (isHeifExtension(extension)) {
        HeifMetadata blocks;
        *leftOut = heifMetadataFor(source, plan, &blocks);
        return encodeHeif(surface, job.iJPGQ, extension.toLower() != QLatin1String("avif"), blocks, error);
    }
    QByteArray bytes = encodePicture(surface, extension, job.iJPGQ, error);
    if (!bytes.isEmpty())
        *leftOut = carryMetadata(bytes, source, plan);
    return bytes;
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
    const QString &extension = output.target.extension;
    QStringList leftOut;
    const QByteArray bytes = encodeOutput(job, picturePath, surface, extension, &leftOut, &error);
    if (bytes.isEmpty() || !publishOutput(job, picturePath, output, bytes, &out, &error)) {
        if (out.errorLine.isEmpty() && out.warning.isEmpty())
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
