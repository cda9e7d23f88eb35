#include "publish/ftp_upload.h"

#include "fs/file_names.h"
#include "publish/known_hosts.h"
#include "publish/publish_texts.h"
#include "publish/upload_address.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <curl/curl.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>

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

// Asked by curl as the transfer goes: a non-zero answer ends it.
int stopWhenAsked(void *stop, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return stop && static_cast<const std::atomic<bool> *>(stop)->load() ? 1 : 0;
}

size_t readFromFile(char *buffer, size_t size, size_t count, void *file)
{
    const qint64 n = static_cast<QFile *>(file)->read(buffer, qint64(size * count));
    return n < 0 ? CURL_READFUNC_ABORT : size_t(n);
}

// curl hands every FTP reply line to the header callback. "234" accepts AUTH TLS:
// from here on the login and the transfers are encrypted. "230" means the server
// accepted the login, which is where a connection ends and a transfer begins.
// The last refusal (4xx, 5xx) says in the server's words what went wrong.
struct FtpReplies {
    bool encrypted = false;
    bool loggedIn = false;
    QString refusal;
};

size_t watchReplies(char *buffer, size_t size, size_t count, void *replies)
{
    const size_t n = size * count;
    auto *seen = static_cast<FtpReplies *>(replies);
    if (n >= 3 && std::memcmp(buffer, "234", 3) == 0)
        seen->encrypted = true;
    if (n >= 3 && std::memcmp(buffer, "230", 3) == 0)
        seen->loggedIn = true;
    if (n >= 3 && (buffer[0] == '4' || buffer[0] == '5') && std::isdigit(uchar(buffer[1])))
        seen->refusal = QString::fromUtf8(buffer, qsizetype(qMin<size_t>(n, 300))).trimmed();
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
    QString knownHostsFile;
    FtpEndpoint endpoint;
    QString accepted; // fingerprint the user accepted, "SHA256:..."
    QString unknownFingerprint; // set when an unknown key was refused
    bool changed = false; // known_hosts holds another key for this host
};

// The file is read and written here, not by libssh2: it would add the key
// without the port and match a key kept for one port on every other.
int checkHostKey(CURL *, const curl_khkey *, const curl_khkey *foundKey, curl_khmatch, void *data)
{
    auto *check = static_cast<HostKeyCheck *>(data);
    const QByteArray blob = foundKey->len > 0 ? QByteArray(foundKey->key, qsizetype(foundKey->len))
                                              : QByteArray::fromBase64(QByteArray(foundKey->key));
    const FtpEndpoint &server = check->endpoint;
    switch (lookUpHostKey(check->knownHostsFile, server.host, server.port, blob)) {
    case KnownHostKey::Matches:
        return CURLKHSTAT_FINE;
    case KnownHostKey::Changed:
        check->changed = true;
        return CURLKHSTAT_REJECT;
    case KnownHostKey::Unknown:
        break;
    }
    const QString fingerprint = sshFingerprint(blob);
    if (check->accepted.isEmpty() || fingerprint != check->accepted.trimmed()) {
        check->unknownFingerprint = fingerprint;
        return CURLKHSTAT_REJECT;
    }
    // Accepted for this upload even when it cannot be remembered.
    addHostKey(check->knownHostsFile, server.host, server.port, blob);
    return CURLKHSTAT_FINE;
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

void setSftpOptions(CURL *h, const JobSettings &job, HostKeyCheck *hostKey)
{
    long methods = CURLSSH_AUTH_PASSWORD;
    const QString keyFile = job.sFtpKeyFile.isEmpty() ? defaultSshKey() : job.sFtpKeyFile;
    if (!keyFile.isEmpty() && QFileInfo::exists(keyFile)) {
        methods |= CURLSSH_AUTH_PUBLICKEY;
        curl_easy_setopt(h, CURLOPT_SSH_PRIVATE_KEYFILE, QFile::encodeName(keyFile).constData());
    }
    curl_easy_setopt(h, CURLOPT_SSH_AUTH_TYPES, methods);
    // curl calls the key function only with a known_hosts file set.
    curl_easy_setopt(h, CURLOPT_SSH_KNOWNHOSTS, QFile::encodeName(hostKey->knownHostsFile).constData());
    curl_easy_setopt(h, CURLOPT_SSH_KEYFUNCTION, checkHostKey);
    curl_easy_setopt(h, CURLOPT_SSH_KEYDATA, hostKey);
}

void setFtpOptions(CURL *h, const JobSettings &job, long timeout, bool passive, FtpReplies *replies)
{
    curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, watchReplies);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, replies);
    // Explicit TLS ("AUTH TLS") whenever the server offers it; required, a server
    // without it is refused before USER and PASS are sent.
    curl_easy_setopt(h, CURLOPT_USE_SSL, long(job.bFtpRequireTls ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    curl_easy_setopt(h, CURLOPT_FTPSSLAUTH, long(CURLFTPAUTH_TLS));
    // Over TLS 1.3 servers such as vsftpd close an upload's data connection
    // before curl has read their session tickets, and the transfer breaks
    // ("426 Failure reading network stream"); TLS 1.2 does not do that.
    curl_easy_setopt(
        h, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_DEFAULT) | long(CURL_SSLVERSION_MAX_TLSv1_2));
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
    if (!passive)
        curl_easy_setopt(h, CURLOPT_FTPPORT, "-");
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, timeout);
    curl_easy_setopt(h, CURLOPT_ACCEPTTIMEOUT_MS, timeout * 1000);
}

// What the error line adds to its code: the cause when the user can act on it,
// else the server's own words.
QString failureReason(CURLcode result, const FtpEndpoint &endpoint, const HostKeyCheck &hostKey,
    const FtpReplies &replies, const char *curlMessage, int code)
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
    if (code != 3)
        return QString();
    if (!replies.refusal.isEmpty())
        return PublishTexts::serverReply(replies.refusal);
    // SFTP has no reply lines; curl's message carries the server's status.
    if (endpoint.sftp && *curlMessage)
        return PublishTexts::serverReply(QString::fromUtf8(curlMessage).trimmed());
    return QString();
}

// The transfer never began: the active data connection could not be set up
// (PORT refused, the server could not connect back, or no TLS on it).
bool activeDataConnectionFailed(CURLcode result, CURL *h, const FtpReplies &replies)
{
    curl_off_t sent = 0;
    curl_easy_getinfo(h, CURLINFO_SIZE_UPLOAD_T, &sent);
    const bool dataConnection = result == CURLE_FTP_PORT_FAILED || result == CURLE_FTP_ACCEPT_FAILED
        || result == CURLE_FTP_ACCEPT_TIMEOUT || result == CURLE_SSL_CONNECT_ERROR
        || result == CURLE_RECV_ERROR || result == CURLE_SEND_ERROR
        || replies.refusal.startsWith(QLatin1String("425"));
    return dataConnection && replies.loggedIn && sent == 0;
}

// Whether the server has remotePath already. Asked on the connection the upload
// then uses; a server that cannot say counts as not having it.
CURLcode askRemoteFile(CURL *h, const QByteArray &url, bool *exists)
{
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(h, CURLOPT_FILETIME, 1L);
    const CURLcode result = curl_easy_perform(h);
    curl_off_t time = -1;
    curl_off_t length = -1;
    curl_easy_getinfo(h, CURLINFO_FILETIME_T, &time);
    curl_easy_getinfo(h, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    *exists = result == CURLE_OK && (time >= 0 || length >= 0);
    curl_easy_setopt(h, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(h, CURLOPT_FILETIME, 0L);
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    return result;
}

// name with "_n" before its extension.
QString numberedName(const QString &name, int n)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString number = QStringLiteral("_%1").arg(n);
    return dot > 0 ? name.left(dot) + number + name.mid(dot) : name + number;
}

// Held while one upload picks its remote name and sends the file, so that runs
// of this user at the same time never pick the same name for one server folder.
class RemoteFolderLock {
public:
    explicit RemoteFolderLock(const QString &key)
    {
        const QByteArray digest
            = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
        const QString path
            = QDir::temp().filePath(QStringLiteral("tuvo-upload-%1-%2.lock").arg(::getuid()).arg(digest));
        fd_ = ::open(encodeFileName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        while (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0 && errno == EINTR) { }
    }
    ~RemoteFolderLock()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    RemoteFolderLock(const RemoteFolderLock &) = delete;
    RemoteFolderLock &operator=(const RemoteFolderLock &) = delete;

private:
    int fd_ = -1;
};

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
    const QByteArray user = job.sFtpUser.toUtf8();
    const QByteArray password = job.sFtpPassword.toUtf8();

    QFile file(localPath);
    // A written picture that cannot be read back is a failed transfer.
    if (!file.open(QIODevice::ReadOnly))
        return {QString(), PublishTexts::uploadErrorLine(picture, 3), QString()};

    CURL *h = handle.get();
    char curlMessage[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, curlMessage);
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
    if (stop_) {
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, stopWhenAsked);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool> *>(stop_));
    }

    FtpReplies replies;
    HostKeyCheck hostKey;
    hostKey.knownHostsFile = knownHostsFile_;
    hostKey.endpoint = endpoint;
    hostKey.accepted = job.sFtpHostKey;
    const bool passive = job.bFtpPassive || job.bFtpRequireTls || passiveAfterActiveFailed_;
    if (endpoint.sftp)
        setSftpOptions(h, job, &hostKey);
    else
        setFtpOptions(h, job, timeout, passive, &replies);

    // Two pictures of the same name in one second, from this run and another or
    // from two runs at once, would take the same remote name: a name the server
    // has already is numbered on, so every link shows what this run sent.
    const QString folderKey = job.sFtpServer + QLatin1Char('\n') + job.sFtpUser + QLatin1Char('\n')
        + uploadRemotePath(job, QString(), QString());
    const RemoteFolderLock lock(folderKey);
    QString remoteName = fileName;
    CURLcode result = CURLE_OK;
    for (int n = 2; n < 1000; ++n) {
        bool exists = false;
        const QByteArray url = uploadUrl(endpoint, uploadRemotePath(job, stamp, remoteName)).toUtf8();
        result = askRemoteFile(h, url, &exists);
        // Only a failed connection or login ends the upload here; a missing folder
        // or a refused question is for the upload itself to report.
        const bool connected = endpoint.sftp ? !isSftpConnectFailure(result) : replies.loggedIn;
        if (connected && result != CURLE_OPERATION_TIMEDOUT)
            result = CURLE_OK;
        if (result != CURLE_OK || !exists)
            break;
        remoteName = numberedName(fileName, n);
    }
    replies.refusal.clear(); // "550 no such file" answered the question, not the upload
    // The server offered TLS: an active data connection would be encrypted too,
    // which NAT helpers cannot follow and this libcurl cannot accept.
    const bool goPassive = !passive && replies.encrypted;
    if (goPassive)
        curl_easy_setopt(h, CURLOPT_FTPPORT, nullptr);
    if (result == CURLE_OK)
        result = curl_easy_perform(h);
    // The active data connection could not be made (a firewall, TLS on a
    // connection the server opens): once more in passive mode, and passive for
    // the rest of the run. A transfer that broke after sending is not resent.
    if (!endpoint.sftp && !passive && !goPassive && activeDataConnectionFailed(result, h, replies)
        && file.seek(0)) {
        replies.refusal.clear();
        curlMessage[0] = 0;
        curl_easy_setopt(h, CURLOPT_FTPPORT, nullptr);
        result = curl_easy_perform(h);
        if (result == CURLE_OK)
            passiveAfterActiveFailed_ = true;
    }
    const int code = endpoint.sftp ? (isSftpConnectFailure(result) ? 2 : 3) : (replies.loggedIn ? 3 : 2);
    if (result == CURLE_OPERATION_TIMEDOUT || result == CURLE_FTP_ACCEPT_TIMEOUT) {
        serverSilent_ = true;
        return {QString(), PublishTexts::uploadErrorLine(picture, code) + PublishTexts::serverSilent(),
            QString()};
    }
    if (result != CURLE_OK)
        return {QString(),
            PublishTexts::uploadErrorLine(picture, code)
                + failureReason(result, endpoint, hostKey, replies, curlMessage, code),
            QString()};
    lastEncrypted_ = endpoint.sftp || replies.encrypted;
    lastSecurity = int(lastEncrypted_ ? LastUploadSecurity::Encrypted : LastUploadSecurity::Clear);
    QString warning;
    if (!lastEncrypted_ && !warnedClear_) {
        warnedClear_ = true;
        warning = PublishTexts::passwordInClear();
    }
    return {uploadWebAddress(job, stamp, remoteName), QString(), warning};
}

UploadOutcome UploadPicture(
    const JobSettings &job, const QString &localPath, const QString &fileName, const QDateTime &now)
{
    return UploadSession().UploadPicture(job, localPath, fileName, now);
}
