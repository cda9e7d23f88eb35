#include "decoration_pixels.h"
#include "support/tuvo_cli.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace decoration;

namespace {

const QString kSource = QStringLiteral(TUVO_SOURCE_DIR);
const QString kFrame = kSource + QStringLiteral("/data/bk/深色画框.png");
const QString kMark = kSource + QStringLiteral("/data/sy/相机.png");
// Outputs a person can look at after the run.
const QString kKeep = QStringLiteral(TUVO_BINARY_DIR "/test-output/decoration");

// Runs tuvo-cli into out with PNG output; returns its exit status.
int runCli(const QString &out, const QStringList &options, const QStringList &inputs)
{
    const CliRun cli = runTuvoCli(QStringList {"--quiet", "-o", out, "-f", "png"} + options + inputs);
    if (cli.exitCode != 0)
        ADD_FAILURE() << (cli.out + cli.err).toStdString();
    // "黑体" is found through the installed CJK families that stand in for it.
    EXPECT_FALSE(cli.err.contains(QStringLiteral("没有安装字体"))) << cli.err.toStdString();
    return cli.exitCode;
}

class DecorationCliTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QStringList frame {"--frame", kFrame, "--size", "fit-frame"};
    const QStringList mark {
        "--mark", kMark, "--opacity", "90", "--mark-scale", "5", "--mark-pos", "top-right"};
    const QStringList text {"--text", "水印文字 · Tuvo", "--font", "黑体", "--font-size", "28", "--color",
        "#ffffff", "--bold", "--text-pos", "bottom-right"};

    QString outDir(const QString &name)
    {
        QDir().mkpath(dir.filePath(name));
        return dir.filePath(name);
    }
};

TEST_F(DecorationCliTest, FrameThenPictureWatermarkThenChineseTextLandInPlace)
{
    const QStringList inputs {kSource + "/data/samples/city.jpg", kSource + "/data/samples/sunset.jpg"};
    const QString all = outDir("all"), noText = outDir("no-text"), frameOnly = outDir("frame-only");
    ASSERT_EQ(runCli(all, frame + mark + text, inputs), 0);
    ASSERT_EQ(runCli(noText, frame + mark, inputs), 0);
    ASSERT_EQ(runCli(frameOnly, frame, inputs), 0);

    const QImage frameImage(kFrame);
    QDir().mkpath(kKeep);
    for (const QString &name : {QStringLiteral("city.png"), QStringLiteral("sunset.png")}) {
        const QImage out(all + "/" + name);
        ASSERT_EQ(out.size(), frameImage.size()) << "fit-frame: the output is the frame's size";
        // The opaque moulding is the frame's own pixels.
        EXPECT_EQ(out.pixel(3, 600) & 0xFFFFFF, frameImage.pixel(3, 600) & 0xFFFFFF);
        EXPECT_EQ(out.pixel(450, 1196) & 0xFFFFFF, frameImage.pixel(450, 1196) & 0xFFFFFF);

        // The watermark (180 x 136 at scale 1.5: 270 x 204) sits 5 pixels from the top right.
        const QRect mark = differences(QImage(noText + "/" + name), QImage(frameOnly + "/" + name));
        EXPECT_TRUE(QRect(900 - 270 - 5, 5, 270, 204).contains(mark)) << mark.x() << "," << mark.y();
        EXPECT_GT(mark.width(), 240);
        const QRgb lens = out.pixel(900 - 5 - 135, 5 + 117);
        EXPECT_GT(qBlue(lens), qRed(lens) + 40) << "the lens glass shows blue";

        // The text lies on the frame's bottom band, 5 pixels from the edges.
        const QRect ink = differences(out, QImage(noText + "/" + name));
        EXPECT_LE(ink.right(), 894);
        EXPECT_GE(ink.right(), 885);
        EXPECT_LE(ink.bottom(), 1194);
        EXPECT_GT(ink.width(), 150) << "nine glyphs of 37 pixels, not nothing";

        QFile::remove(kKeep + "/" + name);
        QFile::copy(all + "/" + name, kKeep + "/" + name);
    }
}

TEST_F(DecorationCliTest, EffectChangesThePictureButNotTheText)
{
    const QString picture = savePlain(dir.filePath("orange.png"), QSize(400, 300), QColor(220, 120, 40));
    const QString out = outDir("grey");
    ASSERT_EQ(runCli(out,
                  {"--effect", "grey", "--text", "今天#当前日期#", "--font-size", "20", "--color", "#ff0000",
                      "--text-pos", "center"},
                  {picture}),
        0);
    const QImage result(out + "/orange.png");
    ASSERT_EQ(result.size(), QSize(800, 600));
    const QRgb corner = result.pixel(10, 10);
    EXPECT_EQ(qRed(corner), qGreen(corner));
    EXPECT_EQ(qGreen(corner), qBlue(corner));
    int red = 0;
    for (int y = 250; y < 350; ++y) {
        for (int x = 200; x < 600; ++x)
            red += qRed(result.pixel(x, y)) > 200 && qGreen(result.pixel(x, y)) < 60;
    }
    EXPECT_GT(red, 100) << "the text keeps its colour";
}

} // namespace
