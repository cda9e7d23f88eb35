#pragma once

#include <QString>

class QSettings;
struct JobSettings;

// The upload account as the account dialog edits it.
struct FtpAccount {
    QString server;
    QString user;
    QString password;
    QString webBase;
    QString dir;
    QString subDir;
    bool passive = false;
    bool requireTls = false;
    QString caFile;
    QString pin;
    QString keyFile;
    QString hostKey;
};

FtpAccount accountOf(const JobSettings &job);
void applyAccount(JobSettings &job, const FtpAccount &account);

// Keeps the account between starts in the settings' current group. The password
// is never written; loading leaves job.sFtpPassword as it is, and keys that are
// missing leave their fields at their start values. An account stored before
// bFtpRequireTls existed keeps working with plain FTP (the key is off for it).
void loadFtpAccount(QSettings &settings, JobSettings &job);
void saveFtpAccount(QSettings &settings, const JobSettings &job);
