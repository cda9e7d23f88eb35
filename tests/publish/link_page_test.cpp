#include "job/job_settings.h"
#include "publish/link_page.h"
#include "publish/upload_address.h"
#include "support/qstring_printer.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kHeader = QStringLiteral(
    "<font "
    "color=red>【Tuvo网络图片使用指南】<br>下面这些图片已经传输到了网络空间。复制您需要的图片,"
    "直接粘贴到网站的编辑框里即"
    "可使用。<br>如果网站不支持直接粘贴,请选择插入图片,选择对应的图片地址即可。</font><br><hr><br>");

QByteArray page(const QStringList &lines)
{
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

struct Folders {
    QTemporaryDir out;
    QTemporaryDir program;
    QString user() const { return program.filePath(QStringLiteral("user")); }
};

} // namespace

TEST(LinkPage, AddressLinesAndCaptionsFollowTheSwitches)
{
    Folders f;
    JobSettings job;
    job.sOutDir = f.out.path();
    job.bShowURL = 1;
    job.bShowURLPic = 0;
    job.PicCaptions = {QString(), QStringLiteral("海边")};
    const QStringList links = {QStringLiteral("http://w/a.jpg"), QStringLiteral("http://w/b.jpg")};

    EXPECT_EQ(funCreateHtm(job, links, f.user()), QStringList());
    EXPECT_EQ(readAll(f.out.filePath(QStringLiteral("PicURL.htm"))),
        page({kHeader, QStringLiteral("【图片地址】 <font color=blue>http://w/a.jpg</font><br>"),
            QStringLiteral("【图片地址】 <font color=blue>http://w/b.jpg</font><br>"),
            QStringLiteral("<font color=black>海边</font><br><br>")}));

    job.bShowURLPic = 1;
    job.bShowURL = 0;
    EXPECT_EQ(linkPageLines(job, {links[0]}),
        (QStringList {kHeader, QStringLiteral("<br><img src=\"http://w/a.jpg\"></img><br>")}));
}

TEST(LinkPage, RecordGrowsAcrossRunsWhileThePageHoldsTheLastRun)
{
    Folders f;
    JobSettings job;
    job.sOutDir = f.out.path();
    job.bShowURL = 0;
    job.bShowURLPic = 0;

    // The user folder does not exist yet: it is made.
    EXPECT_EQ(
        funCreateHtm(job, {QStringLiteral("http://w/1.jpg"), QStringLiteral("http://w/2.jpg")}, f.user()),
        QStringList());
    EXPECT_EQ(funCreateHtm(job, {QStringLiteral("http://w/3.jpg")}, f.user()), QStringList());

    EXPECT_EQ(readAll(f.out.filePath(QStringLiteral("PicURL.htm"))), page({kHeader}));
    EXPECT_EQ(readAll(f.user() + QStringLiteral("/picUpload.dat")),
        QByteArray("http://w/1.jpg\r\nhttp://w/2.jpg\r\nhttp://w/3.jpg\r\n"));
    // Runs of more pictures than the link table's 1001 places list them all.
    QStringList many;
    for (int i = 0; i < 1500; ++i)
        many << QStringLiteral("http://w/%1.jpg").arg(i);
    EXPECT_EQ(funCreateHtm(job, many, f.user()), QStringList());
    EXPECT_EQ(readAll(f.user() + QStringLiteral("/picUpload.dat")).count("\r\n"), 1503);
    EXPECT_EQ(readAll(f.out.filePath(QStringLiteral("PicURL.htm"))), page({kHeader}));

    // Nothing but the page is left in the output folder (no temporary files).
    EXPECT_EQ(
        QDir(f.out.path()).entryList(QDir::Files | QDir::Hidden), QStringList {QStringLiteral("PicURL.htm")});
}

TEST(LinkPage, UnwritableFolderGivesAnErrorLineAndTheRecordStillGrows)
{
    Folders f;
    JobSettings job;
    job.sOutDir = f.out.filePath(QStringLiteral("missing"));
    const QStringList errors = funCreateHtm(job, {QStringLiteral("http://w/1.jpg")}, f.user());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("写入文件时发生错误:"))) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(QStringLiteral("PicURL.htm")));
    EXPECT_EQ(readAll(f.user() + QStringLiteral("/picUpload.dat")), QByteArray("http://w/1.jpg\r\n"));
}

// Names are the user's text: on the page they stay text, in addresses they are
// percent-encoded, and the sub-folder is joined with exactly one "/".
TEST(LinkPage, HostileNamesStayTextAndAddressesAreEncoded)
{
    JobSettings job;
    job.sWebBase = QStringLiteral("http://w/");
    job.sFtpSubDir = QStringLiteral("/sub/");
    EXPECT_EQ(
        uploadWebAddress(job, QStringLiteral("141205153012_"), QStringLiteral("x onerror=alert(1) y.jpg")),
        QStringLiteral("http://w/sub/141205153012_x%20onerror%3Dalert%281%29%20y.jpg"));
    EXPECT_EQ(uploadWebAddress(job, QString(), QStringLiteral("a#b%c 海.jpg")),
        QStringLiteral("http://w/sub/a%23b%25c%20%E6%B5%B7.jpg"));
    job.sFtpDir = QStringLiteral("/www");
    job.sFtpSubDir = QStringLiteral("sub");
    EXPECT_EQ(uploadRemotePath(job, QString(), QStringLiteral("a.jpg")), QStringLiteral("/www/sub/a.jpg"));

    job.bShowURL = 1;
    job.bShowURLPic = 1;
    job.PicCaptions = {QStringLiteral("<!-- 海 & \"边\"")};
    const QStringList lines = linkPageLines(job, {QStringLiteral("http://w/a\"b<c>.jpg")});
    EXPECT_EQ(lines.mid(1),
        (QStringList {QStringLiteral("<br><img src=\"http://w/a&quot;b&lt;c&gt;.jpg\"></img><br>"),
            QStringLiteral("【图片地址】 <font color=blue>http://w/a&quot;b&lt;c&gt;.jpg</font><br>"),
            QStringLiteral("<font color=black>&lt;!-- 海 &amp; &quot;边&quot;</font><br><br>")}));
}
