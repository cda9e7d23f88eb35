#include "support/tuvo_cli.h"

#include <QJsonDocument>
#include <QProcess>

QList<QJsonObject> CliRun::jsonLines() const
{
    QList<QJsonObject> lines;
    for (const QString &line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8());
        if (doc.isObject())
            lines << doc.object();
    }
    return lines;
}

QString tuvoCliPath()
{
    return QStringLiteral(TUVO_CLI_PATH);
}

CliRun runTuvoCli(const QStringList &args, const CliCall &call)
{
    QProcess p;
    QStringList command = call.launcher + QStringList {tuvoCliPath()} + args;
    p.setProgram(command.takeFirst());
    p.setArguments(command);
    p.setProcessEnvironment(call.env);
    if (!call.workingDirectory.isEmpty())
        p.setWorkingDirectory(call.workingDirectory);
    if (!call.stdoutFile.isEmpty())
        p.setStandardOutputFile(call.stdoutFile);
    p.start();
    p.write(call.input);
    p.closeWriteChannel();
    CliRun run;
    if (p.waitForFinished(call.timeoutMs) && p.exitStatus() == QProcess::NormalExit)
        run.exitCode = p.exitCode();
    else
        p.kill();
    p.waitForFinished(5000);
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

CliRun runTuvoCliIn(const QString &lang, const QStringList &args)
{
    CliCall call;
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        call.env.remove(QString::fromLatin1(name));
    call.env.insert(QStringLiteral("LANG"), lang);
    return runTuvoCli(args, call);
}
