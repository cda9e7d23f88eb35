#include "job/job_settings.h"
#include "publish/ftp_upload.h"
#include "publish/publish_texts.h"
#include "support/ftp_server.h"
#include "support/qstring_printer.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QDateTime kWhen(QDate(2014, 12, 5), QTime(15, 30, 12));

// Runs a shell line; its standard output, or a null string when it failed.
QString shell(const QString &line)
{
    QProcess p;
    p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), line});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QString quoted(const QString &path)
{
    return QLatin1Char('\'') + path + QLatin1Char('\'');
}

struct Picture {
    QTemporaryDir dir;
    QString path;
    QByteArray bytes = QByteArray(5000, 'p') + "\r\n\0end";
    Picture()
        : path(dir.filePath(QStringLiteral("a.jpg")))
    {
        writeFile(path, bytes);
    }
};

// A self-signed certificate for 127.0.0.1, made for the test.
struct Certificate {
    QTemporaryDir dir;
    QString cert = dir.filePath(QStringLiteral("cert.pem"));
    QString key = dir.filePath(QStringLiteral("key.pem"));
    bool make()
    {
        return !shell(
            QStringLiteral("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 "
                           "-addext subjectAltName=IP:127.0.0.1 -keyout %1 -out %2 2>/dev/null && echo ok")
                .arg(quoted(key), quoted(cert)))
                    .isNull();
    }
    // SHA-256 of the public key, base64, as the account's pin holds it.
    QString pin() const
    {
        return shell(QStringLiteral("openssl x509 -in %1 -pubkey -noout | openssl pkey -pubin -outform der | "
                                    "openssl dgst -sha256 -binary | base64")
                         .arg(quoted(cert)));
    }
};

JobSettings accountFor(const FtpTestServer &server)
{
    JobSettings job;
    job.sFtpServer = server.hostAndPort();
    job.sFtpUser = server.options().user;
    job.sFtpPassword = server.options().password;
    job.sWebBase = QStringLiteral("http://w");
    job.bFtpPassive = true;
    return job;
}

} // namespace

// The server refuses USER and PASS on a clear channel, so every login that works
// here sent the password encrypted.
TEST(Ftps, TrustedThroughTheCaFileOrThePinAndRefusedOtherwise)
{
    Certificate certificate;
    ASSERT_TRUE(certificate.make()) << "openssl could not make a certificate";
    FtpTestServer::Options options;
    options.certificate = certificate.cert;
    options.privateKey = certificate.key;
    FtpTestServer server(options);
    QString why;
    ASSERT_TRUE(server.start(&why)) << why.toStdString();
    Picture picture;
    JobSettings job = accountFor(server);
    job.bFtpRequireTls = true;
    const QString uploadedFile = server.root() + QStringLiteral("/141205153012_a.jpg");

    // Not trusted by the system: refused before the login.
    UploadSession session;
    UploadOutcome outcome = session.UploadPicture(job, picture.path, QStringLiteral("a.jpg"), kWhen);
    EXPECT_EQ(outcome.errorLine,
        picture.path + QStringLiteral("在传输文件时发生错误:(错误代码:2)。")
            + PublishTexts::certificateRefused());
    EXPECT_FALSE(QFile::exists(uploadedFile));

    job.sFtpCaFile = certificate.cert;
    outcome = session.UploadPicture(job, picture.path, QStringLiteral("a.jpg"), kWhen);
    EXPECT_EQ(outcome.errorLine, QString());
    EXPECT_EQ(outcome.warning, QString());
    EXPECT_TRUE(session.lastEncrypted());
    EXPECT_EQ(readAll(uploadedFile), picture.bytes);
    EXPECT_TRUE(server.log().contains(QStringLiteral("AUTH TLS"))) << server.log().toStdString();
    QFile::remove(uploadedFile);

    // A pinned key stands in for the CA; another pin is refused.
    job.sFtpCaFile.clear();
    job.sFtpPin = certificate.pin();
    ASSERT_FALSE(job.sFtpPin.isEmpty());
    outcome = session.UploadPicture(job, picture.path, QStringLiteral("a.jpg"), kWhen);
    EXPECT_EQ(outcome.errorLine, QString());
    EXPECT_EQ(readAll(uploadedFile), picture.bytes);
    QFile::remove(uploadedFile);

    // Encryption not required, the account in active mode: TLS is still used.
    job.sFtpPin.clear();
    job.sFtpCaFile = certificate.cert;
    job.bFtpRequireTls = false;
    job.bFtpPassive = false;
    outcome = session.UploadPicture(job, picture.path, QStringLiteral("a.jpg"), kWhen);
    EXPECT_EQ(outcome.errorLine, QString());
    EXPECT_EQ(outcome.warning, QString());
    EXPECT_TRUE(session.lastEncrypted());
    EXPECT_EQ(readAll(uploadedFile), picture.bytes);
    QFile::remove(uploadedFile);

    job.sFtpCaFile.clear();
    job.bFtpRequireTls = true;
    job.sFtpPin = QString(64, QLatin1Char('a'));
    outcome = session.UploadPicture(job, picture.path, QStringLiteral("a.jpg"), kWhen);
    EXPECT_TRUE(outcome.errorLine.endsWith(PublishTexts::pinMismatch())) << outcome.errorLine.toStdString();
    EXPECT_FALSE(QFile::exists(uploadedFile));
}

TEST(Ftps, PlainServerIsRefusedWhenEncryptionIsRequiredAndWarnedAboutOtherwise)
{
    FtpTestServer server;
    QString why;
    ASSERT_TRUE(server.start(&why)) << why.toStdString();
    Picture picture;
    JobSettings job = accountFor(server);

    job.bFtpRequireTls = true;
    UploadSession strict;
    UploadOutcome outcome = strict.UploadPicture(job, picture.path, QStringLiteral("a.jpg"), kWhen);
    EXPECT_EQ(outcome.errorLine,
        picture.path + QStringLiteral("在传输文件时发生错误:(错误代码:2)。") + PublishTexts::tlsRequired());
    EXPECT_TRUE(QDir(server.root()).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(server.log().contains(QStringLiteral("PASS"))) << server.log().toStdString();
    EXPECT_FALSE(server.log().contains(QStringLiteral("USER"))) << server.log().toStdString();

    // Off: today's plain FTP, with one warning per run.
    job.bFtpRequireTls = false;
    UploadSession lenient;
    outcome = lenient.UploadPicture(job, picture.path, QStringLiteral("a.jpg"), kWhen);
    EXPECT_EQ(outcome.errorLine, QString());
    EXPECT_EQ(outcome.warning, PublishTexts::passwordInClear());
    EXPECT_FALSE(lenient.lastEncrypted());
    outcome = lenient.UploadPicture(job, picture.path, QStringLiteral("b.jpg"), kWhen);
    EXPECT_EQ(outcome.errorLine, QString());
    EXPECT_EQ(outcome.warning, QString());
    EXPECT_EQ(QDir(server.root()).entryList(QDir::Files).size(), 2);
}

namespace {

int freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(s, reinterpret_cast<sockaddr *>(&address), length);
    ::getsockname(s, reinterpret_cast<sockaddr *>(&address), &length);
    ::close(s);
    return ntohs(address.sin_port);
}

bool accepting(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(quint16(port));
    const bool ok = ::connect(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(s);
    return ok;
}

// OpenSSH's sshd on 127.0.0.1 with a configuration, host key and authorized key
// of its own; SFTP only. sshd needs root.
class SshTestServer {
public:
    QTemporaryDir dir;
    QString hostKey = dir.filePath(QStringLiteral("host_key"));
    QString clientKey = dir.filePath(QStringLiteral("client_key"));
    QString uploads = dir.filePath(QStringLiteral("uploads"));
    int port = 0;
    QProcess process;

    ~SshTestServer()
    {
        process.terminate();
        process.waitForFinished(5000);
    }

    QString start()
    {
        if (::geteuid() != 0)
            return QStringLiteral("sshd needs root");
        if (!QFile::exists(QStringLiteral("/usr/sbin/sshd")))
            return QStringLiteral("/usr/sbin/sshd is not installed (openssh-server)");
        QDir().mkpath(QStringLiteral("/run/sshd"));
        QDir().mkpath(uploads);
        // The password test logs in as another user, who must reach the folder.
        QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755));
        QFile::setPermissions(uploads, QFileDevice::Permissions(0x7777));
        for (const QString &key : {hostKey, clientKey}) {
            if (shell(QStringLiteral("ssh-keygen -q -t ed25519 -N '' -f %1 && echo ok").arg(quoted(key)))
                    .isNull())
                return QStringLiteral("ssh-keygen failed");
        }
        port = freePort();
        const QString config = dir.filePath(QStringLiteral("sshd_config"));
        writeFile(config,
            QStringLiteral("Port %1\nListenAddress 127.0.0.1\nHostKey %2\nPidFile %3\nAuthorizedKeysFile %4\n"
                           "StrictModes no\nPermitRootLogin yes\nPasswordAuthentication yes\n"
                           "KbdInteractiveAuthentication no\nUsePAM no\nSubsystem sftp internal-sftp\n")
                .arg(port)
                .arg(hostKey, dir.filePath(QStringLiteral("sshd.pid")), clientKey + QStringLiteral(".pub"))
                .toUtf8());
        process.start(QStringLiteral("/usr/sbin/sshd"), {"-D", "-e", "-f", config});
        if (!process.waitForStarted(10000))
            return QStringLiteral("sshd did not start");
        for (int i = 0; i < 100 && !accepting(port); ++i)
            QThread::msleep(50);
        if (!accepting(port))
            return QStringLiteral("sshd did not listen: ")
                + QString::fromLocal8Bit(process.readAllStandardError());
        return QString();
    }

    // "SHA256:..." as ssh-keygen -l shows it.
    QString hostFingerprint() const
    {
        return shell(QStringLiteral("ssh-keygen -lf %1.pub").arg(quoted(hostKey)))
            .section(QLatin1Char(' '), 1, 1);
    }
};

} // namespace

TEST(Sftp, UnknownHostKeyIsRefusedUntilItsFingerprintIsAcceptedThenKeyLoginUploads)
{
    SshTestServer server;
    const QString why = server.start();
    if (!why.isEmpty())
        GTEST_SKIP() << "SKIPPED LOUDLY: no SFTP server for the test: " << why.toStdString();
    Picture picture;
    QTemporaryDir home;
    const QString knownHosts = home.filePath(QStringLiteral("known_hosts"));
    JobSettings job;
    job.sFtpServer = QStringLiteral("sftp://127.0.0.1:%1").arg(server.port);
    job.sFtpUser = QStringLiteral("root");
    job.sFtpKeyFile = server.clientKey;
    job.sFtpDir = server.uploads;
    job.sWebBase = QStringLiteral("http://w");
    const QString uploadedFile = server.uploads + QStringLiteral("/141205153012_a.jpg");
    const QString fingerprint = server.hostFingerprint();
    ASSERT_TRUE(fingerprint.startsWith(QStringLiteral("SHA256:"))) << fingerprint.toStdString();

    UploadSession session;
    session.setKnownHostsFile(knownHosts);
    UploadOutcome outcome = session.UploadPicture(job, picture.path, QStringLiteral("a.jpg"), kWhen);
    EXPECT_EQ(outcome.errorLine,
        picture.path + QStringLiteral("在传输文件时发生错误:(错误代码:2)。")
            + PublishTexts::unknownHostKey(fingerprint));
    EXPECT_FALSE(QFile::exists(uploadedFile));

    job.sFtpHostKey = fingerprint;
    outcome = session.UploadPicture(job, picture.path, QStringLiteral("a.jpg"), kWhen);
    EXPECT_EQ(outcome.errorLine, QString());
    EXPECT_EQ(outcome.warning, QString());
    EXPECT_TRUE(session.lastEncrypted());
    EXPECT_EQ(readAll(uploadedFile), picture.bytes);
    EXPECT_EQ(outcome.link, QStringLiteral("http://w/141205153012_a.jpg"));

    // Accepted once: the key is in known_hosts now, as OpenSSH keeps it for a port
    // other than 22, and no acceptance is needed any more.
    EXPECT_FALSE(
        shell(QStringLiteral("ssh-keygen -F '[127.0.0.1]:%1' -f %2").arg(server.port).arg(knownHosts))
            .isNull());
    job.sFtpHostKey.clear();
    QFile::remove(uploadedFile);
    outcome = session.UploadPicture(job, picture.path, QStringLiteral("a.jpg"), kWhen);
    EXPECT_EQ(outcome.errorLine, QString());
    EXPECT_EQ(readAll(uploadedFile), picture.bytes);

    // Another key kept for the host without a port (port 22) is not this server's;
    // another key under this very name is a changed key.
    const QByteArray otherKey
        = readAll(server.clientKey + QStringLiteral(".pub")).split(' ').mid(0, 2).join(' ');
    const QString failed = picture.path + QStringLiteral("在传输文件时发生错误:(错误代码:2)。");
    ASSERT_TRUE(writeFile(knownHosts, "127.0.0.1 " + otherKey));
    EXPECT_EQ(session.UploadPicture(job, picture.path, QStringLiteral("a.jpg"), kWhen).errorLine,
        failed + PublishTexts::unknownHostKey(fingerprint));
    ASSERT_TRUE(
        writeFile(knownHosts, QStringLiteral("[127.0.0.1]:%1 ").arg(server.port).toUtf8() + otherKey));
    EXPECT_EQ(session.UploadPicture(job, picture.path, QStringLiteral("a.jpg"), kWhen).errorLine,
        failed + PublishTexts::hostKeyChanged());
}

TEST(Sftp, PasswordLogin)
{
    SshTestServer server;
    const QString why = server.start();
    if (!why.isEmpty())
        GTEST_SKIP() << "SKIPPED LOUDLY: no SFTP server for the test: " << why.toStdString();
    // A throw-away user with a password, removed again at the end.
    const QString user = QStringLiteral("tuvosftp%1").arg(::getpid());
    const QString password = QStringLiteral("pw-%1").arg(::getpid());
    if (shell(QStringLiteral("useradd -M -N -s /bin/sh %1 && echo '%1:%2' | chpasswd && echo ok")
                  .arg(user, password))
            .isNull())
        GTEST_SKIP() << "SKIPPED LOUDLY: could not add a user with a password for sshd";
    struct RemoveUser {
        QString name;
        ~RemoveUser() { shell(QStringLiteral("userdel %1").arg(name)); }
    } removeUser {user};

    Picture picture;
    QTemporaryDir home;
    JobSettings job;
    job.sFtpServer = QStringLiteral("sftp://127.0.0.1:%1").arg(server.port);
    job.sFtpUser = user;
    job.sFtpPassword = password;
    job.sFtpKeyFile = home.filePath(QStringLiteral("no_key"));
    job.sFtpDir = server.uploads;
    job.sFtpHostKey = server.hostFingerprint();
    UploadSession session;
    session.setKnownHostsFile(home.filePath(QStringLiteral("known_hosts")));
    UploadOutcome outcome = session.UploadPicture(job, picture.path, QStringLiteral("a.jpg"), kWhen);
    EXPECT_EQ(outcome.errorLine, QString());
    EXPECT_EQ(readAll(server.uploads + QStringLiteral("/141205153012_a.jpg")), picture.bytes);

    job.sFtpPassword = QStringLiteral("wrong");
    outcome = session.UploadPicture(job, picture.path, QStringLiteral("b.jpg"), kWhen);
    EXPECT_EQ(outcome.errorLine, picture.path + QStringLiteral("在传输文件时发生错误:(错误代码:2)。"));
}

namespace {

// Debian's vsftpd on 127.0.0.1 as it ships (TLS as its defaults have it),
// required on login and data, with a throw-away local user. Needs root.
class VsftpdTestServer {
public:
    QTemporaryDir dir;
    Certificate certificate;
    QString home = dir.filePath(QStringLiteral("home"));
    QString user = QStringLiteral("tuvoftp%1").arg(::getpid());
    QString password = QStringLiteral("pw-%1").arg(::getpid());
    int port = 0;
    QProcess process;
    bool userAdded = false;

    ~VsftpdTestServer()
    {
        process.terminate();
        process.waitForFinished(5000);
        if (userAdded)
            shell(QStringLiteral("userdel %1").arg(user));
    }

    QString start()
    {
        if (::geteuid() != 0)
            return QStringLiteral("vsftpd needs root");
        if (!QFile::exists(QStringLiteral("/usr/sbin/vsftpd")))
            return QStringLiteral("/usr/sbin/vsftpd is not installed (vsftpd)");
        if (!certificate.make())
            return QStringLiteral("openssl could not make a certificate");
        QDir().mkpath(home);
        QDir().mkpath(QStringLiteral("/var/run/vsftpd/empty"));
        QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755));
        if (shell(
                QStringLiteral("useradd -M -N -s /bin/sh -d %1 %2 && echo '%2:%3' | chpasswd && chown %2 %1 "
                               "&& echo ok")
                    .arg(quoted(home), user, password))
                .isNull())
            return QStringLiteral("could not add a user for vsftpd");
        userAdded = true;
        port = freePort();
        const QString config = dir.filePath(QStringLiteral("vsftpd.conf"));
        writeFile(config,
            QStringLiteral("listen=YES\nlisten_address=127.0.0.1\nlisten_port=%1\nbackground=NO\n"
                           "anonymous_enable=NO\nlocal_enable=YES\nwrite_enable=YES\nlocal_root=%2\n"
                           "ssl_enable=YES\nrsa_cert_file=%3\nrsa_private_key_file=%4\n"
                           "force_local_logins_ssl=YES\nforce_local_data_ssl=YES\n"
                           "secure_chroot_dir=/var/run/vsftpd/empty\npam_service_name=vsftpd\n"
                           "seccomp_sandbox=NO\nconnect_from_port_20=YES\n")
                .arg(port)
                .arg(home, certificate.cert, certificate.key)
                .toUtf8());
        process.start(QStringLiteral("/usr/sbin/vsftpd"), {config});
        if (!process.waitForStarted(10000))
            return QStringLiteral("vsftpd did not start");
        for (int i = 0; i < 100 && !accepting(port); ++i)
            QThread::msleep(50);
        if (!accepting(port))
            return QStringLiteral("vsftpd did not listen: ") + QString::fromLocal8Bit(process.readAll());
        return QString();
    }
};

} // namespace

// TLS required by a real server: 50 uploads in a row succeed for a passive, an
// active (which goes passive once the server offered TLS) and an encryption-
// requiring account, each file whole.
TEST(Ftps, FiftyUploadsInARowToVsftpdInEachMode)
{
    VsftpdTestServer server;
    const QString why = server.start();
    if (!why.isEmpty())
        GTEST_SKIP() << "SKIPPED LOUDLY: no vsftpd for the test: " << why.toStdString();
    Picture picture;
    picture.bytes = QByteArray(300000, 'v') + "end"; // larger than where TLS 1.3 transfers broke
    writeFile(picture.path, picture.bytes);
    JobSettings job;
    job.sFtpServer = QStringLiteral("127.0.0.1:%1").arg(server.port);
    job.sFtpUser = server.user;
    job.sFtpPassword = server.password;
    job.sFtpCaFile = server.certificate.cert;
    job.sFtpDir = server.home;
    job.sWebBase = QStringLiteral("http://w");
    for (const char *mode : {"passive", "active", "required"}) {
        job.bFtpPassive = QByteArray(mode) == "passive";
        job.bFtpRequireTls = QByteArray(mode) == "required";
        UploadSession session;
        int whole = 0;
        for (int i = 0; i < 50; ++i) {
            const QString name = QStringLiteral("%1-%2.jpg").arg(mode).arg(i);
            const UploadOutcome outcome = session.UploadPicture(job, picture.path, name, kWhen);
            EXPECT_EQ(outcome.errorLine, QString()) << name.toStdString();
            whole += readAll(server.home + QStringLiteral("/141205153012_") + name) == picture.bytes;
        }
        EXPECT_EQ(whole, 50) << mode;
        EXPECT_TRUE(session.lastEncrypted()) << mode;
    }
}
