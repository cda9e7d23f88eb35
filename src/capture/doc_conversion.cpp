#include "capture/doc_conversion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <csignal>
#include <unistd.h>

QString findSoffice()
{
    QString exe = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (exe.isEmpty())
        exe = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    return exe;
}

QString convertDocToDocx(
    const QString &soffice, const QString &docPath, const QString &outDir, QString *error, int timeoutMs)
{
    const QString profile = QDir(outDir).filePath(QStringLiteral("lo-profile"));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // soffice is a wrapper that starts soffice.bin: its own process group lets a
    // timeout end the whole LibreOffice, not only the wrapper.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start(soffice,
        {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString(),
            QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("docx"),
            QStringLiteral("--outdir"), outDir, QFileInfo(docPath).absoluteFilePath()});
    if (!process.waitForStarted()) {
        *error = process.errorString();
        return {};
    }
    if (!process.waitForFinished(timeoutMs)) {
        ::kill(-pid_t(process.processId()), SIGKILL);
        process.kill();
        process.waitForFinished();
        *error = QCoreApplication::translate("tuvo", "LibreOffice超时未完成");
        return {};
    }
    const QString docx
        = QDir(outDir).filePath(QFileInfo(docPath).completeBaseName() + QStringLiteral(".docx"));
    if (process.exitStatus() != QProcess::NormalExit || !QFileInfo(docx).isFile()) {
        *error = QString::fromLocal8Bit(process.readAll()).trimmed();
        if (error->isEmpty())
            *error = QCoreApplication::translate("tuvo", "LibreOffice没有生成.docx文件");
        return {};
    }
    return docx;
}
