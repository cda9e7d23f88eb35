#include "support/external_tools.h"

#include <QProcess>
#include <QStandardPaths>

bool runProgram(const QString &program, const QStringList &arguments, QByteArray *output)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return false;
    if (output)
        *output = p.readAllStandardOutput();
    return true;
}

QString missingTool(const QStringList &tools)
{
    for (const QString &t : tools) {
        if (QStandardPaths::findExecutable(t).isEmpty())
            return t + QStringLiteral(" is not installed");
    }
    return {};
}
