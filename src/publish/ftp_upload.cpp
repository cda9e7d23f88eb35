#include "publish/ftp_upload.h"

#include "publish/publish_texts.h"
#include "publish/upload_address.h"

#include <QDir>
#include <QFile>

#include <cstring>
#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace {

struct CurlDeleter {
    void operator()(CURL *handle) const { curl_easy_cleanup(handle); }
};

CURL *openClient()
{
    static std::once_flag once;
    static CURLcode globalResult = CURLE_OK;
    std::call_once(once, [] { globalResult = curl_global_init(CURL_GLOBAL_DEFAULT); });
    return globalResult == CURLE_OK ? curl_easy_init() : nullptr;
}

size_t readFromFile(char *buffer, size_t size, size_t count, void *file)
{
    const qint64 n = static_cast<QFile *>(file)->read(buffer, qint64(size * count));
    return n < 0 ? CURL_READFUNC_ABORT : size_t(n);
}

// curl hands every FTP reply line to the header callback; "230" means the server
// accepted the login, which is where a connection ends and a transfer begins.
size_t watchReplies(char *buffer, size_t size, size_t count, void *loggedIn)
{
    const size_t n = size * count;
    if (n >= 3 && std::memcmp(buffer, "230", 3) == 0)
        *static_cast<bool *>(loggedIn) = true;
    return n;
}

} // namespace

UploadSession::UploadSession(int timeoutSeconds)
    : timeoutSeconds_(timeoutSeconds)
{
}

UploadOutcome UploadSession::UploadPicture(
    const JobSettings &job, const QString &localPath, const QString &fileName, const QDateTime &now)
{
    const QString picture = QDir::toNativeSeparators(localPath);
    if (serverSilent_)
        return {QString(), PublishTexts::uploadErrorLine(picture, 2) + PublishTexts::serverStillSilent()};
    std::unique_ptr<CURL, CurlDeleter> handle(openClient());
    if (!handle)
        return {QString(), PublishTexts::uploadErrorLine(picture, 1)};

    const QString stamp = uploadTimeStamp(now);
    const QByteArray url
        = uploadUrl(parseFtpServer(job.sFtpServer), uploadRemotePath(job, stamp, fileName)).toUtf8();
    const QByteArray user = job.sFtpUser.toUtf8();
    const QByteArray password = job.sFtpPassword.toUtf8();

    QFile file(localPath);
    // A written picture that cannot be read back is a failed transfer.
    if (!file.open(QIODevice::ReadOnly))
        return {QString(), PublishTexts::uploadErrorLine(picture, 3)};

    CURL *h = handle.get();
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(h, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, readFromFile);
    curl_easy_setopt(h, CURLOPT_READDATA, &file);
    bool loggedIn = false;
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, watchReplies);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &loggedIn);
    curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, curl_off_t(file.size()));
    // Active mode unless the account asks for passive: the server connects back
    // to the address of the control connection.
    if (!job.bFtpPassive)
        curl_easy_setopt(h, CURLOPT_FTPPORT, "-");
    const long timeout = timeoutSeconds_;
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, timeout);
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, timeout);
    curl_easy_setopt(h, CURLOPT_ACCEPTTIMEOUT_MS, timeout * 1000);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 2 * timeout);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROXY, "");

    const CURLcode result = curl_easy_perform(h);
    if (result == CURLE_OPERATION_TIMEDOUT || result == CURLE_FTP_ACCEPT_TIMEOUT) {
        serverSilent_ = true;
        return {QString(),
            PublishTexts::uploadErrorLine(picture, loggedIn ? 3 : 2) + PublishTexts::serverSilent()};
    }
    if (result != CURLE_OK)
        return {QString(), PublishTexts::uploadErrorLine(picture, loggedIn ? 3 : 2)};
    return {uploadWebAddress(job, stamp, fileName), QString()};
}

UploadOutcome UploadPicture(
    const JobSettings &job, const QString &localPath, const QString &fileName, const QDateTime &now)
{
    return UploadSession().UploadPicture(job, localPath, fileName, now);
}
