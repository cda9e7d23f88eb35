#include "batch/frame_layer.h"
#include "batch/frame_list.h"
#include "decoration_pixels.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

class FrameListTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString bk = dir.filePath(QStringLiteral("bk"));
    void SetUp() override { QDir().mkpath(bk); }
};

TEST_F(FrameListTest, ListsPngFramesByNameBetweenNoFrameAndTheCommands)
{
    touch(bk + "/wood.png");
    touch(bk + "/Gold.PNG");
    touch(bk + "/notes.txt");
    QDir().mkpath(bk + "/folder.png");
    FrameList frames;
    frames.loadFolder(bk);
    EXPECT_EQ(
        frames.entries(), QStringList({"无边框", "Gold", "wood", "添加本地边框...", "网络下载边框..."}));
    EXPECT_EQ(frames.path(0), QString());
    EXPECT_EQ(frames.path(1), QDir(bk).absoluteFilePath("Gold.PNG"));
    EXPECT_EQ(frames.path(2), QDir(bk).absoluteFilePath("wood.png"));
    EXPECT_EQ(frames.path(3), QString());
    EXPECT_TRUE(frames.isAddLocal(3));
    EXPECT_TRUE(frames.isDownload(4));
    EXPECT_EQ(frames.indexOf(bk + "/./wood.png"), 2);
}

TEST_F(FrameListTest, MissingFolderLeavesNoFrameAndTheCommands)
{
    FrameList frames;
    frames.loadFolder(dir.filePath("nothing-here"));
    EXPECT_EQ(frames.entries(), QStringList({"无边框", "添加本地边框...", "网络下载边框..."}));
}

TEST_F(FrameListTest, AddingAFolderTwiceAddsItsFramesOnce)
{
    touch(bk + "/wood.png");
    const QString more = dir.filePath("more");
    QDir().mkpath(more);
    touch(more + "/a.png");
    touch(more + "/b.png");
    FrameList frames;
    frames.loadFolder(bk);
    EXPECT_EQ(frames.addFolder(more), 2);
    EXPECT_EQ(frames.addFolder(more), 0);
    EXPECT_EQ(frames.addFolder(bk), 0);
    EXPECT_EQ(
        frames.entries(), QStringList({"无边框", "wood", "a", "b", "添加本地边框...", "网络下载边框..."}));
}

TEST_F(FrameListTest, HoldsAtMostFiveHundredFrames)
{
    for (int i = 0; i < 503; ++i)
        touch(bk + QStringLiteral("/f%1.png").arg(i, 3, 10, QLatin1Char('0')));
    FrameList frames;
    frames.loadFolder(bk);
    EXPECT_EQ(frames.frameCount(), 500);
    EXPECT_EQ(frames.entries().at(500), "f499");
    EXPECT_EQ(frames.entries().at(501), "添加本地边框...");
    const QString more = dir.filePath("more");
    QDir().mkpath(more);
    touch(more + "/late.png");
    EXPECT_EQ(frames.addFolder(more), 0);
}

TEST_F(FrameListTest, ChoosingEntriesSetsTheFrameOrAsksTheWindow)
{
    touch(bk + "/gold.png");
    touch(bk + "/wood.png");
    FrameList frames;
    frames.loadFolder(bk);
    JobSettings job;

    EXPECT_EQ(chooseFrame(job, frames, 2), FrameChoice::Selected);
    EXPECT_EQ(job.iuBk, 2);
    EXPECT_EQ(job.sFrameFile, frames.path(2));

    EXPECT_EQ(chooseFrame(job, frames, 3), FrameChoice::ChooseFolder);
    EXPECT_EQ(job.iuBk, 2) << "the folder command changes nothing by itself";

    EXPECT_EQ(chooseFrame(job, frames, 4), FrameChoice::OpenDownloadPage);
    EXPECT_EQ(job.iuBk, 0);
    EXPECT_TRUE(job.sFrameFile.isEmpty());
    EXPECT_TRUE(frameDownloadUrl().startsWith("https://"));

    EXPECT_EQ(chooseFrame(job, frames, 77), FrameChoice::Selected);
    EXPECT_EQ(job.iuBk, 0) << "an index from an older list falls back to no frame";
}

TEST_F(FrameListTest, FitFrameModeAndNoFrameExcludeEachOther)
{
    touch(bk + "/gold.png");
    FrameList frames;
    frames.loadFolder(bk);
    JobSettings job;

    chooseSizeMode(job, kFitFrame);
    pickFrameForFitMode(job, frames);
    EXPECT_EQ(job.iuBk, 1);
    EXPECT_EQ(job.sFrameFile, frames.path(1));

    chooseFrame(job, frames, 0);
    EXPECT_EQ(job.iuSize, kLimitWidth);
    EXPECT_EQ(job.iTargetW, 800);
    EXPECT_EQ(job.iTargetH, 0);

    // Without frame pictures there is nothing to pick; the folder command must not open.
    FrameList empty;
    empty.loadFolder(dir.filePath("none"));
    JobSettings bare;
    chooseSizeMode(bare, kFitFrame);
    pickFrameForFitMode(bare, empty);
    EXPECT_EQ(bare.iuBk, 0);
}

TEST_F(FrameListTest, FrameSizeIsThePicturesPixelSize)
{
    JobSettings job;
    EXPECT_FALSE(frameSizeFor(job).isValid());
    job.sFrameFile = QStringLiteral("无边框");
    EXPECT_FALSE(frameSizeFor(job).isValid());
    job.sFrameFile = decoration::savePlain(bk + "/big.png", QSize(1024, 768), Qt::transparent);
    EXPECT_EQ(frameSizeFor(job), QSize(1024, 768));
    job.sFrameFile = bk + "/gone.png";
    EXPECT_FALSE(frameSizeFor(job).isValid());
}

TEST(ShippedFrames, AreReadablePngsWithATransparentMiddleAndAnOpaqueEdge)
{
    FrameList frames;
    frames.loadFolder(QStringLiteral(TUVO_SOURCE_DIR "/data/bk"));
    ASSERT_GE(frames.frameCount(), 4);
    QSet<double> proportions;
    for (int k = 1; k <= frames.frameCount(); ++k) {
        const QImage frame(frames.path(k));
        ASSERT_FALSE(frame.isNull()) << frames.path(k).toStdString();
        EXPECT_TRUE(frame.hasAlphaChannel());
        EXPECT_EQ(qAlpha(frame.pixel(frame.width() / 2, frame.height() / 2)), 0);
        EXPECT_GT(qAlpha(frame.pixel(frame.width() / 2, 1)), 200);
        proportions.insert(std::round(100.0 * frame.width() / frame.height()));
    }
    EXPECT_GE(proportions.size(), 3);
}

} // namespace
