// tuvo-cli: the batch run without a window. Parses the command line into a
// JobSettings and hands it to the same BatchRun the desktop program uses.

#include "app/cli_host.h"
#include "app/cli_options.h"
#include "batch/batch_run.h"
#include "batch/chinese_fonts.h"
#include "batch/file_names.h"
#include "batch/frame_list.h"
#include "batch/imaging/picture_limits.h"
#include "batch/output_plan.h"
#include "batch/picture_files.h"
#include "batch/size_presets.h"
#include "batch/texts.h"
#include "cli_inputs.h"
#include "exif/exif_print.h"
#include "publish/publishing.h"
#include "settings/app_paths.h"
#include "settings/job_file.h"
#include "settings/job_restore.h"
#include "settings/settings_texts.h"
#include "settings/ui_language.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <iostream>

namespace {

constexpr int kExitErrors = 1;
constexpr int kExitCannotStart = 2;

void onSignal(int sig)
{
    if (CliHost::interrupts.fetch_add(1) > 0) {
        // Second interrupt: end now. Output is written through temporary files that
        // are renamed into place, so nothing half-written is left under a real name.
        std::signal(sig, SIG_DFL);
        std::raise(sig);
    }
}

// The offscreen platform complains about a missing runtime folder on headless
// machines; that says nothing about the run.
void quietHeadlessWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, message).toLocal8Bit().constData());
}

int cannotStart(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    return kExitCannotStart;
}

// What really happened: written n of m (with upload on, uploaded k of m), and
// where; a stopped run says so.
QString lastLine(const RunSummary &summary, const JobSettings &job)
{
    QString line = summary.stopped
        ? QCoreApplication::translate("tuvo", "已停止: 写出 %1/%2 张图片")
              .arg(summary.written)
              .arg(summary.total)
        : QCoreApplication::translate("tuvo", "写出 %1/%2 张图片").arg(summary.written).arg(summary.total);
    if (job.bUpload == 1)
        line += QCoreApplication::translate("tuvo", ", 上传 %1/%2").arg(summary.uploaded).arg(summary.total);
    if (summary.written > 0)
        line += QStringLiteral(" → ") + shownName(QDir::toNativeSeparators(job.sOutDir));
    return line;
}

// --dry-run: the plan of the run, with no picture read or written.
int dryRun(const RunShare &share, const JobSettings &job, CliHost &host, bool json)
{
    const StartCheck check = BatchRun::checkStart(share.pictures, job);
    if (check != StartCheck::Ok)
        return cannotStart(BatchRun::startCheckText(check));
    const OutputPlan plan = planOutputs(job, share.pictures, share.placement);
    std::fputs(plan.warnings.join(QString()).toLocal8Bit().constData(), stderr);
    bool refused = false;
    for (int i = 0; i < share.pictures.size(); ++i) {
        const PlannedOutput &out = plan.outputs[i];
        refused = refused || !out.errorLine.isEmpty();
        PictureReport report;
        report.position = share.placement.positionOf(i);
        report.source = share.pictures[i];
        if (out.write)
            report.output = out.path;
        else if (!out.errorLine.isEmpty())
            report.errorLines << out.errorLine;
        host.pictureDone(report);
        if (!json) {
            const QString line = shownName(report.source) + QStringLiteral(" -> ")
                + (out.write ? shownName(out.path) : QCoreApplication::translate("tuvo", "(不写)"))
                + QLatin1Char('\n');
            std::fputs(line.toLocal8Bit().constData(), stdout);
        }
    }
    if (json)
        host.printJsonSummary(int(share.pictures.size()), 0);
    return refused ? kExitErrors : 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHeadlessWarnings);
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tuvo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TUVO_VERSION));
    installChineseFontSubstitutes();
    installUiLanguage(app, languageFromEnvironment());

    // Qt decodes the arguments as UTF-8 and loses file names that are not; keep their bytes.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << decodeFileName(QByteArray(argv[i]));
    CliOptions options;
    QString error;
    if (arguments.isEmpty()) {
        std::fputs(cliUsageText().toLocal8Bit().constData(), stderr);
        return kExitCannotStart;
    }
    if (!parseCliOptions(arguments, &options, &error))
        return cannotStart(error);
    if (options.help) {
        std::fputs(cliHelpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("tuvo-cli %s\n", TUVO_VERSION);
        return 0;
    }
    if (!options.printExif.isEmpty()) {
        std::vector<std::string> files;
        for (const QString &file : QStringList {options.printExif} + options.inputs)
            files.push_back(encodeFileName(file).toStdString());
        return printExif(files, std::cout, std::cerr,
            QCoreApplication::translate("tuvo", "不是普通文件").toLocal8Bit().toStdString());
    }

    if (options.memoryLimitMB > 0)
        setPictureMemoryLimit(qint64(options.memoryLimitMB) * 1024 * 1024);

    const AppPaths paths = AppPaths::resolve();
    JobSettings job;
    if (options.fromSettings) {
        QString why;
        if (!loadCliJobFromSettings(job, paths, &why))
            return cannotStart(why);
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
            return cannotStart(cliMessage(texts::unknownPreset(options.preset) + QStringLiteral(" (")
                + titles.join(QStringLiteral(", ")) + QLatin1Char(')')));
        }
        for (const QString &file : {preset, options.jobFile}) {
            if (file.isEmpty())
                continue;
            const JobFileLoad load = readJobFile(file, paths, frames, job);
            if (!load.loaded)
                return cannotStart(load.messages.join(QLatin1Char('\n')));
            for (const QString &line : load.messages)
                std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
        }
    }
    const bool jobNamesOutput = job.sOutDir != outDirBeforeJob && !job.sOutDir.isEmpty();
    QStringList warnings;
    const bool applied = applyJobOptions(options, paths, frames, job, &warnings, &error);
    for (const QString &line : warnings)
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    if (!applied)
        return cannotStart(error);
    if (job.iuSize == kFitFrame && job.sFrameFile.isEmpty())
        job.sFrameFile = firstFrameIn(paths.bkDir());
    if (job.bPicMark == 1 && !job.suISyF.isEmpty() && !QFileInfo(job.suISyF).isFile())
        return cannotStart(QCoreApplication::translate("tuvo", "找不到水印图片: ") + job.suISyF);

    if (!options.saveJob.isEmpty()) {
        if (!options.outputDir.isEmpty())
            job.sOutDir = QFileInfo(options.outputDir).absoluteFilePath();
        if (!writeJobFile(job, options.saveJob, !options.outputDir.isEmpty() || jobNamesOutput, &error))
            return cannotStart(error);
        return 0;
    }
    if (options.inputs.isEmpty() && options.filesFrom.isEmpty()) {
        std::fputs(
            (cliMessage(texts::noPictures()) + QLatin1Char('\n') + cliUsageText()).toLocal8Bit().constData(),
            stderr);
        return kExitCannotStart;
    }
    if (options.outputDir.isEmpty() && jobNamesOutput) {
        if (!isDirectoryPath(job.sOutDir))
            return cannotStart(
                QCoreApplication::translate("tuvo", "输出文件夹不存在: ") + shownName(job.sOutDir));
    } else if (options.outputDir.isEmpty()) {
        if (!paths.ensureWritableFolders())
            return cannotStart(
                QCoreApplication::translate("tuvo", "无法创建默认输出文件夹: ") + paths.zpDir());
        job.sOutDir = paths.zpDir();
    } else {
        if (!isDirectoryPath(options.outputDir))
            return cannotStart(
                QCoreApplication::translate("tuvo", "输出文件夹不存在: ") + shownName(options.outputDir));
        job.sOutDir = QFileInfo(options.outputDir).absoluteFilePath();
    }
    if (job.bUpload == 1)
        job.sFtpPassword = qEnvironmentVariable("TUVO_FTP_PASSWORD");

    QStringList inputArguments = options.inputs;
    if (!options.filesFrom.isEmpty()
        && !readFileList(options.filesFrom, options.nullSeparated, &inputArguments, &error))
        return cannotStart(error);
    CliInputs inputs = collectInputs(inputArguments, options.recursive, paths);
    for (const QString &message : inputs.messages)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    const RunShare share
        = shareOfList(inputs, options.shard, options.shards, options.firstNumber, options.keepTree);

    CliHost host(options.quiet);
    host.setJson(options.json);
    host.setGivenSources(inputs.given);
    // A shard may get no picture of a short list: nothing to do is no failure.
    if (options.shards > 0 && share.pictures.isEmpty() && !inputs.pictures.isEmpty()) {
        if (options.json)
            host.printJsonSummary(0, 0);
        return inputs.hadProblem ? kExitErrors : 0;
    }
    if (options.dryRun)
        return dryRun(share, job, host, options.json);

    RunState state;
    BatchRun run(host, state);
    host.attach(&run);
    if (options.jobs > 0)
        run.setJobs(options.jobs);
    run.setPublishSteps(makePublishSteps(paths.userDir()));

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    run.setPlacement(share.placement);
    QElapsedTimer clock;
    clock.start();
    const RunSummary summary = run.StartRun(share.pictures, job);
    host.finishLine();
    if (options.json && summary.check == StartCheck::Ok)
        host.printJsonSummary(summary.total, clock.elapsed());

    if (summary.check != StartCheck::Ok)
        return kExitCannotStart;
    // The report holds the warnings too; without errors they are said alone.
    if (summary.hadError)
        std::fputs(summary.errorReport.toLocal8Bit().constData(), stderr);
    else
        std::fputs(summary.warnings.join(QString()).toLocal8Bit().constData(), stderr);
    if (!options.quiet)
        std::fprintf(stderr, "%s\n", lastLine(summary, job).toLocal8Bit().constData());
    const bool picturesLeft = summary.finished < summary.total;
    return summary.hadError || inputs.hadProblem || picturesLeft ? kExitErrors : 0;
}
