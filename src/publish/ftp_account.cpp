#include "publish/ftp_account.h"

#include "job/job_fields.h"

#include <QSettings>

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

// The account's fields are the job fields stored with the account; a value that
// does not convert keeps what the job had.
void loadFtpAccount(QSettings &settings, JobSettings &job)
{
    for (const JobField &field : jobFields()) {
        if ((field.storage & kSavedInAccount) && settings.contains(field.name()))
            field.setFromText(job, settings.value(field.name()).toString(), nullptr);
    }
}

void saveFtpAccount(QSettings &settings, const JobSettings &job)
{
    for (const JobField &field : jobFields()) {
        if (field.storage & kSavedInAccount)
            settings.setValue(field.name(), field.storedText(job));
    }
    // Whatever else wrote these settings, the password does not stay on disk.
    settings.remove(QStringLiteral("sFtpPassword"));
}
