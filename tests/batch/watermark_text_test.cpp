#include "batch/chinese_fonts.h"
#include "batch/mark_position.h"
#include "batch/mark_tokens.h"
#include "batch/pipeline_steps.h"
#include "batch/text_watermark.h"
#include "decoration_pixels.h"

#include <QFontInfo>
#include <QProcess>
#include <QRawFont>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace decoration;

namespace {

const QDateTime kNow(QDate(2024, 3, 5), QTime(7, 8, 9));

TEST(MarkTokens, WholeTextTokensAreReplacedAndAnythingElseStands)
{
    EXPECT_EQ(markText("#当前日期#", "/p/a.jpg", kNow), "2024年03月05日");
    EXPECT_EQ(markText("#当前时间#", "/p/a.jpg", kNow), "2024年03月05日 07:08");
    EXPECT_EQ(markText("#当前时间#", "/p/a.jpg", QDateTime(QDate(2024, 12, 31), QTime(23, 59))),
        "2024年12月31日 23:59");
    EXPECT_EQ(markText("#图片原文件名#", "/p/holiday.2023.JPG", kNow), "holiday.2023");
    EXPECT_EQ(markText("#图片原文件名#", "/p/无扩展名", kNow), "无扩展名");
    EXPECT_EQ(markText("今天#当前日期#", "/p/a.jpg", kNow), "今天#当前日期#");
    EXPECT_EQ(markText("#当前日期# ", "/p/a.jpg", kNow), "#当前日期# ");
    EXPECT_EQ(markText("版权所有", "/p/a.jpg", kNow), "版权所有");
}

TEST(MarkTokens, ShootingTimeComesFromTheExifOfThePicture)
{
    const QString exiftool = QStandardPaths::findExecutable("exiftool");
    if (exiftool.isEmpty())
        GTEST_SKIP() << "exiftool is not installed";
    QTemporaryDir dir;
    const QString photo = dir.filePath("照片.jpg");
    QImage(32, 24, QImage::Format_RGB32).save(photo, "JPEG");
    const QString plain = dir.filePath("plain.jpg");
    QFile::copy(photo, plain);
    QProcess tool;
    tool.start(exiftool, {"-q", "-overwrite_original", "-DateTimeOriginal=2021:06:15 10:20:30", photo});
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();

    EXPECT_EQ(markText("#JPG照片拍摄时间#", photo, kNow), "2021:06:15 10:20:30");
    EXPECT_EQ(markText("#JPG照片拍摄时间#", plain, kNow), "");
    EXPECT_EQ(markText("#JPG照片拍摄时间#", dir.filePath("none.jpg"), kNow), "");
}

class TextMarkTest : public ::testing::Test {
protected:
    JobSettings job;
    const QRgb white = qRgb(255, 255, 255);

    void SetUp() override
    {
        job.bTextMark = 1;
        job.iSize = 24;
    }

    QImage draw(const QString &text, QSize size = QSize(600, 400), MarkPlacement *marks = nullptr)
    {
        job.sText = text;
        QImage surface = surfaceOf(size);
        RenderResult result;
        decorationStep(job, "/pictures/photo.jpg", surface, result);
        if (marks)
            *marks = result.marks;
        return surface;
    }
};

TEST_F(TextMarkTest, DateTokenAtBottomRightEndsFivePixelsFromTheEdges)
{
    job.iuTxtPos = kBottomRight;
    MarkPlacement marks;
    const QImage surface = draw("#当前日期#", QSize(600, 400), &marks);
    ASSERT_TRUE(marks.textDrawn);
    EXPECT_EQ(marks.textBox.right(), 595);
    EXPECT_EQ(marks.textBox.bottom(), 395);
    EXPECT_DOUBLE_EQ(marks.iuTSyX, marks.textBox.x() / 600);
    EXPECT_DOUBLE_EQ(marks.iuTSyY, marks.textBox.y() / 400);
    const QRect ink = inkBox(surface, white);
    EXPECT_LE(ink.right(), 594);
    EXPECT_GE(ink.right(), 585) << "the last glyph's ink reaches the measured end, less its side bearing";
    EXPECT_LE(ink.bottom(), 394);
    EXPECT_GE(ink.left(), marks.textBox.left());
}

TEST_F(TextMarkTest, PresetsUseTheMeasuredTextAndCustomUsesTheCorner)
{
    job.iuTxtPos = kTopLeft;
    QRect ink = inkBox(draw("Tuvo 水印"), white);
    EXPECT_GE(ink.left(), 5);
    EXPECT_LE(ink.left(), 8);
    EXPECT_GE(ink.top(), 5);

    job.iuTxtPos = kCentre;
    MarkPlacement marks;
    draw("Tuvo 水印", QSize(600, 400), &marks);
    EXPECT_NEAR(marks.textBox.center().x(), 300, 0.6);
    EXPECT_NEAR(marks.textBox.center().y(), 200, 0.6);

    keepMarkPlacement(job, marks);
    job.iuTxtPos = kCustom;
    MarkPlacement custom;
    draw("Tuvo 水印", QSize(600, 400), &custom);
    EXPECT_EQ(custom.textBox, marks.textBox) << "switching to custom keeps the place";

    job.iuTSyX = 0.5;
    job.iuTSyY = 0.25;
    ink = inkBox(draw("Tuvo 水印", QSize(800, 400)), white);
    EXPECT_GE(ink.left(), 400);
    EXPECT_LE(ink.left(), 404);
    EXPECT_GE(ink.top(), 100);
}

TEST_F(TextMarkTest, ChineseTextRendersInRealGlyphs)
{
    installChineseFontSubstitutes();
    for (const QString &family : {QStringLiteral("宋体"), QStringLiteral("黑体")}) {
        job.sFont = family;
        const QFont font = markFont(job);
        EXPECT_TRUE(QRawFont::fromFont(font).supportsCharacter(QChar(0x6C34)))
            << family.toStdString() << " maps to " << QFontInfo(font).family().toStdString();
        // Missing glyphs would all draw the same box.
        job.iuTxtPos = kTopLeft;
        const QImage water = draw("水");
        const QImage wood = draw("木");
        EXPECT_GT(inkCount(water, white), 20);
        EXPECT_NE(water, wood);
    }
}

TEST_F(TextMarkTest, FontSizeIsPointsAtNinetySixDpi)
{
    job.iSize = 36;
    EXPECT_EQ(markFont(job).pixelSize(), 48);
    job.iSize = 9;
    EXPECT_EQ(markFont(job).pixelSize(), 12);

    job.iuTxtPos = kTopLeft;
    job.iSize = 36;
    const QRect big = inkBox(draw("口"), white);
    job.iSize = 18;
    const QRect small = inkBox(draw("口"), white);
    EXPECT_NEAR(big.height(), 2 * small.height(), 3);
    EXPECT_GT(big.height(), 30);
    EXPECT_LE(big.height(), 48);
}

TEST_F(TextMarkTest, ColourAndStylesShowInThePixels)
{
    job.iuTxtPos = kTopLeft;
    job.lColor = 0 + 128 * 256 + 255 * 65536; // red 0, green 128, blue 255
    job.iSize = 30;
    const QImage plain = draw("Tuvo");
    // The most saturated pixel is the colour itself.
    QRgb darkest = white;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (qRed(plain.pixel(x, y)) < qRed(darkest))
                darkest = plain.pixel(x, y);
    EXPECT_EQ(darkest & 0xFFFFFF, qRgb(0, 128, 255) & 0xFFFFFF);

    job.sBold = true;
    EXPECT_GT(inkCount(draw("Tuvo"), white), inkCount(plain, white) * 11 / 10);
    job.sBold = false;

    job.sUnderline = true;
    const QImage underlined = draw("Tuvo");
    const QRect under = inkBox(underlined, white);
    EXPECT_GT(under.bottom(), inkBox(plain, white).bottom());
    int run = 0;
    for (int x = under.left(); x <= under.right(); ++x)
        run += (underlined.pixel(x, under.bottom() - 1) & 0xFFFFFF) != (white & 0xFFFFFF);
    EXPECT_GT(run, under.width() * 8 / 10) << "a line runs under the whole text";
    job.sUnderline = false;

    job.sItalic = true;
    EXPECT_NE(draw("Tuvo"), plain);
}

TEST_F(TextMarkTest, BackgroundStaysTransparentAroundTheGlyphs)
{
    job.iuTxtPos = kTopLeft;
    job.sText = "Tuvo";
    QImage surface = surfaceOf(QSize(300, 100), Qt::yellow);
    RenderResult result;
    decorationStep(job, "/p/a.jpg", surface, result);
    const QRect box = result.marks.textBox.toRect();
    EXPECT_EQ(rgb(surface, box.left(), box.top()), qRgb(255, 255, 0) & 0xFFFFFF);
    EXPECT_EQ(rgb(surface, box.right(), box.top()), qRgb(255, 255, 0) & 0xFFFFFF);
}

TEST_F(TextMarkTest, EmptyOrUncheckedTextDrawsNothing)
{
    job.bTextMark = 0;
    EXPECT_EQ(inkCount(draw("Tuvo"), white), 0);
    job.bTextMark = 1;
    EXPECT_EQ(inkCount(draw(""), white), 0);
    EXPECT_EQ(inkCount(draw("#JPG照片拍摄时间#"), white), 0) << "no EXIF: nothing to print";
}

} // namespace
