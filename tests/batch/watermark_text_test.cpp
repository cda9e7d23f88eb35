#include "decoration_pixels.h"
#include "render/mark_position.h"
#include "render/mark_tokens.h"
#include "render/pipeline_steps.h"
#include "render/text_watermark.h"

#include <QFontInfo>
#include <QProcess>
#include <QRawFont>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace decoration;

namespace {

TEST(MarkTokens, OnlyAWholeTokenIsReplaced)
{
    const QDateTime now(QDate(2024, 3, 5), QTime(7, 8, 9));
    EXPECT_EQ(markText("#当前日期#", "/p/a.jpg", now), "2024年03月05日");
    EXPECT_EQ(markText("#当前时间#", "/p/a.jpg", QDateTime(QDate(2024, 3, 5), QTime(23, 8))),
        "2024年03月05日 23:08");
    EXPECT_EQ(markText("#图片原文件名#", "/p/holiday.2023.JPG", now), "holiday.2023");
    EXPECT_EQ(markText("今天#当前日期#", "/p/a.jpg", now), "今天#当前日期#");
    EXPECT_EQ(markText("#当前日期# ", "/p/a.jpg", now), "#当前日期# ");
}

TEST(MarkTokens, EnglishAliasesStandForTheChineseTokens)
{
    const QDateTime now(QDate(2024, 3, 5), QTime(7, 8, 9));
    EXPECT_EQ(markText("#date#", "/p/a.jpg", now), markText("#当前日期#", "/p/a.jpg", now));
    EXPECT_EQ(markText("#time#", "/p/a.jpg", now), markText("#当前时间#", "/p/a.jpg", now));
    EXPECT_EQ(markText("#file-name#", "/p/holiday.2023.JPG", now), "holiday.2023");
    EXPECT_EQ(markText("#exif-time#", "/p/none.jpg", now), "");
    EXPECT_EQ(markText("#date# ", "/p/a.jpg", now), "#date# ");
}

TEST(MarkTokens, ShootingTimeComesFromTheExifOfThePicture)
{
    const QString exiftool = QStandardPaths::findExecutable("exiftool");
    if (exiftool.isEmpty())
        GTEST_SKIP() << "exiftool is not installed";
    QTemporaryDir dir;
    const QString photo = dir.filePath("照片.jpg");
    QImage(32, 24, QImage::Format_RGB32).save(photo, "JPEG");
    QFile::copy(photo, dir.filePath("plain.jpg"));
    QProcess tool;
    tool.start(exiftool, {"-q", "-overwrite_original", "-DateTimeOriginal=2021:06:15 10:20:30", photo});
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0);
    EXPECT_EQ(markText("#JPG照片拍摄时间#", photo), "2021:06:15 10:20:30");
    EXPECT_EQ(markText("#JPG照片拍摄时间#", dir.filePath("plain.jpg")), "");
}

class TextMarkTest : public ::testing::Test {
protected:
    JobSettings job;
    MarkPlacement marks;

    void SetUp() override
    {
        job.bTextMark = 1;
        job.iSize = 24;
        job.iuTxtPos = kTopLeft;
    }
    QImage draw(const QString &text, QSize size = QSize(600, 400))
    {
        job.sText = text;
        QImage surface = surfaceOf(size);
        RenderResult result;
        decorationStep(job, "/pictures/photo.jpg", surface, result);
        marks = result.marks;
        return surface;
    }
    QRect ink(const QString &text, QSize size = QSize(600, 400))
    {
        return differences(draw(text, size), surfaceOf(size));
    }
};

TEST_F(TextMarkTest, DateAtBottomRightEndsFivePixelsFromTheEdgesAndCustomKeepsIt)
{
    job.iuTxtPos = kBottomRight;
    const QRect box = ink("#当前日期#");
    EXPECT_EQ(marks.textBox.right(), 595);
    EXPECT_EQ(marks.textBox.bottom(), 395);
    EXPECT_LE(box.right(), 594);
    EXPECT_GE(box.right(), 585) << "the last glyph's ink, less its side bearing";
    EXPECT_LE(box.bottom(), 394);

    keepMarkPlacement(job, marks);
    job.iuTxtPos = kCustom;
    EXPECT_EQ(ink("#当前日期#"), box);
    // The custom corner is a fraction of the picture size.
    job.iuTSyX = 0.5;
    job.iuTSyY = 0.25;
    ink("Tuvo", QSize(800, 400));
    EXPECT_EQ(marks.textBox.topLeft(), QPointF(400, 100));
}

TEST_F(TextMarkTest, ChineseFontNamesGiveRealGlyphs)
{
    for (const QString &family : {QStringLiteral("宋体"), QStringLiteral("黑体")}) {
        job.sFont = family;
        const QFont font = markFont(job);
        EXPECT_TRUE(QRawFont::fromFont(font).supportsCharacter(QChar(0x6C34)))
            << family.toStdString() << " maps to " << QFontInfo(font).family().toStdString();
        // Missing glyphs would all draw the same box.
        EXPECT_NE(draw("水"), draw("木"));
        EXPECT_GT(ink("水").height(), 20);
    }
}

TEST_F(TextMarkTest, SizeIsPointsAtNinetySixDpi)
{
    job.iSize = 9;
    EXPECT_EQ(markFont(job).pixelSize(), 12);
    job.iSize = 36;
    const QRect big = ink("口");
    job.iSize = 18;
    EXPECT_NEAR(big.height(), 2 * ink("口").height(), 3);
    EXPECT_GT(big.height(), 30);
    EXPECT_LE(big.height(), 48);
}

TEST_F(TextMarkTest, ColourUnderlineAndBoldShowInThePixels)
{
    job.iSize = 30;
    job.lColor = 0 + 128 * 256 + 255 * 65536;
    const QImage plain = draw("Tuvo");
    int plainInk = 0;
    const QRect plainBox = differences(plain, surfaceOf(plain.size()), &plainInk);
    bool exact = false;
    for (int x = plainBox.left(); x <= plainBox.right(); ++x)
        for (int y = plainBox.top(); y <= plainBox.bottom(); ++y)
            exact |= rgb(plain, x, y) == 0x0080FFu;
    EXPECT_TRUE(exact) << "solid strokes have exactly the chosen colour";
    EXPECT_EQ(rgb(plain, int(marks.textBox.right()) - 1, int(marks.textBox.top())), 0xFFFFFFu)
        << "the background stays transparent";

    job.sUnderline = true;
    const QImage underlined = draw("Tuvo");
    const QRect box = differences(underlined, plain);
    EXPECT_GT(box.bottom(), plainBox.bottom());
    EXPECT_GT(box.width(), plainBox.width() * 8 / 10) << "a line under the whole text";
    job.sUnderline = false;

    job.sBold = true;
    int boldInk = 0;
    differences(draw("Tuvo"), surfaceOf(plain.size()), &boldInk);
    EXPECT_GT(boldInk, plainInk * 11 / 10);
}

} // namespace
