#include "job/job_settings.h"
#include "publish/ftp_upload.h"
#include "publish/publish_texts.h"
#include "publish/upload_address.h"
#include "support/ftp_server.h"
#include "support/qstring_printer.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

const QDateTime kWhen(QDate(2014, 12, 5), QTime(15, 30, 12));

// Bytes that a text-mode transfer would change (CR LF, LF, a zero, high bytes).
QByteArray binaryBytes(int size)
{
    QByteArray b;
    for (int i = 0; i < size; ++i)
        b += char((i * 7 + 13) % 256);
    b += "\r\n\n\0end";
    return b;
}

JobSettings accountFor(const FtpTestServer &server, bool passive)
{
    JobSettings job;
    job.sFtpServer = server.hostAndPort();
    job.sFtpUser = server.options().user;
    job.sFtpPassword = server.options().password;
    job.sWebBase = QStringLiteral("http://pics.example.org/up");
    job.bFtpPassive = passive;
    return job;
}

} // namespace

TEST(UploadAddress, EmptyFoldersPutTheStampRightAfterTheRoot)
{
    JobSettings job;
    job.sWebBase = QStringLiteral("http://h/www");
    const QString stamp = uploadTimeStamp(kWhen);
    EXPECT_EQ(stamp, QStringLiteral("141205153012_"));
    EXPECT_EQ(uploadRemotePath(job, stamp, QStringLiteral("a.jpg")), QStringLiteral("/141205153012_a.jpg"));
    EXPECT_EQ(uploadWebAddress(job, stamp, QStringLiteral("a.jpg")),
        QStringLiteral("http://h/www/141205153012_a.jpg"));

    EXPECT_EQ(parseFtpServer(QStringLiteral("h.org")).port, 21);
    EXPECT_EQ(parseFtpServer(QStringLiteral("h.org:2121")).port, 2121);
    // Names with spaces or Chinese characters survive; a leading "/" stays absolute.
    EXPECT_EQ(uploadUrl({QStringLiteral("h"), 21}, QStringLiteral("/a b/图.jpg")),
        QStringLiteral("ftp://h:21/%2Fa%20b/%E5%9B%BE.jpg"));
}

class UploadToServer : public ::testing::TestWithParam<bool> { };

// Each mode against a server that refuses the other one, so the mode really is used.
TEST_P(UploadToServer, PutsTheBytesUnderTheStampedNameAndGivesTheAddress)
{
    const bool passive = GetParam();
    FtpTestServer::Options options;
    options.refusePassive = !passive;
    options.refuseActive = passive;
    FtpTestServer server(options);
    QString why;
    ASSERT_TRUE(server.start(&why)) << why.toStdString();
    ASSERT_TRUE(QDir(server.root()).mkpath(QStringLiteral("www/trip")));

    QTemporaryDir local;
    const QByteArray bytes = binaryBytes(200000);
    const QString name = QStringLiteral("海边 1.jpg");
    ASSERT_TRUE(writeFile(local.filePath(name), bytes));

    JobSettings job = accountFor(server, passive);
    // No slash typed between the folder and the sub-folder: one is put in.
    job.sFtpDir = QStringLiteral("/www");
    job.sFtpSubDir = QStringLiteral("trip");
    const UploadOutcome outcome = UploadPicture(job, local.filePath(name), name, kWhen);

    EXPECT_EQ(outcome.errorLine, QString());
    EXPECT_EQ(outcome.link,
        QStringLiteral("http://pics.example.org/up/trip/141205153012_%E6%B5%B7%E8%BE%B9%201.jpg"));
    EXPECT_EQ(readAll(server.root() + QStringLiteral("/www/trip/141205153012_海边 1.jpg")), bytes);
    EXPECT_EQ(readAll(local.filePath(name)), bytes);

    // The other mode is refused by this server: the switch is really honoured. An
    // active account whose data connection cannot be made goes passive instead.
    job.bFtpPassive = !passive;
    const UploadOutcome other = UploadPicture(job, local.filePath(name), name, kWhen);
    if (passive) {
        EXPECT_EQ(other.errorLine, QString());
    } else {
        EXPECT_EQ(other.errorLine,
            local.filePath(name) + QStringLiteral("在传输文件时发生错误:(错误代码:3)。")
                + PublishTexts::serverReply(QStringLiteral("502 Command not allowed here.")));
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, UploadToServer, ::testing::Values(false, true),
    [](const auto &info) { return info.param ? "Passive" : "Active"; });

// A stopped server is covered by the tuvo-cli run.
TEST(UploadFailures, RefusedLoginGivesCodeTwo)
{
    QTemporaryDir local;
    const QString path = local.filePath(QStringLiteral("a.jpg"));
    ASSERT_TRUE(writeFile(path, binaryBytes(1000)));

    FtpTestServer server;
    QString why;
    ASSERT_TRUE(server.start(&why)) << why.toStdString();
    JobSettings job = accountFor(server, false);

    job.sFtpPassword = QStringLiteral("wrong");
    UploadOutcome outcome = UploadPicture(job, path, QStringLiteral("a.jpg"), kWhen);
    EXPECT_EQ(outcome.errorLine, path + QStringLiteral("在传输文件时发生错误:(错误代码:2)。"));
    EXPECT_TRUE(outcome.link.isEmpty());
}

TEST(UploadFailures, RefusedTransferAfterLoginGivesCodeThreeAndNoAddress)
{
    QTemporaryDir local;
    const QString path = local.filePath(QStringLiteral("a.jpg"));
    ASSERT_TRUE(writeFile(path, binaryBytes(1000)));

    FtpTestServer::Options readOnly;
    readOnly.permissions = QStringLiteral("elr");
    FtpTestServer server(readOnly);
    QString why;
    ASSERT_TRUE(server.start(&why)) << why.toStdString();
    JobSettings job = accountFor(server, true);

    // The server's own reply says what is wrong.
    UploadOutcome outcome = UploadPicture(job, path, QStringLiteral("a.jpg"), kWhen);
    EXPECT_EQ(outcome.errorLine,
        path + QStringLiteral("在传输文件时发生错误:(错误代码:3)。")
            + PublishTexts::serverReply(QStringLiteral("550 Not enough privileges.")));
    EXPECT_TRUE(outcome.link.isEmpty());
    EXPECT_TRUE(QDir(server.root()).entryList(QDir::Files).isEmpty());

    // A folder that is not on the server is not made: the put fails.
    FtpTestServer writable;
    ASSERT_TRUE(writable.start(&why)) << why.toStdString();
    job = accountFor(writable, false);
    job.sFtpDir = QStringLiteral("/missing");
    outcome = UploadPicture(job, path, QStringLiteral("a.jpg"), kWhen);
    EXPECT_TRUE(outcome.errorLine.startsWith(path + QStringLiteral("在传输文件时发生错误:(错误代码:3)。")
        + PublishTexts::serverReply(QStringLiteral("550 "))))
        << outcome.errorLine.toStdString();
    EXPECT_TRUE(outcome.link.isEmpty());

    // A written picture that has gone before its upload.
    job.sFtpDir.clear();
    outcome
        = UploadPicture(job, local.filePath(QStringLiteral("gone.jpg")), QStringLiteral("gone.jpg"), kWhen);
    EXPECT_EQ(outcome.errorLine,
        local.filePath(QStringLiteral("gone.jpg")) + QStringLiteral("在传输文件时发生错误:(错误代码:3)。"));
}

// A server that takes the connection and never answers costs the timeout once;
// the run's further pictures fail at once, each with its own line.
TEST(UploadFailures, SilentServerIsWaitedForOnlyOnce)
{
    // Listening but never accepting: the kernel completes the connection, nobody speaks.
    const int silent = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(silent, reinterpret_cast<sockaddr *>(&address), length), 0);
    ASSERT_EQ(::listen(silent, 16), 0);
    ASSERT_EQ(::getsockname(silent, reinterpret_cast<sockaddr *>(&address), &length), 0);
    QTemporaryDir local;
    JobSettings job;
    job.sFtpServer = QStringLiteral("127.0.0.1:%1").arg(ntohs(address.sin_port));
    UploadSession session(1);
    for (const QString &name : {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")}) {
        ASSERT_TRUE(writeFile(local.filePath(name), binaryBytes(100)));
        const UploadOutcome outcome = session.UploadPicture(job, local.filePath(name), name, kWhen);
        EXPECT_TRUE(outcome.link.isEmpty());
        EXPECT_TRUE(outcome.errorLine.startsWith(
            local.filePath(name) + QStringLiteral("在传输文件时发生错误:(错误代码:2)。")))
            << outcome.errorLine.toStdString();
    }
    ::fcntl(silent, F_SETFL, O_NONBLOCK);
    int connections = 0;
    for (int client; (client = ::accept(silent, nullptr, nullptr)) >= 0; ++connections)
        ::close(client);
    ::close(silent);
    EXPECT_EQ(connections, 1);
}

// Two runs at once upload pictures of the same names in the same second: no
// file of one replaces the other's, and each link shows its own run's picture.
TEST(UploadNames, SameNamesInTheSameSecondFromTwoRunsKeepTheirOwnFiles)
{
    FtpTestServer server;
    QString why;
    ASSERT_TRUE(server.start(&why)) << why.toStdString();
    QTemporaryDir local;
    QStringList links[2];
    std::thread runs[2];
    for (int r = 0; r < 2; ++r) {
        const QString picture = local.filePath(QStringLiteral("%1.jpg").arg(r));
        ASSERT_TRUE(writeFile(picture, binaryBytes(3000 + r)));
        runs[r] = std::thread([&, r, picture] {
            UploadSession session;
            for (int i = 0; i < 8; ++i)
                links[r] << session
                                .UploadPicture(accountFor(server, true), picture,
                                    QStringLiteral("p%1.jpg").arg(i), kWhen)
                                .link;
        });
    }
    for (std::thread &run : runs)
        run.join();
    for (int r = 0; r < 2; ++r) {
        for (const QString &link : links[r]) {
            const QString name = QUrl::fromPercentEncoding(link.section(QLatin1Char('/'), -1).toUtf8());
            EXPECT_EQ(readAll(server.root() + QLatin1Char('/') + name), binaryBytes(3000 + r))
                << name.toStdString();
        }
    }
    EXPECT_EQ(QDir(server.root()).entryList(QDir::Files).size(), 16);
}
