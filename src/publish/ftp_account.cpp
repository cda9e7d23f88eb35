#include "publish/ftp_account.h"

#include "batch/job_settings.h"

#include <QSettings>

namespace {

void loadText(QSettings &settings, const char *key, QString &field)
{
    const QString name = QLatin1String(key);
    if (settings.contains(name))
        field = settings.value(name).toString();
}

} // namespace

FtpAccount accountOf(const JobSettings &job)
{
    return {job.sFtpServer, job.sFtpUser, job.sFtpPassword, job.sWebBase, job.sFtpDir, job.sFtpSubDir,
        job.bFtpPassive, job.bFtpRequireTls, job.sFtpCaFile, job.sFtpPin, job.sFtpKeyFile, job.sFtpHostKey};
}

void applyAccount(JobSettings &job, const FtpAccount &account)
{
    job.sFtpServer = account.server;
    job.sFtpUser = account.user;
    job.sFtpPassword = account.password;
    job.sWebBase = account.webBase;
    job.sFtpDir = account.dir;
    job.sFtpSubDir = account.subDir;
    job.bFtpPassive = account.passive;
    job.bFtpRequireTls = account.requireTls;
    job.sFtpCaFile = account.caFile;
    job.sFtpPin = account.pin;
    job.sFtpKeyFile = account.keyFile;
    job.sFtpHostKey = account.hostKey;
}

void loadFtpAccount(QSettings &settings, JobSettings &job)
{
    loadText(settings, "sFtpServer", job.sFtpServer);
    loadText(settings, "sFtpUser", job.sFtpUser);
    loadText(settings, "sWebBase", job.sWebBase);
    loadText(settings, "sFtpDir", job.sFtpDir);
    loadText(settings, "sFtpSubDir", job.sFtpSubDir);
    if (settings.contains(QStringLiteral("bFtpPassive")))
        job.bFtpPassive = settings.value(QStringLiteral("bFtpPassive")).toInt() == 1;
    if (settings.contains(QStringLiteral("bFtpRequireTls")))
        job.bFtpRequireTls = settings.value(QStringLiteral("bFtpRequireTls")).toInt() == 1;
    loadText(settings, "sFtpCaFile", job.sFtpCaFile);
    loadText(settings, "sFtpPin", job.sFtpPin);
    loadText(settings, "sFtpKeyFile", job.sFtpKeyFile);
    loadText(settings, "sFtpHostKey", job.sFtpHostKey);
}

void saveFtpAccount(QSettings &settings, const JobSettings &job)
{
    settings.setValue(QStringLiteral("sFtpServer"), job.sFtpServer);
    settings.setValue(QStringLiteral("sFtpUser"), job.sFtpUser);
    settings.setValue(QStringLiteral("sWebBase"), job.sWebBase);
    settings.setValue(QStringLiteral("sFtpDir"), job.sFtpDir);
    settings.setValue(QStringLiteral("sFtpSubDir"), job.sFtpSubDir);
    settings.setValue(QStringLiteral("bFtpPassive"), job.bFtpPassive ? 1 : 0);
    settings.setValue(QStringLiteral("bFtpRequireTls"), job.bFtpRequireTls ? 1 : 0);
    settings.setValue(QStringLiteral("sFtpCaFile"), job.sFtpCaFile);
    settings.setValue(QStringLiteral("sFtpPin"), job.sFtpPin);
    settings.setValue(QStringLiteral("sFtpKeyFile"), job.sFtpKeyFile);
    settings.setValue(QStringLiteral("sFtpHostKey"), job.sFtpHostKey);
    // Whatever else wrote these settings, the password does not stay on disk.
    settings.remove(QStringLiteral("sFtpPassword"));
}
