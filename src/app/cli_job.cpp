#include "app/cli_job.h"

#include "fs/app_paths.h"
#include "fs/file_names.h"
#include "imaging/chinese_fonts.h"
#include "imaging/heif_codec.h"
#include "imaging/raw_decoder.h"
#include "job/frame_list.h"
#include "job/job_file.h"
#include "job/settings_texts.h"
#include "job/size_presets.h"
#include "render/texts.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImageReader>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// Options that change nothing in this run are said, not silently passed over.
void warnAboutIdleOptions(const CliOptions &options, const JobSettings &job, QStringList &said)
{
    const auto runGiven = [&options](const char *name) {
        return options.givenRunOptions.contains(QLatin1String(name));
    };
    const QString idle = QCoreApplication::translate("tuvo", "没有 %1 时不起作用");
    if (runGiven("keep-tree") && !options.recursive)
        said << optionMessage("--keep-tree", idle.arg(QStringLiteral("-R")));
    if (runGiven("first-number") && job.bRename != 1 && !job.sNameTemplate.contains(QStringLiteral("%n")))
        said << optionMessage("--first-number", idle.arg(QStringLiteral("--rename")));
    const bool fontGiven = std::any_of(options.jobOptions.begin(), options.jobOptions.end(),
        [](const JobOption &o) { return o.spelling && qstrcmp(o.spelling->longName, "font") == 0; });
    if (!fontGiven)
        return;
    if (job.bTextMark != 1) {
        said << optionMessage("--font", idle.arg(QStringLiteral("--text")));
        return;
    }
    installChineseFontSubstitutes(); // "黑体" and its kin are found through them
    QStringList families = QFont::substitutes(job.sFont);
    families.prepend(job.sFont);
    if (std::none_of(
            families.begin(), families.end(), [](const QString &f) { return QFontDatabase::hasFamily(f); }))
        said << optionMessage("--font",
            QCoreApplication::translate("tuvo", "没有安装字体“%1”, 文字将用默认字体写出").arg(job.sFont));
}

// Where -o points must be a folder this user may write into; said before any
// picture is rendered.
QString outputFolderProblem(const QString &folder)
{
    if (!pathExists(folder))
        return QCoreApplication::translate("tuvo", "输出文件夹不存在: ") + shownName(folder);
    if (!isDirectoryPath(folder))
        return QCoreApplication::translate("tuvo", "不是文件夹: ") + shownName(folder);
    if (::access(encodeFileName(folder).constData(), W_OK | X_OK) != 0)
        return QCoreApplication::translate("tuvo", "输出文件夹不能写入: ") + shownName(folder)
            + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    return QString();
}

// The extension a picture's bytes call for; empty when no reader knows them.
QString pictureExtensionOf(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    if (looksLikeHeif(data, bytes.size()))
        return bytes.mid(8, 4) == "avif" ? QStringLiteral("avif") : QStringLiteral("heic");
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QString format = QString::fromLatin1(QImageReader::imageFormat(&buffer));
    // Most camera RAWs are TIFF inside, and the rest no Qt reader knows.
    if ((format.isEmpty() || format == QLatin1String("tiff")) && looksLikeCameraRaw(data, bytes.size()))
        return QStringLiteral("raw");
    return format == QLatin1String("jpeg") ? QStringLiteral("jpg") : format;
}

// "-" as the one input: standard input's bytes as a picture file named "stdin"
// with the extension its contents call for.
bool takePictureFromStdin(const QString &folder, QString *path, QString *error)
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        *error = QCoreApplication::translate("tuvo", "无法读取标准输入");
        return false;
    }
    const QByteArray bytes = in.readAll();
    QString extension = pictureExtensionOf(bytes);
    if (extension.isEmpty()) {
        *error = QCoreApplication::translate("tuvo", "标准输入不是认得的图片");
        return false;
    }
    *path = QDir(folder).filePath(QStringLiteral("stdin.") + extension);
    QFile file(*path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

// The job up to where its pictures go: settings or a fresh job, saved jobs, options.
bool assembleSettings(const CliOptions &options, const AppPaths &paths, CliJob &r, bool *jobNamesOutput)
{
    JobSettings &job = r.job;
    if (options.fromSettings) {
        if (!loadCliJobFromSettings(job, paths, &r.error))
            return false;
    } else {
        job.SizePresets = readSizePresets(paths.sizeIni());
    }
    if (job.sPDF3.isEmpty())
        job.sPDF3 = chineseDate(QDate::currentDate());

    FrameList frames;
    frames.loadFolder(paths.bkDir());
    const QString outDirBeforeJob = job.sOutDir;
    if (!options.preset.isEmpty() || !options.jobFile.isEmpty()) {
        const QString preset = options.preset.isEmpty() ? QString() : findJobPreset(options.preset, paths);
        if (!options.preset.isEmpty() && preset.isEmpty()) {
            QStringList titles;
            for (const QString &name : jobPresetNames(paths))
                titles << jobPresetTitle(name);
            r.error = cliMessage(texts::unknownPreset(options.preset) + QStringLiteral(" (")
                + titles.join(QStringLiteral(", ")) + QLatin1Char(')'));
            return false;
        }
        for (const QString &file : {preset, options.jobFile}) {
            if (file.isEmpty())
                continue;
            const JobFileLoad load = readJobFile(file, paths, frames, job);
            if (!load.loaded) {
                r.error = load.messages.join(QLatin1Char('\n'));
                return false;
            }
            r.messages << load.messages;
        }
    }
    *jobNamesOutput = job.sOutDir != outDirBeforeJob && !job.sOutDir.isEmpty();
    const bool applied = applyJobOptions(options, paths, frames, job, &r.messages, &r.error);
    if (!applied)
        return false;
    if (job.iuSize == kFitFrame && job.sFrameFile.isEmpty())
        job.sFrameFile = firstFrameIn(paths.bkDir());
    if (job.bPicMark == 1 && !job.suISyF.isEmpty() && !QFileInfo(job.suISyF).isFile()) {
        r.error
            = optionMessage("--mark", QCoreApplication::translate("tuvo", "找不到水印图片: ") + job.suISyF);
        return false;
    }
    warnAboutIdleOptions(options, job, r.messages);
    return true;
}

// Where the pictures go: -o, standard output, the saved job's folder or the default one.
bool assembleOutput(const CliOptions &options, const AppPaths &paths, bool jobNamesOutput, CliJob &r)
{
    JobSettings &job = r.job;
    if (r.toStdout) {
        job.sOutDir = r.scratch->filePath(QStringLiteral("out"));
        QDir().mkpath(job.sOutDir);
        r.shownOutput = QCoreApplication::translate("tuvo", "标准输出");
        return true;
    }
    if (options.outputDir.isEmpty() && jobNamesOutput) {
        const QString problem = outputFolderProblem(job.sOutDir);
        if (!problem.isEmpty())
            r.error = cliMessage(problem);
    } else if (options.outputDir.isEmpty()) {
        if (!paths.ensureWritableFolders())
            r.error
                = cliMessage(QCoreApplication::translate("tuvo", "无法创建默认输出文件夹: ") + paths.zpDir());
        job.sOutDir = paths.zpDir();
    } else {
        const QString problem = outputFolderProblem(options.outputDir);
        if (!problem.isEmpty())
            r.error = optionMessage("-o/--output", problem);
        job.sOutDir = absoluteFileName(options.outputDir);
    }
    r.shownOutput = shownName(job.sOutDir);
    return r.error.isEmpty();
}

} // namespace

CliJob::~CliJob()
{
    for (const QString &made : std::as_const(inputs.madeFiles))
        QFile::remove(made);
}

QString optionMessage(const char *option, const QString &text)
{
    return cliMessage(QLatin1String(option) + QStringLiteral(": ") + text);
}

CliJob assembleCliJob(const CliOptions &options, const AppPaths &paths)
{
    CliJob r;
    bool jobNamesOutput = false;
    if (!assembleSettings(options, paths, r, &jobNamesOutput))
        return r;
    JobSettings &job = r.job;
    if (!options.saveJob.isEmpty()) {
        if (!options.outputDir.isEmpty())
            job.sOutDir = absoluteFileName(options.outputDir);
        r.saved
            = writeJobFile(job, options.saveJob, !options.outputDir.isEmpty() || jobNamesOutput, &r.error);
        return r;
    }
    if (options.inputs.isEmpty() && options.filesFrom.isEmpty()) {
        r.error = cliMessage(texts::noPictures()) + QLatin1Char('\n') + cliUsageText();
        return r;
    }
    // Standard streams: "-" as the one input, "-o -" for the one output. Both go
    // through files of a scratch folder, as the run reads and writes files.
    r.toStdout = options.outputDir == QLatin1String("-");
    const bool fromStdin = options.inputs.contains(QStringLiteral("-"));
    if (r.toStdout || fromStdin) {
        r.scratch = std::make_unique<QTemporaryDir>();
        if (!r.scratch->isValid()) {
            r.error = cliMessage(r.scratch->errorString());
            return r;
        }
    }
    if (r.toStdout && options.json) {
        r.error = optionMessage(
            "-o -", QCoreApplication::translate("tuvo", "图片写到标准输出时不能同时用 --json"));
        return r;
    }
    if (fromStdin && (options.inputs.size() > 1 || options.filesFrom == QLatin1String("-"))) {
        r.error = cliMessage(QCoreApplication::translate("tuvo", "\"-\" (标准输入) 只能是唯一的输入"));
        return r;
    }
    if (!assembleOutput(options, paths, jobNamesOutput, r))
        return r;
    if (job.bUpload == 1)
        job.sFtpPassword = qEnvironmentVariable("TUVO_FTP_PASSWORD");
    // A watch takes its folders as they are and looks into them itself.
    if (options.watch) {
        if (r.toStdout)
            r.error = optionMessage("-o -", QCoreApplication::translate("tuvo", "监视时不能写到标准输出"));
        return r;
    }

    QStringList inputArguments = options.inputs;
    if (fromStdin) {
        QString picture, why;
        if (!takePictureFromStdin(r.scratch->path(), &picture, &why)) {
            r.error = cliMessage(QStringLiteral("-: ") + why);
            return r;
        }
        inputArguments = {picture};
    }
    if (!options.filesFrom.isEmpty()
        && !readFileList(options.filesFrom, options.nullSeparated, &inputArguments, &r.error))
        return r;
    r.inputs = collectInputs(inputArguments, options.recursive, paths, job.sOutDir);
    if (fromStdin)
        r.inputs.given = QStringList {QStringLiteral("-")};
    r.messages << r.inputs.messages;
    if (r.toStdout && r.inputs.pictures.size() != 1) {
        r.error = optionMessage("-o -",
            QCoreApplication::translate("tuvo", "写到标准输出时只能处理一张图片, 这里有%1张")
                .arg(r.inputs.pictures.size()));
        return r;
    }
    r.share = shareOfList(r.inputs, options.shard, options.shards, options.firstNumber, options.keepTree);
    return r;
}
