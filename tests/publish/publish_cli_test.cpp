#include "publish/poppler.h"
#include "support/ftp_server.h"
#include "support/qstring_printer.h"
#include "support/test_files.h"
#include "support/tuvo_cli.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PublishCli : public ::testing::Test {
protected:
    QTemporaryDir in, out, home;
    FtpTestServer server;
    QStringList pictures;
    QStringList launcher; // a program that starts tuvo-cli, such as prlimit with its options
    bool quiet = true;

    void SetUp() override
    {
        QString why;
        ASSERT_TRUE(server.start(&why)) << why.toStdString();
        const QList<QColor> colours {Qt::red, Qt::green, Qt::blue};
        for (int i = 0; i < colours.size(); ++i) {
            QImage picture(400 + 100 * i, 300, QImage::Format_RGB32);
            picture.fill(colours[i]);
            const QString path = in.filePath(QStringLiteral("p%1.jpg").arg(i + 1));
            ASSERT_TRUE(picture.save(path));
            pictures << path;
        }
    }

    CliRun run(const QStringList &options)
    {
        CliCall call {.launcher = launcher};
        call.env.insert(QStringLiteral("TUVO_HOME"), home.path());
        call.env.insert(QStringLiteral("TUVO_FTP_PASSWORD"), server.options().password);
        QStringList arguments;
        if (quiet)
            arguments << QStringLiteral("--quiet");
        arguments << QStringList {"-o", out.path(), "-f", "jpg", "--size", "original", "--pdf", "--upload",
                         "--ftp-server", server.hostAndPort(), "--ftp-user", server.options().user,
                         "--web-base", "http://pics.example.org"}
                + options + pictures;
        return runTuvoCli(arguments, call);
    }

    QStringList uploaded() const { return QDir(server.root()).entryList(QDir::Files, QDir::Name); }
};

} // namespace

TEST_F(PublishCli, RunUploadsEveryPictureWritesTheLinkPageRecordAndPdf)
{
    const CliRun result = run({"--passive"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();

    const QStringList names = uploaded();
    ASSERT_EQ(names.size(), 3);
    QStringList links;
    for (int i = 0; i < 3; ++i) {
        const QString local = QStringLiteral("p%1.jpg").arg(i + 1);
        EXPECT_TRUE(names[i].endsWith(QLatin1Char('_') + local)) << names[i].toStdString();
        EXPECT_EQ(names[i].size(), 13 + local.size());
        EXPECT_EQ(readAll(server.root() + QLatin1Char('/') + names[i]), readAll(out.filePath(local)));
        links << QStringLiteral("http://pics.example.org/") + names[i];
    }

    const QString page = QString::fromUtf8(readAll(out.filePath(QStringLiteral("PicURL.htm"))));
    for (const QString &link : links) {
        EXPECT_TRUE(
            page.contains(QStringLiteral("<br><img src=\"") + link + QStringLiteral("\"></img><br>\r\n")));
        EXPECT_TRUE(page.contains(QStringLiteral("【图片地址】 <font color=blue>") + link));
    }
    EXPECT_EQ(QString::fromUtf8(readAll(home.filePath(QStringLiteral("user/picUpload.dat")))),
        links.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));

    const QString pdf = out.filePath(QStringLiteral("Tuvo图片集.pdf"));
    EXPECT_EQ(poppler::pageCount(pdf), 5);
    EXPECT_EQ(poppler::imagePages(pdf), (QStringList {"2", "3", "4"}));
    EXPECT_EQ(poppler::pageText(pdf, 1), QStringLiteral("Tuvo图片集"));
}

TEST_F(PublishCli, StoppedServerGivesALineForEachPictureAndTheFinalLineCountsUploads)
{
    server.stop();
    quiet = false;
    const CliRun result = run({});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.count(QStringLiteral("在传输文件时发生错误:(错误代码:2)。")), 3)
        << result.err.toStdString();
    for (int i = 1; i <= 3; ++i) {
        const QString picture = out.filePath(QStringLiteral("p%1.jpg").arg(i));
        EXPECT_TRUE(QFile::exists(picture));
        EXPECT_TRUE(result.err.contains(picture + QStringLiteral("在传输文件时发生错误:")))
            << result.err.toStdString();
    }
    // Written 3 of 3, uploaded 0 of 3: nothing claims the pictures are on the network.
    EXPECT_TRUE(result.err.contains(QStringLiteral("写出 3/3 张图片, 上传 0/3"))) << result.err.toStdString();
    EXPECT_FALSE(result.err.contains(QStringLiteral("并上传到网络。")));
    EXPECT_EQ(poppler::pageCount(out.filePath(QStringLiteral("Tuvo图片集.pdf"))), 5);
    EXPECT_EQ(readAll(out.filePath(QStringLiteral("PicURL.htm"))).count("\r\n"), 1);
}

// Under a file-size limit the PDF and the grown record cannot be written whole:
// each is an error line, the run exits 1, and the old files stay as they were.
TEST_F(PublishCli, FileSizeLimitKeepsTheOldFilesAndIsReported)
{
    const QString record = home.filePath(QStringLiteral("user/picUpload.dat"));
    const QString pdf = out.filePath(QStringLiteral("Tuvo图片集.pdf"));
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("user")));
    const QByteArray oldRecord = QByteArray(39950, 'x') + "\r\n";
    const QByteArray oldPdf = "%PDF-1.4 the previous collection";
    for (const auto &[path, bytes] : {std::pair {record, oldRecord}, std::pair {pdf, oldPdf}}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    launcher = {QStringLiteral("prlimit"), QStringLiteral("--fsize=40000")};
    const CliRun result = run({"--passive"});

    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("写入文件时发生错误:") + record))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("写入文件时发生错误:") + pdf)) << result.err.toStdString();
    EXPECT_EQ(readAll(record), oldRecord);
    EXPECT_EQ(readAll(pdf), oldPdf);
    EXPECT_EQ(uploaded().size(), 3);
    EXPECT_EQ(
        QDir(out.path()).entryList({QStringLiteral("*.tuvo-*")}, QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(QDir(home.filePath(QStringLiteral("user"))).entryList(QDir::Files | QDir::Hidden),
        QStringList {QStringLiteral("picUpload.dat")});
}
