#pragma once

#include <QString>

class QDateTime;
struct JobSettings;

// Where an uploaded picture goes and under which address it is seen.
struct FtpEndpoint {
    QString host;
    int port = 21;
    bool sftp = false; // "sftp://host": SSH file transfer, port 22 unless given
};

// "host" or "host:port"; a leading "ftp://" is tolerated, "sftp://" chooses SFTP.
FtpEndpoint parseFtpServer(const QString &server);

// True while the server text is still empty or the bare "ftp://" start value.
bool ftpServerUnset(const QString &server);

// yyMMddHHmmss_ of the local time: the prefix that keeps uploads apart.
QString uploadTimeStamp(const QDateTime &localTime);

// sFtpDir + sFtpSubDir + "/" + stamp + name, as the server sees it.
QString uploadRemotePath(const JobSettings &job, const QString &stamp, const QString &fileName);

// The picture's web address; sWebBase stands for the folder sFtpDir.
QString uploadWebAddress(const JobSettings &job, const QString &stamp, const QString &fileName);

// ftp:// or sftp:// URL for libcurl; a path starting with "/" stays absolute on
// the server, others start in the login folder.
QString uploadUrl(const FtpEndpoint &endpoint, const QString &remotePath);
