#include "fs/committed_file.h"
#include "job/job_settings.h"
#include "publish/link_page.h"
#include "publish/make_pdf.h"
#include "publish/publishing.h"
#include "support/qstring_printer.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A small tmpfs of its own, mounted for the test and unmounted after it.
class SmallDisk {
public:
    explicit SmallDisk(const QString &mountPoint)
        : path_(mountPoint)
    {
        QDir().mkpath(path_);
        QProcess mount;
        mount.start(QStringLiteral("mount"),
            {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), QStringLiteral("size=512k"),
                QStringLiteral("tmpfs"), path_});
        mounted_ = mount.waitForFinished(10000) && mount.exitCode() == 0;
        error_ = QString::fromLocal8Bit(mount.readAllStandardError());
    }
    ~SmallDisk()
    {
        if (mounted_)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), path_});
    }
    bool mounted() const { return mounted_; }
    QString error() const { return error_; }

    // Takes every free block, so the next write of any size fails with ENOSPC.
    void fill() const
    {
        const int fd = ::open(QFile::encodeName(path_ + QStringLiteral("/filler")).constData(),
            O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        const QByteArray block(4096, 'f');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) { }
        while (::write(fd, block.constData(), 1) > 0) { }
        ::close(fd);
    }

private:
    QString path_;
    bool mounted_ = false;
    QString error_;
};

} // namespace

TEST(FilesOnAFullDisk, NothingIsCommittedThatIsNotWholeAndTheOldFilesStay)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "SKIPPED LOUDLY: mounting a small tmpfs needs root; the full-disk case is not tested";
    QTemporaryDir base;
    SmallDisk disk(base.filePath(QStringLiteral("disk")));
    if (!disk.mounted())
        GTEST_SKIP() << "SKIPPED LOUDLY: could not mount a tmpfs: " << disk.error().toStdString();

    const QString out = base.filePath(QStringLiteral("disk/out"));
    const QString user = base.filePath(QStringLiteral("disk/user"));
    ASSERT_TRUE(QDir().mkpath(out) && QDir().mkpath(user));
    const QString page = out + QStringLiteral("/PicURL.htm");
    const QString record = user + QStringLiteral("/picUpload.dat");
    const QString pdf = out + QStringLiteral("/Tuvo图片集.pdf");
    const QString picture = out + QStringLiteral("/a.bmp");
    ASSERT_TRUE(writeFile(page, "old page\r\n") && writeFile(record, "http://w/old.jpg\r\n")
        && writeFile(pdf, "%PDF old collection") && writeFile(picture, "old picture"));
    QImage source(300, 200, QImage::Format_RGB32);
    source.fill(Qt::red);
    const QString sourcePath = base.filePath(QStringLiteral("source.jpg"));
    ASSERT_TRUE(source.save(sourcePath));
    disk.fill();

    JobSettings job;
    job.sOutDir = out;
    const QStringList errors = funCreateHtm(job, {QStringLiteral("http://w/new.jpg")}, user);
    ASSERT_EQ(errors.size(), 2) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("写入文件时发生错误:") + page));
    EXPECT_TRUE(errors[1].startsWith(QStringLiteral("写入文件时发生错误:") + record));

    // The PDF step of a run reports the failure as an error line.
    QString message;
    const QStringList pdfErrors = makePublishSteps(user).makePdf(job, {sourcePath}, &message);
    ASSERT_EQ(pdfErrors.size(), 1);
    EXPECT_TRUE(pdfErrors[0].startsWith(QStringLiteral("写入文件时发生错误:") + pdf))
        << pdfErrors[0].toStdString();

    QString why;
    EXPECT_FALSE(writeFileAtomically(picture, QByteArray(100000, 'p'), &why));
    EXPECT_FALSE(why.isEmpty());

    EXPECT_EQ(readAll(page), QByteArray("old page\r\n"));
    EXPECT_EQ(readAll(record), QByteArray("http://w/old.jpg\r\n"));
    EXPECT_EQ(readAll(pdf), QByteArray("%PDF old collection"));
    EXPECT_EQ(readAll(picture), QByteArray("old picture"));
    // No temporaries are left behind.
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name),
        (QStringList {
            QStringLiteral("PicURL.htm"), QStringLiteral("Tuvo图片集.pdf"), QStringLiteral("a.bmp")}));
    EXPECT_EQ(
        QDir(user).entryList(QDir::Files | QDir::Hidden), QStringList {QStringLiteral("picUpload.dat")});
}

// Two processes appending to the upload record at the same time: every address stays.
TEST(UploadRecord, TwoProcessesAppendingTogetherKeepEveryAddress)
{
    QTemporaryDir out, program;
    const QString user = program.filePath(QStringLiteral("user"));
    JobSettings job;
    job.sOutDir = out.path();
    job.bShowURL = 0;
    job.bShowURLPic = 0;
    constexpr int kRuns = 150;

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    const char *const who = child == 0 ? "child" : "parent";
    int failures = 0;
    for (int i = 0; i < kRuns; ++i)
        failures
            += funCreateHtm(job, {QStringLiteral("http://w/%1-%2.jpg").arg(QLatin1String(who)).arg(i)}, user)
                   .size();
    if (child == 0)
        ::_exit(failures == 0 ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(failures, 0);

    const QList<QByteArray> lines = readAll(user + QStringLiteral("/picUpload.dat")).split('\n');
    EXPECT_EQ(lines.size(), 2 * kRuns + 1);
    for (const char *side : {"child", "parent"}) {
        for (int i = 0; i < kRuns; ++i)
            EXPECT_TRUE(lines.contains(
                QStringLiteral("http://w/%1-%2.jpg\r").arg(QLatin1String(side)).arg(i).toUtf8()))
                << side << " " << i;
    }
}
