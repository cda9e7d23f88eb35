#include "publish/ftp_upload.h"

#include "publish/publish_texts.h"
#include "publish/upload_address.h"

#include <QFile>

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

// Failures before the server accepted the login count as "no connection".
bool failedBeforeLogin(CURL *handle, CURLcode result)
{
    switch (result) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_LOGIN_DENIED:
        return true;
    default:
        break;
    }
    curl_off_t connectTime = 0;
    curl_easy_getinfo(handle, CURLINFO_CONNECT_TIME_T, &connectTime);
    return connectTime == 0;
}

} // namespace

UploadOutcome UploadPicture(
    const JobSettings &job, const QString &localPath, const QString &fileName, const QDateTime &now)
{
    std::unique_ptr<CURL, CurlDeleter> handle(openClient());
    if (!handle)
        return {QString(), PublishTexts::uploadErrorLine(1)};

    const QString stamp = uploadTimeStamp(now);
    const QByteArray url
        = uploadUrl(parseFtpServer(job.sFtpServer), uploadRemotePath(job, stamp, fileName)).toUtf8();
    const QByteArray user = job.sFtpUser.toUtf8();
    const QByteArray password = job.sFtpPassword.toUtf8();

    QFile file(localPath);
    // A written picture that cannot be read back is a failed transfer.
    if (!file.open(QIODevice::ReadOnly))
        return {QString(), PublishTexts::uploadErrorLine(3)};

    CURL *h = handle.get();
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(h, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, readFromFile);
    curl_easy_setopt(h, CURLOPT_READDATA, &file);
    curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, curl_off_t(file.size()));
    // Active mode unless the account asks for passive: the server connects back
    // to the address of the control connection.
    if (!job.bFtpPassive)
        curl_easy_setopt(h, CURLOPT_FTPPORT, "-");
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(h, CURLOPT_ACCEPTTIMEOUT_MS, 30000L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROXY, "");

    const CURLcode result = curl_easy_perform(h);
    if (result != CURLE_OK)
        return {QString(), PublishTexts::uploadErrorLine(failedBeforeLogin(h, result) ? 2 : 3)};
    return {uploadWebAddress(job, stamp, fileName), QString()};
}
