#include "decoration_pixels.h"
#include "job/frame_list.h"
#include "render/frame_layer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FrameListTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder(const QString &name, const QStringList &files)
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(path);
        for (const QString &f : files)
            QFile(path + "/" + f).open(QIODevice::WriteOnly);
        return path;
    }
};

TEST_F(FrameListTest, ListsPngFramesByNameBetweenNoFrameAndTheCommands)
{
    const QString bk = folder("bk", {"wood.png", "Gold.PNG", "notes.txt"});
    QDir().mkpath(bk + "/folder.png");
    FrameList frames;
    frames.loadFolder(bk);
    EXPECT_EQ(
        frames.entries(), QStringList({"无边框", "Gold", "wood", "添加本地边框...", "网络下载边框..."}));
    EXPECT_EQ(frames.path(1), QDir(bk).absoluteFilePath("Gold.PNG"));
    EXPECT_EQ(frames.path(3), QString());

    frames.loadFolder(dir.filePath("missing"));
    EXPECT_EQ(frames.entries(), QStringList({"无边框", "添加本地边框...", "网络下载边框..."}));
}

TEST_F(FrameListTest, FoldersAddTheirFramesOnceAndAtMostFiveHundredInAll)
{
    const QString bk = folder("bk", {"wood.png"});
    const QString more = folder("more", {"a.png", "b.png"});
    FrameList frames;
    frames.loadFolder(bk);
    EXPECT_EQ(frames.addFolder(more), 2);
    EXPECT_EQ(frames.addFolder(more), 0);
    EXPECT_EQ(frames.addFolder(dir.filePath("more/../bk")), 0);
    EXPECT_EQ(
        frames.entries(), QStringList({"无边框", "wood", "a", "b", "添加本地边框...", "网络下载边框..."}));

    QStringList many;
    for (int i = 0; i < 503; ++i)
        many << QStringLiteral("f%1.png").arg(i, 3, 10, QLatin1Char('0'));
    frames.loadFolder(folder("many", many));
    EXPECT_EQ(frames.frameCount(), 500);
    EXPECT_EQ(frames.entries().at(500), "f499");
    EXPECT_EQ(frames.addFolder(more), 0);
}

TEST_F(FrameListTest, ChoosingEntriesAndTheFitFrameSizeMode)
{
    FrameList frames;
    frames.loadFolder(folder("bk", {"gold.png", "wood.png"}));
    JobSettings job;
    EXPECT_EQ(chooseFrame(job, frames, 2), FrameChoice::Selected);
    EXPECT_EQ(job.sFrameFile, frames.path(2));
    EXPECT_EQ(chooseFrame(job, frames, 3), FrameChoice::ChooseFolder);
    EXPECT_EQ(job.iuBk, 2) << "the folder command changes nothing by itself";
    EXPECT_EQ(chooseFrame(job, frames, 4), FrameChoice::OpenDownloadPage);
    EXPECT_EQ(job.iuBk, 0);
    EXPECT_TRUE(job.sFrameFile.isEmpty());

    chooseSizeMode(job, kFitFrame);
    pickFrameForFitMode(job, frames);
    EXPECT_EQ(job.sFrameFile, frames.path(1));
    chooseFrame(job, frames, 0);
    EXPECT_EQ(job.iuSize, kLimitWidth) << "no frame leaves nothing to fit";
    EXPECT_EQ(job.iTargetW, 800);

    // Without frame pictures entry 1 is the folder command, which must not open.
    FrameList none;
    none.loadFolder(dir.filePath("none"));
    chooseSizeMode(job, kFitFrame);
    pickFrameForFitMode(job, none);
    EXPECT_EQ(job.iuBk, 0);
}

TEST_F(FrameListTest, FrameSizeIsThePicturesPixelSize)
{
    JobSettings job;
    EXPECT_FALSE(frameSizeFor(job).isValid());
    job.sFrameFile = decoration::savePlain(dir.filePath("big.png"), QSize(1024, 768), Qt::transparent);
    EXPECT_EQ(frameSizeFor(job), QSize(1024, 768));
    job.sFrameFile = dir.filePath("gone.png");
    EXPECT_FALSE(frameSizeFor(job).isValid());
}

TEST(ShippedFrames, HaveATransparentMiddleAnOpaqueEdgeAndDifferentProportions)
{
    FrameList frames;
    frames.loadFolder(QStringLiteral(TUVO_SOURCE_DIR "/data/bk"));
    ASSERT_GE(frames.frameCount(), 4);
    QSet<int> proportions;
    for (int k = 1; k <= frames.frameCount(); ++k) {
        const QImage frame(frames.path(k));
        ASSERT_FALSE(frame.isNull()) << frames.path(k).toStdString();
        EXPECT_EQ(qAlpha(frame.pixel(frame.width() / 2, frame.height() / 2)), 0);
        EXPECT_GT(qAlpha(frame.pixel(frame.width() / 2, 1)), 200);
        proportions.insert(100 * frame.width() / frame.height());
    }
    EXPECT_GE(proportions.size(), 3);
    const QImage mark(QStringLiteral(TUVO_SOURCE_DIR "/data/sy/相机.png"));
    EXPECT_EQ(qAlpha(mark.pixel(0, 0)), 0);
    EXPECT_GT(qAlpha(mark.pixel(40, 90)), 100);
    EXPECT_LT(qAlpha(mark.pixel(40, 90)), 250) << "the body is see-through";
}

} // namespace
