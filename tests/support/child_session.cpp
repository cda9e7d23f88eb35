#include "support/child_session.h"

#include <QCoreApplication>
#include <QProcess>

bool rerunTestsIn(const QString &launcher, const QStringList &launcherArguments, const QString &filter,
    const QProcessEnvironment &env, int timeoutMs, QString *output)
{
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments = launcherArguments;
    arguments << QCoreApplication::applicationFilePath() << QStringLiteral("--gtest_filter=") + filter;
    child.start(launcher, arguments);
    const bool finished = child.waitForFinished(timeoutMs);
    if (!finished) {
        child.kill();
        child.waitForFinished();
    }
    *output = QString::fromLocal8Bit(child.readAll());
    return finished && child.exitCode() == 0 && output->contains(QStringLiteral("[  PASSED  ]"))
        && !output->contains(QStringLiteral("[  SKIPPED ]"))
        && !output->contains(QStringLiteral("[  FAILED  ]"));
}
