#include "app/cli_watch.h"

#include "app/cli_host.h"
#include "app/cli_inputs.h"
#include "app/cli_options.h"
#include "app/terminal_text.h"
#include "fs/file_names.h"
#include "run/watch_run.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

// The first signal wakes the event loop through the pipe; the watch then
// finishes the pictures in progress.
void onWatchSignal(int sig)
{
    if (!CliHost::countSignal(sig))
        return;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

} // namespace

int watchFolders(const CliOptions &options, const JobSettings &job, const PublishSteps &publish)
{
    if (job.bMakePDF == 1)
        return cannotStart(cliMessage(
            QCoreApplication::translate("tuvo", "--watch 不能与 --pdf 同用: 监视的图片没有最后一张")));
    QStringList folders;
    for (const QString &input : options.inputs) {
        if (!isDirectoryPath(input))
            return cannotStart(cliMessage(
                QCoreApplication::translate("tuvo", "--watch 只能监视文件夹: ") + shownName(input)));
        folders << QDir::cleanPath(absoluteFileName(input));
    }
    if (folders.isEmpty())
        return cannotStart(cliMessage(
            QCoreApplication::translate("tuvo", "--watch 只能监视文件夹: ") + QStringLiteral("-")));
    // The checks of a normal start, for a list that may still be empty.
    if (const StartCheck check = BatchRun::checkStart({QStringLiteral("-")}, job); check != StartCheck::Ok)
        return cannotStart(cliMessage(BatchRun::startCheckText(check)));
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return cannotStart(cliMessage(QString::fromLocal8Bit(std::strerror(errno))));

    CliHost host(options.quiet);
    host.setJson(options.json);
    WatchRun watch(host, [&job] { return job; });
    host.attach(&watch.batchRun());
    if (options.jobs > 0)
        watch.setJobs(options.jobs);
    watch.setPublishSteps(publish);
    watch.setFirstNumber(options.firstNumber);
    watch.setKeepTree(options.keepTree);
    QObject::connect(&watch, &WatchRun::batchEnded, [&host](const RunSummary &summary) {
        host.finishLine();
        say(summary.hadError ? summary.errorReport : summary.warnings.join(QString()));
    });
    QObject::connect(&watch, &WatchRun::problem, [](const QString &text) { say(cliMessage(text)); });
    QObject::connect(&watch, &WatchRun::stopped, [] { QCoreApplication::exit(0); });

    QSocketNotifier wakeUp(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&wakeUp, &QSocketNotifier::activated, &watch, [&watch] {
        char bytes[16];
        while (::read(signalPipe[0], bytes, sizeof bytes) > 0) { }
        watch.stop();
    });
    struct sigaction action = {};
    action.sa_handler = onWatchSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    QString error;
    if (!watch.start(folders, options.recursive, &error))
        return cannotStart(cliMessage(error));
    if (!options.quiet)
        say(QCoreApplication::translate("tuvo", "正在监视 %1 (Ctrl-C 结束)")
                .arg(shownName(folders.join(QStringLiteral(", ")))));
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::exec();
    host.finishLine();
    if (options.json)
        host.printJsonSummary(watch.picturesDone(), clock.elapsed());
    if (!options.quiet)
        say(QCoreApplication::translate("tuvo", "监视结束: 处理了 %1 张图片").arg(watch.picturesDone()));
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    return 0;
}
