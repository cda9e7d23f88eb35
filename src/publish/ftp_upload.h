#pragma once

#include "run/publish_steps.h"

#include <QDateTime>

#include <atomic>

// The uploads of one run. Each picture goes to the upload account of the job under
// a time-stamped name: open, connect, binary put, close, nothing kept between
// pictures. FTP uses TLS whenever the server offers it (see JobSettings for the
// trust settings); "sftp://" servers are reached over SSH. Failures give an error line naming the picture,
// with code 1 (no client), 2 (no connection or login) or 3 (the transfer itself failed); only a finished
// transfer yields a link. Once the server has not answered within the timeout, the run's further pictures
// fail at once instead of waiting again.
class UploadSession {
public:
    static constexpr int kDefaultTimeoutSeconds = 30;

    explicit UploadSession(int timeoutSeconds = kDefaultTimeoutSeconds);

    UploadOutcome UploadPicture(const JobSettings &job, const QString &localPath, const QString &fileName,
        const QDateTime &now = QDateTime::currentDateTime());

    // A transfer in progress gives up once *stop is set (the run's stop command).
    void setStopFlag(const std::atomic<bool> *stop) { stop_ = stop; }
    // Where SFTP host keys are checked and accepted ones added; ~/.ssh/known_hosts.
    void setKnownHostsFile(const QString &path);
    // Whether the last finished upload travelled encrypted.
    bool lastEncrypted() const { return lastEncrypted_; }

private:
    int timeoutSeconds_;
    QString knownHostsFile_;
    const std::atomic<bool> *stop_ = nullptr;
    bool serverSilent_ = false;
    bool warnedClear_ = false;
    bool lastEncrypted_ = false;
    bool passiveAfterActiveFailed_ = false;
};

// How the program's last finished upload travelled, for the account dialog.
enum class LastUploadSecurity { None, Encrypted, Clear };
LastUploadSecurity lastUploadSecurity();

// One picture in a session of its own.
UploadOutcome UploadPicture(const JobSettings &job, const QString &localPath, const QString &fileName,
    const QDateTime &now = QDateTime::currentDateTime());
