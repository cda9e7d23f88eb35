// Saved jobs read back what they know and say what they could not use.
#include "fs/app_paths.h"
#include "job/job_file.h"
#include "job/job_restore.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

bool anyContains(const QStringList &lines, const QString &part)
{
    return std::any_of(lines.begin(), lines.end(), [&](const QString &l) { return l.contains(part); });
}

} // namespace

TEST(JobFile, LoadsWhatItKnowsAndNamesTheRest)
{
    QTemporaryDir dir;
    const AppPaths paths = AppPaths::at(dir.path(), dir.path());
    FrameList frames;
    JobSettings saved = startJobSettings(paths);
    chooseSizeMode(saved, saved.fitInsideIndex());
    saved.iTargetW = 640;
    saved.iJPGQ = 70;
    saved.sText = QStringLiteral("第一行\n第二行 \\ end");
    saved.bTextMark = 1;
    saved.iuTxtPos = kTopLeft;
    saved.sFtpPassword = QStringLiteral("secret");
    saved.sOutDir = QStringLiteral("/somewhere/out");
    const QString file = dir.filePath(QStringLiteral("job.ini"));
    ASSERT_TRUE(writeJobFile(saved, file, false, nullptr));
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    QByteArray bytes = written.readAll();
    EXPECT_TRUE(bytes.startsWith("# Tuvo job\nVersion=1\n"));
    EXPECT_FALSE(bytes.contains("secret"));
    EXPECT_FALSE(bytes.contains("sOutDir"));

    // A newer program's file: unknown keys are named, the rest loads.
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("newer.ini")),
        bytes.replace("Version=1", "Version=7") + "sFutureThing=1\nbAlsoNew=2\n"));
    JobSettings job = startJobSettings(paths);
    const JobFileLoad load = readJobFile(dir.filePath(QStringLiteral("newer.ini")), paths, frames, job);
    EXPECT_TRUE(load.loaded);
    EXPECT_TRUE(anyContains(load.messages, QStringLiteral("版本7")));
    EXPECT_TRUE(anyContains(load.messages, QStringLiteral("sFutureThing, bAlsoNew")));
    EXPECT_EQ(job.iuSize, job.fitInsideIndex());
    EXPECT_EQ(job.iTargetW, 640);
    EXPECT_EQ(job.iJPGQ, 70);
    EXPECT_EQ(job.sText, saved.sText);
    EXPECT_EQ(job.bTextMark, 1);
    EXPECT_EQ(job.iuTxtPos, kTopLeft); // the saved position wins over the restore's custom one
    EXPECT_TRUE(job.sFtpPassword.isEmpty());
}

TEST(JobFile, MissingPicturesAndHostileFilesGiveSafeValuesAndAMessage)
{
    QTemporaryDir dir;
    const AppPaths paths = AppPaths::at(dir.path(), dir.path());
    FrameList frames;
    const JobSettings start = startJobSettings(paths);
    const auto load = [&](const QByteArray &content, JobSettings *job) {
        const QString file = dir.filePath(QStringLiteral("j.ini"));
        QFile::remove(file);
        EXPECT_TRUE(writeFile(file, content));
        *job = start;
        return readJobFile(file, paths, frames, *job);
    };
    JobSettings job;

    JobFileLoad r
        = load("Version=1\nsFrameFile=gone.png\nsuISyF=/no/such/mark.png\nbPicMark=1\niuSize=2\n", &job);
    EXPECT_TRUE(r.loaded);
    EXPECT_TRUE(anyContains(r.messages, QStringLiteral("边框图片不存在")));
    EXPECT_TRUE(anyContains(r.messages, dir.filePath(QStringLiteral("gone.png")))); // beside the job
    EXPECT_TRUE(anyContains(r.messages, QStringLiteral("水印图片不存在")));
    EXPECT_TRUE(job.sFrameFile.isEmpty());
    EXPECT_EQ(job.bPicMark, 0);
    EXPECT_EQ(job.iuSize, kOriginalSize);

    // Huge and nonsense numbers keep the values the job had.
    r = load(
        "Version=1\niTargetW=1e300\niuSize=99999\niJPGQ=-5\nsngMarkScale=1e9\nsngColorMatrix=1,2\n", &job);
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.messages.size(), 5) << r.messages.join('\n').toStdString();
    EXPECT_EQ(job.iTargetW, start.iTargetW);
    EXPECT_EQ(job.iuSize, start.iuSize);
    EXPECT_EQ(job.iJPGQ, start.iJPGQ);
    EXPECT_EQ(job.sngMarkScale, start.sngMarkScale);

    // Binary garbage, a file without a version and a huge file load nothing.
    for (const QByteArray &content : {QByteArray("Version=1\n\xff\xfe\x00\x01garbage", 20),
             QByteArray("iJPGQ=5\n"), QByteArray("Version=1\n") + QByteArray(1024 * 1024, 'x')}) {
        r = load(content, &job);
        EXPECT_FALSE(r.loaded);
        EXPECT_EQ(r.messages.size(), 1);
        EXPECT_EQ(job.iJPGQ, start.iJPGQ);
    }

    // A pipe is never opened for reading: that would wait for a writer.
    const QString fifo = dir.filePath(QStringLiteral("fifo.ini"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    r = readJobFile(fifo, paths, frames, job);
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.messages.size(), 1);
}

// An exported job carries its frame and watermark and finds them on another machine.
TEST(JobFile, ExportedJobTravelsWithItsPictures)
{
    QTemporaryDir dir;
    const AppPaths paths = AppPaths::at(dir.path(), dir.path());
    QImage picture(20, 10, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("frame.png"))));
    ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("mark.png"))));
    JobSettings job = startJobSettings(paths);
    job.sFrameFile = dir.filePath(QStringLiteral("frame.png"));
    job.suISyF = dir.filePath(QStringLiteral("mark.png"));
    job.bPicMark = 1;
    ASSERT_TRUE(writeJobFile(job, dir.filePath(QStringLiteral("带图.ini")), false, nullptr));
    QDir().mkpath(dir.filePath(QStringLiteral("export")));
    QString error;
    const QString folder = exportJobFolder(
        dir.filePath(QStringLiteral("带图.ini")), dir.filePath(QStringLiteral("export")), &error);
    ASSERT_FALSE(folder.isEmpty()) << error.toStdString();
    // The originals go away, as they would on the other machine.
    QFile::remove(dir.filePath(QStringLiteral("frame.png")));
    QFile::remove(dir.filePath(QStringLiteral("mark.png")));
    JobSettings loaded = startJobSettings(paths);
    const JobFileLoad load
        = readJobFile(QDir(folder).filePath(QStringLiteral("带图.ini")), paths, FrameList(), loaded);
    EXPECT_TRUE(load.loaded);
    EXPECT_TRUE(load.messages.isEmpty()) << load.messages.join('\n').toStdString();
    EXPECT_EQ(loaded.sFrameFile, QDir(folder).filePath(QStringLiteral("frame.png")));
    EXPECT_EQ(loaded.suISyF, QDir(folder).filePath(QStringLiteral("mark.png")));
    EXPECT_EQ(loaded.bPicMark, 1);
}
