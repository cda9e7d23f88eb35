#include "publish/ftp_upload.h"

#include "publish/publish_texts.h"
#include "publish/upload_address.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
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

// curl hands every FTP reply line to the header callback. "234" accepts AUTH TLS:
// from here on the login and the transfers are encrypted. "230" means the server
// accepted the login, which is where a connection ends and a transfer begins.
struct FtpReplies {
    bool encrypted = false;
    bool loggedIn = false;
};

size_t watchReplies(char *buffer, size_t size, size_t count, void *replies)
{
    const size_t n = size * count;
    auto *seen = static_cast<FtpReplies *>(replies);
    if (n >= 3 && std::memcmp(buffer, "234", 3) == 0)
        seen->encrypted = true;
    if (n >= 3 && std::memcmp(buffer, "230", 3) == 0)
        seen->loggedIn = true;
    return n;
}

// OpenSSH's form of a key fingerprint: "SHA256:" and the unpadded base64 digest.
QString sshFingerprint(const QByteArray &keyBlob)
{
    return QStringLiteral("SHA256:")
        + QString::fromLatin1(QCryptographicHash::hash(keyBlob, QCryptographicHash::Sha256)
                                  .toBase64(QByteArray::OmitTrailingEquals));
}

struct HostKeyCheck {
    QString accepted; // fingerprint the user accepted, "SHA256:..."
    QString unknownFingerprint; // set when an unknown key was refused
    bool changed = false; // known_hosts holds another key for this host
};

int checkHostKey(
    CURL *, const curl_khkey *knownKey, const curl_khkey *foundKey, curl_khmatch match, void *data)
{
    Q_UNUSED(knownKey);
    auto *check = static_cast<HostKeyCheck *>(data);
    if (match == CURLKHMATCH_OK)
        return CURLKHSTAT_FINE;
    if (match == CURLKHMATCH_MISMATCH) {
        check->changed = true;
        return CURLKHSTAT_REJECT;
    }
    const QByteArray blob = foundKey->len > 0 ? QByteArray(foundKey->key, qsizetype(foundKey->len))
                                              : QByteArray::fromBase64(QByteArray(foundKey->key));
    const QString fingerprint = sshFingerprint(blob);
    if (!check->accepted.isEmpty() && fingerprint == check->accepted.trimmed())
        return CURLKHSTAT_FINE_ADD_TO_FILE;
    check->unknownFingerprint = fingerprint;
    return CURLKHSTAT_REJECT;
}

// "sha256//BASE64" as curl takes it; 64 hex digits (colons allowed) are converted.
QByteArray publicKeyPin(const QString &pin)
{
    QString text = pin.trimmed();
    if (text.startsWith(QLatin1String("sha256//"), Qt::CaseInsensitive))
        return text.toLatin1();
    text.remove(QLatin1Char(':'));
    const QByteArray digest = QByteArray::fromHex(text.toLatin1());
    if (digest.size() == 32 && text.size() == 64)
        return "sha256//" + digest.toBase64();
    return "sha256//" + text.toLatin1();
}

QString defaultSshKey()
{
    for (const char *name : {".ssh/id_ed25519", ".ssh/id_rsa"}) {
        const QString path = QDir::home().filePath(QLatin1String(name));
        if (QFileInfo::exists(path))
            return path;
    }
    return QString();
}

bool isTlsFailure(CURLcode result)
{
    return result == CURLE_PEER_FAILED_VERIFICATION || result == CURLE_SSL_PINNEDPUBKEYNOTMATCH
        || result == CURLE_SSL_CONNECT_ERROR || result == CURLE_SSL_CACERT_BADFILE
        || result == CURLE_SSL_CERTPROBLEM;
}

// Failures of an SFTP upload that happen before any file is touched.
bool isSftpConnectFailure(CURLcode result)
{
    return result == CURLE_COULDNT_CONNECT || result == CURLE_COULDNT_RESOLVE_HOST
        || result == CURLE_LOGIN_DENIED || result == CURLE_SSH || result == CURLE_PEER_FAILED_VERIFICATION
        || result == CURLE_OPERATION_TIMEDOUT;
}

void setSftpOptions(CURL *h, const JobSettings &job, const QString &knownHostsFile, HostKeyCheck *hostKey)
{
    long methods = CURLSSH_AUTH_PASSWORD;
    const QString keyFile = job.sFtpKeyFile.isEmpty() ? defaultSshKey() : job.sFtpKeyFile;
    if (!keyFile.isEmpty() && QFileInfo::exists(keyFile)) {
        methods |= CURLSSH_AUTH_PUBLICKEY;
        curl_easy_setopt(h, CURLOPT_SSH_PRIVATE_KEYFILE, QFile::encodeName(keyFile).constData());
    }
    curl_easy_setopt(h, CURLOPT_SSH_AUTH_TYPES, methods);
    curl_easy_setopt(h, CURLOPT_SSH_KNOWNHOSTS, QFile::encodeName(knownHostsFile).constData());
    curl_easy_setopt(h, CURLOPT_SSH_KEYFUNCTION, checkHostKey);
    curl_easy_setopt(h, CURLOPT_SSH_KEYDATA, hostKey);
}

void setFtpOptions(CURL *h, const JobSettings &job, long timeout, FtpReplies *replies)
{
    curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, watchReplies);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, replies);
    // Explicit TLS ("AUTH TLS") whenever the server offers it; required, a server
    // without it is refused before USER and PASS are sent.
    curl_easy_setopt(h, CURLOPT_USE_SSL, long(job.bFtpRequireTls ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    curl_easy_setopt(h, CURLOPT_FTPSSLAUTH, long(CURLFTPAUTH_TLS));
    if (!job.sFtpCaFile.isEmpty())
        curl_easy_setopt(h, CURLOPT_CAINFO, QFile::encodeName(job.sFtpCaFile).constData());
    if (!job.sFtpPin.isEmpty()) {
        curl_easy_setopt(h, CURLOPT_PINNEDPUBLICKEY, publicKeyPin(job.sFtpPin).constData());
        // The pinned key is this account's trust in a self-signed server: it
        // stands in for the chain unless a CA file is given as well.
        if (job.sFtpCaFile.isEmpty()) {
            curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 0L);
            curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 0L);
        }
    }
    // Active mode unless the account asks for passive: the server connects back
    // to the address of the control connection. Encrypted accounts go passive:
    // NAT helpers cannot read an encrypted PORT, and curl cannot start TLS on a
    // data connection the server opened.
    if (!job.bFtpPassive && !job.bFtpRequireTls)
        curl_easy_setopt(h, CURLOPT_FTPPORT, "-");
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, timeout);
    curl_easy_setopt(h, CURLOPT_ACCEPTTIMEOUT_MS, timeout * 1000);
}

// What the error line adds to its code, when the cause is one the user can act on.
QString failureReason(CURLcode result, const FtpEndpoint &endpoint, const HostKeyCheck &hostKey)
{
    if (!hostKey.unknownFingerprint.isEmpty())
        return PublishTexts::unknownHostKey(hostKey.unknownFingerprint);
    if (hostKey.changed)
        return PublishTexts::hostKeyChanged();
    if (result == CURLE_USE_SSL_FAILED)
        return PublishTexts::tlsRequired();
    if (result == CURLE_SSL_PINNEDPUBKEYNOTMATCH)
        return PublishTexts::pinMismatch();
    if (!endpoint.sftp && isTlsFailure(result))
        return PublishTexts::certificateRefused();
    return QString();
}

std::atomic<int> lastSecurity {int(LastUploadSecurity::None)};

} // namespace

LastUploadSecurity lastUploadSecurity()
{
    return LastUploadSecurity(lastSecurity.load());
}

UploadSession::UploadSession(int timeoutSeconds)
    : timeoutSeconds_(timeoutSeconds)
    , knownHostsFile_(QDir::home().filePath(QStringLiteral(".ssh/known_hosts")))
{
}

void UploadSession::setKnownHostsFile(const QString &path)
{
    knownHostsFile_ = path;
}

UploadOutcome UploadSession::UploadPicture(
    const JobSettings &job, const QString &localPath, const QString &fileName, const QDateTime &now)
{
    const QString picture = QDir::toNativeSeparators(localPath);
    if (serverSilent_)
        return {QString(), PublishTexts::uploadErrorLine(picture, 2) + PublishTexts::serverStillSilent(),
            QString()};
    std::unique_ptr<CURL, CurlDeleter> handle(openClient());
    if (!handle)
        return {QString(), PublishTexts::uploadErrorLine(picture, 1), QString()};

    const FtpEndpoint endpoint = parseFtpServer(job.sFtpServer);
    const QString stamp = uploadTimeStamp(now);
    const QByteArray url = uploadUrl(endpoint, uploadRemotePath(job, stamp, fileName)).toUtf8();
    const QByteArray user = job.sFtpUser.toUtf8();
    const QByteArray password = job.sFtpPassword.toUtf8();

    QFile file(localPath);
    // A written picture that cannot be read back is a failed transfer.
    if (!file.open(QIODevice::ReadOnly))
        return {QString(), PublishTexts::uploadErrorLine(picture, 3), QString()};

    CURL *h = handle.get();
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(h, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, readFromFile);
    curl_easy_setopt(h, CURLOPT_READDATA, &file);
    curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, curl_off_t(file.size()));
    const long timeout = timeoutSeconds_;
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, timeout);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 2 * timeout);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROXY, "");

    FtpReplies replies;
    HostKeyCheck hostKey;
    hostKey.accepted = job.sFtpHostKey;
    if (endpoint.sftp)
        setSftpOptions(h, job, knownHostsFile_, &hostKey);
    else
        setFtpOptions(h, job, timeout, &replies);

    CURLcode result = curl_easy_perform(h);
    // A server that offered TLS to an active-mode account: the data connection
    // failed for the reason above; once more in passive mode.
    if (!endpoint.sftp && result != CURLE_OK && replies.encrypted && replies.loggedIn && !job.bFtpPassive
        && !job.bFtpRequireTls && result != CURLE_OPERATION_TIMEDOUT && file.seek(0)) {
        // curl may keep the encrypted control connection: no new "234" then.
        replies.loggedIn = false;
        curl_easy_setopt(h, CURLOPT_FTPPORT, nullptr);
        result = curl_easy_perform(h);
    }
    const int code = endpoint.sftp ? (isSftpConnectFailure(result) ? 2 : 3) : (replies.loggedIn ? 3 : 2);
    if (result == CURLE_OPERATION_TIMEDOUT || result == CURLE_FTP_ACCEPT_TIMEOUT) {
        serverSilent_ = true;
        return {
            QString(), PublishTexts::uploadErrorLine(picture, code) + PublishTexts::serverSilent(), QString()};
    }
    if (result != CURLE_OK)
        return {QString(),
            PublishTexts::uploadErrorLine(picture, code) + failureReason(result, endpoint, hostKey),
            QString()};
    lastEncrypted_ = endpoint.sftp || replies.encrypted;
    lastSecurity = int(lastEncrypted_ ? LastUploadSecurity::Encrypted : LastUploadSecurity::Clear);
    QString warning;
    if (!lastEncrypted_ && !warnedClear_) {
        warnedClear_ = true;
        warning = PublishTexts::passwordInClear();
    }
    return {uploadWebAddress(job, stamp, fileName), QString(), warning};
}

UploadOutcome UploadPicture(
    const JobSettings &job, const QString &localPath, const QString &fileName, const QDateTime &now)
{
    return UploadSession().UploadPicture(job, localPath, fileName, now);
}
