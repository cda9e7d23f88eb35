#include "support/cli_watcher.h"

#include "support/tuvo_cli.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QThread>

#include <sys/types.h>

namespace {

template<typename F> void waitUntil(F done)
{
    const QDeadlineTimer deadline(60000);
    while (!done() && !deadline.hasExpired())
        QThread::msleep(10);
}

} // namespace

CliWatcher::CliWatcher(
    const QString &in, const QString &out, const QStringList &more, const QProcessEnvironment &env)
{
    process_.setProcessEnvironment(env);
    process_.start(tuvoCliPath(),
        QStringList {QStringLiteral("--watch"), QStringLiteral("--json"), QStringLiteral("--quiet"),
            QStringLiteral("-W"), QStringLiteral("120"), QStringLiteral("-o"), out}
            + more + QStringList {in});
    process_.waitForStarted();
    waitUntil([this] { return watching(); });
}

CliWatcher::~CliWatcher()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished();
    }
}

QList<QJsonObject> CliWatcher::pictures(int n)
{
    waitUntil([&] { return read() >= n; });
    return lines_;
}

QJsonObject CliWatcher::stop(int sig)
{
    ::kill(pid_t(process_.processId()), sig);
    process_.waitForFinished(60000);
    read();
    return summary_;
}

int CliWatcher::exitCode() const
{
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

// The watch has begun once the process holds an inotify descriptor (the folder is
// read after that, so nothing put there from now on is missed).
bool CliWatcher::watching() const
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(process_.processId()));
    for (const QFileInfo &fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget().contains(QLatin1String("inotify")))
            return true;
    return process_.state() == QProcess::NotRunning;
}

int CliWatcher::read()
{
    process_.waitForReadyRead(50);
    while (process_.canReadLine()) {
        const QJsonObject line = QJsonDocument::fromJson(process_.readLine()).object();
        if (line.value(QStringLiteral("summary")).toBool())
            summary_ = line;
        else
            lines_ << line;
    }
    return int(lines_.size());
}
