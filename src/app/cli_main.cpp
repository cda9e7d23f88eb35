// tuvo-cli: the batch run without a window. Parses the command line into a
// JobSettings and hands it to the same BatchRun the desktop program uses.

#include "app/cli_host.h"
#include "app/cli_job.h"
#include "app/cli_options.h"
#include "app/cli_watch.h"
#include "app/terminal_text.h"
#include "cli_inputs.h"
#include "exif/exif_print.h"
#include "fs/app_paths.h"
#include "fs/file_names.h"
#include "imaging/chinese_fonts.h"
#include "imaging/heif_codec.h"
#include "imaging/picture_files.h"
#include "imaging/picture_limits.h"
#include "imaging/picture_loader.h"
#include "job/frame_list.h"
#include "job/job_file.h"
#include "job/job_restore.h"
#include "job/settings_texts.h"
#include "job/size_presets.h"
#include "publish/publishing.h"
#include "render/pipeline.h"
#include "render/texts.h"
#include "run/batch_run.h"
#include "run/output_plan.h"
#include "run/writers.h"
#include "settings/ui_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace {

constexpr int kExitErrors = 1;

void onSignal(int sig)
{
    CliHost::countSignal(sig);
}

// The offscreen platform complains about a missing runtime folder on headless
// machines; that says nothing about the run.
void quietHeadlessWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, message).toLocal8Bit().constData());
}

// What really happened: written n of m (with upload on, uploaded k of m), and
// where; a stopped run says so.
QString lastLine(const RunSummary &summary, const JobSettings &job, const QString &shownOutput)
{
    QString line = summary.stopped
        ? QCoreApplication::translate("tuvo", "已停止: 写出 %1/%2 张图片")
              .arg(summary.written)
              .arg(summary.total)
        : QCoreApplication::translate("tuvo", "写出 %1/%2 张图片").arg(summary.written).arg(summary.total);
    if (job.bUpload == 1)
        line += QCoreApplication::translate("tuvo", ", 上传 %1/%2").arg(summary.uploaded).arg(summary.total);
    if (job.iMaxBytes > 0 || job.iMinBytes > 0)
        line += QCoreApplication::translate("tuvo", ", 为符合文件大小缩小 %1 张, 不符合 %2 张")
                    .arg(summary.scaledToFit)
                    .arg(summary.overLimit);
    if (summary.written > 0)
        line += QStringLiteral(" → ") + shownOutput;
    return line;
}

// Warnings of a plan in the conditional: a dry run saves nothing.
QStringList dryRunWarnings(const OutputPlan &plan, const QStringList &pictures)
{
    QStringList lines;
    bool saidAvif = false; // once per run
    for (int i = 0; i < plan.outputs.size(); ++i) {
        const PlannedOutput &out = plan.outputs[i];
        if (out.target.avifForHeic && !saidAvif) {
            lines << QCoreApplication::translate(
                "tuvo", "【提示】本机没有HEVC编码器,按原格式应写成HEIC的图片将写成AVIF。");
            saidAvif = true;
        }
        if (out.write || !out.errorLine.isEmpty())
            continue;
        int later = i + 1;
        while (later < plan.outputs.size()
            && !(plan.outputs[later].write && plan.outputs[later].path == out.path))
            ++later;
        if (later < plan.outputs.size())
            lines << QCoreApplication::translate("tuvo", "【提示】%1和%2的输出文件同名(%3),将只保存后者。")
                         .arg(shownName(pictures[i]), shownName(pictures[later]), shownName(out.path));
        else
            lines << QCoreApplication::translate("tuvo", "【提示】%1的输出文件%2已存在,将跳过这张图片。")
                         .arg(shownName(pictures[i]), shownName(out.path));
    }
    return lines;
}

// With a file-size limit a dry run renders and encodes the picture, as the
// quality and size it would be written with are what the user asks about.
void trySizeLimits(const JobSettings &job, const PlannedOutput &out, PictureReport &report)
{
    const RenderResult render = funImgDone(job, report.source);
    report.errorLines << render.errorLines;
    if (!render.writable())
        return;
    QStringList leftOut;
    const FittedPicture fitted
        = encodeForJob(job, report.source, render.surface, out.target.extension, &leftOut);
    if (fitted.bytes.isEmpty()) {
        report.errorLines << texts::saveError(report.source, fitted.error);
    } else if (fitted.tooBig) {
        report.errorLines << sizeLimitError(job, report.source, fitted);
    } else {
        report.size = fitted.scaled.isNull() ? render.surface.size() : fitted.scaled.size();
        report.bytes = fitted.bytes.size();
        report.quality = fitted.quality;
        if (fitted.tooSmall)
            say(sizeLimitWarning(job, report.source, fitted).trimmed());
    }
}

// --dry-run: the plan of the run. Every picture's header is read, so that a
// missing or unreadable one fails here as it would in the run; no pixel is
// decoded (unless a file-size limit needs the encodes) and nothing is written.
int dryRun(const RunShare &share, const JobSettings &job, CliHost &host, bool json)
{
    const StartCheck check = BatchRun::checkStart(share.pictures, job);
    if (check != StartCheck::Ok)
        return cannotStart(cliMessage(BatchRun::startCheckText(check)));
    const OutputPlan plan = planOutputs(job, share.pictures, share.placement);
    for (const QString &line : dryRunWarnings(plan, share.pictures))
        say(line);
    host.setDryRun(true);
    bool failed = false;
    for (int i = 0; i < share.pictures.size(); ++i) {
        const PlannedOutput &out = plan.outputs[i];
        PictureReport report;
        report.position = share.placement.positionOf(i);
        report.source = share.pictures[i];
        QString why;
        if (!out.errorLine.isEmpty())
            report.errorLines << out.errorLine;
        else if (!probePictureSize(report.source, &why).isValid())
            report.errorLines << texts::drawError(report.source, why);
        else if (out.write)
            report.output = out.path;
        if (!report.output.isEmpty() && (job.iMaxBytes > 0 || job.iMinBytes > 0)) {
            trySizeLimits(job, out, report);
            if (!report.errorLines.isEmpty())
                report.output.clear();
        }
        failed = failed || !report.errorLines.isEmpty();
        host.pictureDone(report);
        if (!report.errorLines.isEmpty())
            say(report.errorLines.join(QString()));
        if (!json) {
            QString target = !report.output.isEmpty() && report.errorLines.isEmpty() ? shownName(out.path)
                : report.errorLines.isEmpty() ? QCoreApplication::translate("tuvo", "(不写)")
                                              : QCoreApplication::translate("tuvo", "(将失败)");
            if (report.size.isValid() && report.errorLines.isEmpty())
                target += QStringLiteral(" (%1×%2, %3%4)")
                              .arg(report.size.width())
                              .arg(report.size.height())
                              .arg(fileSizeText(report.bytes))
                              .arg(report.quality >= 0 ? QStringLiteral(", q%1").arg(report.quality)
                                                       : QString());
            std::fputs((shownName(report.source) + QStringLiteral(" -> ") + target + QLatin1Char('\n'))
                           .toLocal8Bit()
                           .constData(),
                stdout);
        }
    }
    if (json)
        host.printJsonSummary(int(share.pictures.size()), 0);
    return failed ? kExitErrors : 0;
}

// -o -: the one written picture's bytes go to standard output.
bool copyToStdout(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size())
        && std::fflush(stdout) == 0;
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
        std::fputs(cliHelpText(terminalWidth(STDOUT_FILENO)).toLocal8Bit().constData(), stdout);
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
    const CliJob assembled = assembleCliJob(options, paths);
    for (const QString &line : assembled.messages)
        say(line);
    if (!assembled.error.isEmpty())
        return cannotStart(assembled.error);
    if (assembled.saved)
        return 0;
    // Finding the CJK families asks fontconfig about every installed font: only a
    // job that draws text pays for it, before any picture is begun.
    if (assembled.job.bTextMark == 1 || assembled.job.bMakePDF == 1)
        installChineseFontSubstitutes();
    if (options.watch)
        return watchFolders(options, assembled.job, makePublishSteps(paths.userDir()));
    const JobSettings &job = assembled.job;
    const CliInputs &inputs = assembled.inputs;
    const RunShare &share = assembled.share;
    const bool toStdout = assembled.toStdout;

    CliHost host(options.quiet);
    host.setJson(options.json);
    host.setGivenSources(inputs.given);
    // A shard may get no picture of a short list: nothing to do is no failure.
    if (options.shards > 0 && share.pictures.isEmpty() && !inputs.pictures.isEmpty()) {
        if (options.json)
            host.printJsonSummary(0, 0);
        return inputs.hadProblem ? kExitErrors : 0;
    }
    if (options.dryRun) {
        const int status = dryRun(share, job, host, options.json);
        return status == 0 && inputs.hadProblem ? kExitErrors : status;
    }
    // A job that cannot start says so in the command line's own words.
    if (const StartCheck check = BatchRun::checkStart(share.pictures, job); check != StartCheck::Ok) {
        const char *option = check == StartCheck::NoNetworkSettings ? "--upload"
            : check == StartCheck::ZeroSize                         ? "-W/-H"
            : check == StartCheck::PrefixLeavesFolder               ? "--rename"
                                                                    : nullptr;
        const QString text = BatchRun::startCheckText(check);
        return cannotStart(option ? optionMessage(option, text) : cliMessage(text));
    }
    host.setTotal(int(share.pictures.size()));

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
        host.printJsonSummary(summary.total, clock.elapsed(), summary.stopped);

    if (summary.check != StartCheck::Ok)
        return kExitCannotStart;
    // The report holds the warnings too; without errors they are said alone.
    if (summary.hadError)
        say(summary.errorReport);
    else
        say(summary.warnings.join(QString()));
    bool streamFailed = false;
    if (toStdout && summary.written == 1) {
        const QString written = QDir(job.sOutDir).filePath(QDir(job.sOutDir).entryList(QDir::Files).value(0));
        streamFailed = !copyToStdout(written);
        if (streamFailed)
            say(optionMessage("-o -", QCoreApplication::translate("tuvo", "无法写到标准输出")));
    }
    if (!options.quiet)
        say(lastLine(summary, job, assembled.shownOutput));
    // A stopped run ends as the signal that stopped it would have ended it.
    if (summary.stopped && CliHost::stopSignal.load() > 0)
        return 128 + CliHost::stopSignal.load();
    const bool picturesLeft = summary.finished < summary.total;
    return summary.hadError || inputs.hadProblem || picturesLeft || streamFailed ? kExitErrors : 0;
}
