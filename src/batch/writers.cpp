#include "batch/writers.h"

#include "batch/imaging/encoders.h"
#include "batch/naming.h"
#include "batch/texts.h"

#include <QDir>

ProtectedFiles protectedFilesFor(const QStringList &pictures)
{
    ProtectedFiles files;
    for (const QString &p : pictures) {
        if (const auto id = fileIdentity(p))
            files.insert(*id);
    }
    return files;
}

WriteOutcome writePlanned(const JobSettings &job, const QString &picturePath, const PlannedOutput &output,
    const QImage &surface, const ProtectedFiles &protectedFiles)
{
    WriteOutcome out;
    out.path = output.path;
    const auto existing = fileIdentity(out.path);
    if (existing && protectedFiles.count(*existing) > 0) {
        out.errorLine = texts::saveError(picturePath,
            QStringLiteral("输出文件") + out.path
                + QStringLiteral("就是要处理的原图片,为保护原图没有覆盖它"));
        return out;
    }
    if (!isDirectoryPath(job.sOutDir)) {
        out.errorLine = texts::saveError(picturePath, QStringLiteral("输出文件夹不存在:") + job.sOutDir);
        return out;
    }
    QString error;
    if (!output.subFolder.isEmpty() && !makeSubFolders(job.sOutDir, output.subFolder, &error)) {
        out.errorLine = texts::saveError(picturePath, error);
        return out;
    }
    if (!SavePictureEncoded(surface, out.path, output.target.extension, job.iJPGQ, &error)) {
        out.errorLine = texts::saveError(picturePath, error);
        return out;
    }
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
