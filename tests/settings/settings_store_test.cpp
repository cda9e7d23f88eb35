#include "fs/app_paths.h"
#include "job/job_restore.h"
#include "job/settings_store.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A program folder and a settings location of its own for each test.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        ASSERT_TRUE(config.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
        paths = AppPaths::at(home.path(), home.path());
        QDir(home.path()).mkpath(QStringLiteral("bk"));
    }

    std::unique_ptr<QSettings> store(const QString &app = QStringLiteral("tuvo"))
    {
        return openSettingsStore(app);
    }

    void writeRaw(const QString &key, const QString &value)
    {
        auto s = store();
        s->setValue(QStringLiteral("Options/") + key, value);
        s->sync();
    }

    void makeFrame(const QString &name)
    {
        QImage img(40, 30, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        ASSERT_TRUE(img.save(QDir(home.path()).filePath(QStringLiteral("bk/") + name)));
    }

    QTemporaryDir home;
    QTemporaryDir config;
    AppPaths paths;
};

TEST_F(StoreTest, FirstStartGivesTheDefaults)
{
    auto s = store();
    const JobSettings job = loadJobFromSettings(*s, paths);
    EXPECT_EQ(job.iuSize, kLimitWidth);
    EXPECT_EQ(job.iTargetW, 800);
    EXPECT_EQ(job.iTargetH, 0);
    EXPECT_EQ(job.sFormat, QStringLiteral("jpg"));
    EXPECT_EQ(job.iJPGQ, 100);
    EXPECT_EQ(job.iuSYAlpha, 80);
    EXPECT_FLOAT_EQ(job.sngMarkMatrix[3][3], 0.8f);
    EXPECT_EQ(job.sFont, QStringLiteral("宋体"));
    EXPECT_EQ(job.iSize, 9);
    EXPECT_EQ(job.iuBk, 0);
    EXPECT_TRUE(job.sFrameFile.isEmpty());
    EXPECT_EQ(job.bTextMark, 0);
    EXPECT_EQ(job.bPicMark, 0);
    EXPECT_EQ(job.sPrefix, QStringLiteral("Tuvo_"));
    EXPECT_EQ(job.iNumDigits, QStringLiteral("4"));
    EXPECT_EQ(job.sOutDir, paths.zpDir());
    EXPECT_EQ(job.sODIR, paths.dataDir());
    EXPECT_EQ(job.bPicJQ, 1);
    EXPECT_EQ(job.iXCutMode, 1);
    EXPECT_EQ(job.sPDF1, QStringLiteral("Tuvo图片集"));
    EXPECT_EQ(job.sPDF3, chineseDate(QDate::currentDate()));
}

TEST_F(StoreTest, TextsThatDoNotConvertGiveZeroNotTheDefault)
{
    writeRaw(QStringLiteral("iSize"), QStringLiteral("big"));
    writeRaw(QStringLiteral("bPicJQ"), QStringLiteral(""));
    writeRaw(QStringLiteral("sBold"), QStringLiteral("maybe"));
    writeRaw(QStringLiteral("sItalic"), QStringLiteral("True"));
    writeRaw(QStringLiteral("iXCutMode"), QStringLiteral("2"));
    writeRaw(QStringLiteral("lColor"), QStringLiteral("16711680"));
    auto s = store();
    const JobSettings job = loadJobFromSettings(*s, paths);
    EXPECT_EQ(job.iSize, 0);
    EXPECT_EQ(job.bPicJQ, 0);
    EXPECT_FALSE(job.sBold);
    EXPECT_TRUE(job.sItalic);
    EXPECT_EQ(job.iXCutMode, 2);
    EXPECT_EQ(job.lColor, 16711680);
    EXPECT_EQ(job.iuSYAlpha, 80); // absent: the default
}

// A quality the options dialog would refuse must not write quality-1 JPEGs.
TEST_F(StoreTest, NonsenseJpegQualityFallsBackToTheDefaultWithAWarning)
{
    for (const QString &stored : {QStringLiteral("300"), QStringLiteral("-1"), QStringLiteral("abc")}) {
        writeRaw(QStringLiteral("iJPGQ"), stored);
        auto s = store();
        FrameList frames;
        JobSettings job = startJobSettings(paths);
        const RestoredSettings restored = restoreJobSettings(*s, paths, frames, job);
        EXPECT_EQ(job.iJPGQ, 100) << stored.toStdString();
        ASSERT_EQ(restored.warnings.size(), 1);
        EXPECT_TRUE(restored.warnings[0].contains(stored));
    }
    writeRaw(QStringLiteral("iJPGQ"), QStringLiteral("0"));
    auto s = store();
    EXPECT_EQ(loadJobFromSettings(*s, paths).iJPGQ, 0);
}

TEST_F(StoreTest, NumbersRoundHalvesToEvenAndRespectTheirRange)
{
    EXPECT_EQ(wholeNumberFromText(QStringLiteral("12.5"), -32768, 32767), 12);
    EXPECT_EQ(wholeNumberFromText(QStringLiteral(" 13.5 "), -32768, 32767), 14);
    EXPECT_EQ(wholeNumberFromText(QStringLiteral("-7"), -32768, 32767), -7);
    EXPECT_FALSE(wholeNumberFromText(QStringLiteral("40000"), -32768, 32767));
    EXPECT_FALSE(wholeNumberFromText(QStringLiteral("7x"), -32768, 32767));
    EXPECT_EQ(booleanFromText(QStringLiteral("False")), false);
    EXPECT_EQ(booleanFromText(QStringLiteral("-1")), true);
    EXPECT_FALSE(booleanFromText(QStringLiteral("yes")));
    EXPECT_EQ(leadingNumber(QStringLiteral("35%")), 35);
    EXPECT_EQ(leadingNumber(QStringLiteral("abc")), 0);
}

TEST_F(StoreTest, StoredTextWatermarkComesBackAtItsCustomPlace)
{
    writeRaw(QStringLiteral("sText"), QStringLiteral("#当前日期#"));
    writeRaw(QStringLiteral("iuTSyX"), QStringLiteral("0.25"));
    writeRaw(QStringLiteral("iuTSyY"), QStringLiteral("0.75"));
    writeRaw(QStringLiteral("suISyF"), QStringLiteral("/pics/logo.png"));
    writeRaw(QStringLiteral("iuISyX"), QStringLiteral("0.93125"));
    writeRaw(QStringLiteral("iuISyY"), QStringLiteral("0.95"));
    auto s = store();
    const JobSettings job = loadJobFromSettings(*s, paths);
    EXPECT_EQ(job.bTextMark, 1);
    EXPECT_EQ(job.iuTxtPos, kCustom);
    EXPECT_DOUBLE_EQ(job.iuTSyX, 0.25);
    EXPECT_DOUBLE_EQ(job.iuTSyY, 0.75);
    EXPECT_EQ(job.bPicMark, 1);
    EXPECT_EQ(job.iuImgPos, kCustom);
    // Read as single precision.
    EXPECT_DOUBLE_EQ(job.iuISyX, double(0.93125f));
    EXPECT_DOUBLE_EQ(job.iuISyY, double(0.95f));
}

TEST_F(StoreTest, EmptyTextLeavesThePositionUnread)
{
    writeRaw(QStringLiteral("sText"), QString());
    writeRaw(QStringLiteral("iuTSyX"), QStringLiteral("0.25"));
    auto s = store();
    const JobSettings job = loadJobFromSettings(*s, paths);
    EXPECT_EQ(job.bTextMark, 0);
    EXPECT_EQ(job.iuTSyX, 0);
    EXPECT_NE(job.iuTxtPos, kCustom);
}

TEST_F(StoreTest, SizeAndFrameAreChosenThroughTheirHandlers)
{
    makeFrame(QStringLiteral("a.png"));
    makeFrame(QStringLiteral("b.png"));
    QFile ini(paths.sizeIni());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("头像;120;160\n");
    ini.close();
    writeRaw(QStringLiteral("iuSize"), QStringLiteral("3"));
    writeRaw(QStringLiteral("iuBk"), QStringLiteral("2"));
    auto s = store();
    JobSettings job = loadJobFromSettings(*s, paths);
    EXPECT_EQ(job.iuSize, 3);
    EXPECT_EQ(job.iTargetW, 120);
    EXPECT_EQ(job.iTargetH, 160);
    EXPECT_EQ(job.iuBk, 2);
    EXPECT_EQ(QFileInfo(job.sFrameFile).fileName(), QStringLiteral("b.png"));

    // An index past the list is ignored rather than trusted.
    writeRaw(QStringLiteral("iuSize"), QStringLiteral("40"));
    writeRaw(QStringLiteral("iuBk"), QStringLiteral("9"));
    auto s2 = store();
    job = loadJobFromSettings(*s2, paths);
    EXPECT_EQ(job.iuSize, kLimitWidth);
    EXPECT_EQ(job.iuBk, 0);
}

TEST_F(StoreTest, ShutdownSaveWritesItsKeysAsTexts)
{
    JobSettings job;
    job.iuSize = 2;
    job.iuBk = 1;
    job.sText = QStringLiteral("水印");
    job.sBold = true;
    job.iuTSyX = 0.1234567890123456;
    job.lColor = 255;
    {
        auto s = store();
        saveAtShutdown(*s, job, 5, QStringLiteral("80"), 80);
    }
    QFile file(QDir(config.path()).filePath(QStringLiteral("tuvo/tuvo.ini")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString ini = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(ini.contains(QStringLiteral("[Options]")));
    EXPECT_TRUE(ini.contains(QStringLiteral("sBold=True")));
    EXPECT_TRUE(ini.contains(QStringLiteral("sItalic=False")));
    EXPECT_TRUE(ini.contains(QStringLiteral("iuSize=2")));
    EXPECT_TRUE(ini.contains(QStringLiteral("lColor=255")));
    EXPECT_TRUE(ini.contains(QStringLiteral("iuTSyX=0.123456789012346")));
    EXPECT_FALSE(ini.contains(QStringLiteral("iuSYAlpha"))); // unchanged since start-up
}

TEST_F(StoreTest, ShutdownKeepsStoredFrameWhileACommandEntryIsSelected)
{
    writeRaw(QStringLiteral("iuBk"), QStringLiteral("1"));
    JobSettings job;
    job.iuBk = 4; // "网络下载边框..." of a five-entry list
    auto s = store();
    saveAtShutdown(*s, job, 5, QStringLiteral("35"), 80);
    EXPECT_EQ(OptionsStore(*s).int16(QStringLiteral("iuBk"), 0), 1);
    EXPECT_EQ(OptionsStore(*s).int16(QStringLiteral("iuSYAlpha"), 0), 35);
    job.iuBk = 3; // "添加本地边框..."
    saveAtShutdown(*s, job, 5, QStringLiteral("35"), 80);
    EXPECT_EQ(OptionsStore(*s).int16(QStringLiteral("iuBk"), 0), 1);
    job.iuBk = 2;
    saveAtShutdown(*s, job, 5, QStringLiteral("35"), 80);
    EXPECT_EQ(OptionsStore(*s).int16(QStringLiteral("iuBk"), 0), 2);
}

TEST_F(StoreTest, RenamedProgramStartsFromDefaults)
{
    writeRaw(QStringLiteral("iuSize"), QStringLiteral("2"));
    auto renamed = store(QStringLiteral("tuvo2"));
    EXPECT_EQ(loadJobFromSettings(*renamed, paths).iuSize, kLimitWidth);
    auto same = store();
    EXPECT_EQ(loadJobFromSettings(*same, paths).iuSize, 2);
}

} // namespace

TEST_F(StoreTest, NonsenseStartsSafe)
{
    writeRaw(QStringLiteral("iuSize"), QStringLiteral("999"));
    writeRaw(QStringLiteral("iuBk"), QStringLiteral("77"));
    writeRaw(QStringLiteral("iuSYAlpha"), QStringLiteral("5000"));
    writeRaw(QStringLiteral("iXCutMode"), QStringLiteral("9"));
    writeRaw(QStringLiteral("sText"), QStringLiteral("x"));
    writeRaw(QStringLiteral("iuTSyX"), QStringLiteral("nan"));
    writeRaw(QStringLiteral("iuTSyY"), QStringLiteral("1e300"));
    auto s = store();
    const JobSettings job = loadJobFromSettings(*s, paths);
    EXPECT_EQ(job.iuSize, int(kLimitWidth));
    EXPECT_EQ(job.iTargetW, 800);
    EXPECT_EQ(job.iuBk, 0);
    EXPECT_EQ(job.iuSYAlpha, 80);
    EXPECT_FLOAT_EQ(job.sngMarkMatrix[3][3], 0.8f);
    EXPECT_EQ(job.iXCutMode, 1);
    EXPECT_EQ(job.iuTSyX, 0);
    EXPECT_EQ(job.iuTSyY, 0);
}
