// tuvo-cli --watch --upload against a real FTP server: each picture is uploaded
// as it is done, and the link page and upload record list every picture of the
// watch, not only the last run's.
#include "support/cli_watcher.h"
#include "support/ftp_server.h"
#include "support/test_files.h"

#include <QDir>
#include <QImage>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(WatchUpload, EachPictureIsUploadedAndTheLinkPageKeepsThemAll)
{
    FtpTestServer server;
    QString why;
    ASSERT_TRUE(server.start(&why)) << why.toStdString();
    QTemporaryDir in, out, home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TUVO_HOME"), home.path());
    env.insert(QStringLiteral("TUVO_FTP_PASSWORD"), server.options().password);
    CliWatcher watcher(in.path(), out.path(),
        {"--passive", "--upload", "--ftp-server", server.hostAndPort(), "--ftp-user", server.options().user,
            "--web-base", "http://pics.example.org"},
        env);
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(in.filePath(QStringLiteral("a.jpg"))));
    EXPECT_EQ(watcher.pictures(1).size(), 1);
    ASSERT_TRUE(picture.save(in.filePath(QStringLiteral("b.jpg"))));
    const QList<QJsonObject> said = watcher.pictures(2);
    EXPECT_EQ(said.size(), 2);
    watcher.stop();
    EXPECT_EQ(watcher.exitCode(), 0);

    const QStringList uploaded = QDir(server.root()).entryList(QDir::Files, QDir::Name);
    QByteArray lines;
    for (const QJsonObject &line : said)
        lines += QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
    ASSERT_EQ(uploaded.size(), 2) << lines.toStdString();
    const QString page = QString::fromUtf8(readAll(out.filePath(QStringLiteral("PicURL.htm"))));
    QStringList links;
    for (const QString &name : uploaded) {
        links << QStringLiteral("http://pics.example.org/") + name;
        EXPECT_TRUE(page.contains(links.last())) << page.toStdString();
    }
    QStringList recorded = QString::fromUtf8(readAll(home.filePath(QStringLiteral("user/picUpload.dat"))))
                               .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    recorded.sort();
    EXPECT_EQ(recorded, links);
}
