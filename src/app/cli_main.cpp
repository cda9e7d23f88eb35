// tuvo-cli: the batch run without a window. Parses the command line into a
// JobSettings and hands it to the same BatchRun the desktop program uses.

#include "app/cli_host.h"
#include "app/cli_options.h"
#include "batch/batch_run.h"
#include "batch/chinese_fonts.h"
#include "batch/imaging/picture_limits.h"
#include "batch/job_fields.h"
#include "batch/picture_files.h"
#include "batch/size_presets.h"
#include "cli_inputs.h"
#include "exif/exif_print.h"
#include "publish/publishing.h"
#include "settings/app_paths.h"
#include "settings/ui_language.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>

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

// The size list's entries by their command-line names.
bool applySizeMode(JobSettings &job, const QString &mode, QString *error)
{
    int index = -1;
    if (mode == QLatin1String("limit-width"))
        index = kLimitWidth;
    else if (mode == QLatin1String("fit-frame"))
        index = kFitFrame;
    else if (mode == QLatin1String("original"))
        index = kOriginalSize;
    else if (mode == QLatin1String("custom"))
        index = job.customSizeIndex();
    else {
        for (int k = 0; k < job.SizePresets.size(); ++k) {
            if (job.SizePresets[k].name == mode)
                index = kFirstPreset + k;
        }
        // A preset is also known by its dimensions, 295x413 (or 295×413), whatever its name.
        const QStringList wh = mode.split(QRegularExpression(QStringLiteral("[x×X]")));
        for (int k = 0; index < 0 && wh.size() == 2 && k < job.SizePresets.size(); ++k) {
            if (job.SizePresets[k].width.trimmed() == wh[0].trimmed()
                && job.SizePresets[k].height.trimmed() == wh[1].trimmed())
                index = kFirstPreset + k;
        }
    }
    if (index < 0) {
        QStringList names = {QStringLiteral("limit-width"), QStringLiteral("fit-frame"),
            QStringLiteral("original"), QStringLiteral("custom")};
        for (const SizePreset &p : job.SizePresets) {
            // English lists the dimensions alone: the names are size.ini's own, mostly Chinese.
            const QString size = p.width.trimmed() + QLatin1Char('x') + p.height.trimmed();
            names << (languageFromEnvironment() == UiLanguage::Chinese
                    ? p.name + QStringLiteral(" (%1)").arg(size)
                    : size);
        }
        *error = QCoreApplication::translate("tuvo", "未知的尺寸: ") + mode
            + QCoreApplication::translate("tuvo", " (可用: ") + names.join(QStringLiteral(", "))
            + QStringLiteral(")");
        return false;
    }
    chooseSizeMode(job, index);
    return true;
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

    CliOptions options;
    QString error;
    if (!parseCliOptions(app.arguments().mid(1), &options, &error))
        return cannotStart(error);
    if (options.help) {
        std::fputs(cliHelpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("tuvo-cli %s\n", TUVO_VERSION);
        return 0;
    }
    if (!options.printExif.isEmpty())
        return printExif(QFile::encodeName(options.printExif).toStdString(), std::cout);

    if (options.memoryLimitMB > 0)
        setPictureMemoryLimit(qint64(options.memoryLimitMB) * 1024 * 1024);

    const AppPaths paths = AppPaths::resolve();
    JobSettings job;
    if (options.fromSettings) {
        QString why;
        if (!loadCliJobFromSettings(job, paths, &why))
            return cannotStart(why);
    }
    job.SizePresets = readSizePresets(paths.sizeIni());
    if (job.sPDF3.isEmpty())
        job.sPDF3 = chineseDate(QDate::currentDate());

    if (!options.sizeMode.isEmpty() && !applySizeMode(job, options.sizeMode, &error))
        return cannotStart(error);
    for (const auto &[key, value] : options.fields) {
        if (!setJobField(job, key, value, &error))
            return cannotStart(error);
    }
    if (!options.width.isEmpty() && !setJobField(job, QStringLiteral("iTargetW"), options.width, &error))
        return cannotStart(error);
    if (!options.height.isEmpty() && !setJobField(job, QStringLiteral("iTargetH"), options.height, &error))
        return cannotStart(error);
    if (!options.frame.isEmpty()) {
        if (!QFileInfo(options.frame).isFile())
            return cannotStart(QCoreApplication::translate("tuvo", "找不到边框图片: ") + options.frame);
        job.sFrameFile = QFileInfo(options.frame).absoluteFilePath();
    }
    if (job.iuSize == kFitFrame && job.sFrameFile.isEmpty())
        job.sFrameFile = firstFrameIn(paths.bkDir());
    if (job.bPicMark == 1 && !job.suISyF.isEmpty() && !QFileInfo(job.suISyF).isFile())
        return cannotStart(QCoreApplication::translate("tuvo", "找不到水印图片: ") + job.suISyF);

    if (options.outputDir.isEmpty()) {
        if (!paths.ensureWritableFolders())
            return cannotStart(
                QCoreApplication::translate("tuvo", "无法创建默认输出文件夹: ") + paths.zpDir());
        job.sOutDir = paths.zpDir();
    } else {
        if (!QFileInfo(options.outputDir).isDir())
            return cannotStart(QCoreApplication::translate("tuvo", "输出文件夹不存在: ") + options.outputDir);
        job.sOutDir = QFileInfo(options.outputDir).absoluteFilePath();
    }
    if (job.bUpload == 1)
        job.sFtpPassword = qEnvironmentVariable("TUVO_FTP_PASSWORD");

    CliInputs inputs = collectInputs(options.inputs, options.recursive, paths);
    for (const QString &message : inputs.messages)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());

    RunState state;
    CliHost host(options.quiet);
    BatchRun run(host, state);
    host.attach(&run);
    if (options.jobs > 0)
        run.setJobs(options.jobs);
    run.setPublishSteps(makePublishSteps(paths.userDir()));

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    const RunSummary summary = run.StartRun(inputs.pictures, job);
    host.finishLine();

    if (summary.check != StartCheck::Ok)
        return kExitCannotStart;
    if (!options.quiet || summary.hadError) {
        if (summary.hadError)
            std::fputs(summary.errorReport.toLocal8Bit().constData(), stderr);
    }
    if (!options.quiet) {
        // What really happened: written n of m, and with upload on, uploaded k of m.
        QString counts = QStringLiteral("%1/%2").arg(summary.written).arg(summary.total);
        if (job.bUpload == 1)
            counts += QCoreApplication::translate("tuvo", " 上传 %1/%2")
                          .arg(summary.uploaded)
                          .arg(summary.total);
        std::fprintf(stderr, "%s %s → %s\n", summary.finalStatus.toLocal8Bit().constData(),
            counts.toLocal8Bit().constData(),
            QDir::toNativeSeparators(job.sOutDir).toLocal8Bit().constData());
    }
    const bool picturesLeft = summary.finished < summary.total;
    return summary.hadError || inputs.hadProblem || picturesLeft ? kExitErrors : 0;
}
