#include "cli_host.h"
#include "cli_options.h"
#include "fs/app_paths.h"
#include "job/frame_list.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

bool apply(const QStringList &args, JobSettings *job, CliOptions *options, QString *error)
{
    static const QTemporaryDir data;
    static const AppPaths paths = AppPaths::at(data.path(), data.path());
    CliOptions o;
    if (!parseCliOptions(args, &o, error))
        return false;
    FrameList frames;
    QStringList warnings;
    if (!applyJobOptions(o, paths, frames, *job, &warnings, error))
        return false;
    if (options)
        *options = o;
    return true;
}

JobSettings jobFrom(const QStringList &args, CliOptions *options = nullptr)
{
    JobSettings job;
    QString error;
    EXPECT_TRUE(apply(args, &job, options, &error)) << error.toStdString();
    return job;
}

bool refused(const QStringList &args)
{
    JobSettings job;
    QString error;
    return !apply(args, &job, nullptr, &error) && error.startsWith(QStringLiteral("tuvo-cli: "));
}

} // namespace

TEST(CliOptions, NamedOptionsSetTheirFields)
{
    CliOptions o;
    const JobSettings job = jobFrom({"-o", "out", "-R", "-j", "2", "-f", "original", "-q", "70", "--rename",
                                        "x_", "--digits", "3", "--no-enlarge", "--extend", "--crop-x",
                                        "right", "--crop-y", "bottom", "--offset", "5,-6", "a.jpg", "dir"},
        &o);
    EXPECT_EQ(o.inputs, (QStringList {"a.jpg", "dir"}));
    EXPECT_EQ(o.outputDir, QStringLiteral("out"));
    EXPECT_TRUE(o.recursive);
    EXPECT_EQ(o.jobs, 2);
    EXPECT_EQ(job.sFormat, QStringLiteral("原格式"));
    EXPECT_EQ(job.iJPGQ, 70);
    EXPECT_EQ(job.bRename, 1);
    EXPECT_EQ(job.sPrefix, QStringLiteral("x_"));
    EXPECT_EQ(job.iNumDigits, QStringLiteral("3"));
    EXPECT_EQ(job.bChkResizeOpt, 1);
    EXPECT_EQ(job.bPicJQ, 0);
    EXPECT_EQ(job.iXCutMode, 2);
    EXPECT_EQ(job.iYCutMode, 2);
    EXPECT_EQ(job.sngOffsetX, 5.0f);
    EXPECT_EQ(job.sngOffsetY, -6.0f);
}

TEST(CliOptions, SecureUploadOptionsReachTheAccount)
{
    const JobSettings job
        = jobFrom({"--upload", "--ftp-server", "sftp://h:2222", "--ftp-require-tls", "--ftp-ca", "ca.pem",
            "--ftp-pin", "sha256//AAAA", "--ftp-key", "id", "--ftp-accept-host-key", "SHA256:BBBB", "a.jpg"});
    EXPECT_EQ(job.sFtpServer, QStringLiteral("sftp://h:2222"));
    EXPECT_TRUE(job.bFtpRequireTls);
    EXPECT_EQ(job.sFtpCaFile, QStringLiteral("ca.pem"));
    EXPECT_EQ(job.sFtpPin, QStringLiteral("sha256//AAAA"));
    EXPECT_EQ(job.sFtpKeyFile, QStringLiteral("id"));
    EXPECT_EQ(job.sFtpHostKey, QStringLiteral("SHA256:BBBB"));
    // Scripts written before these options keep plain FTP working.
    EXPECT_FALSE(jobFrom({"--upload", "a.jpg"}).bFtpRequireTls);
}

TEST(CliOptions, WatermarksAndAdjustments)
{
    JobSettings job = jobFrom({"--text", "#当前日期#", "--color", "#102030", "--bold", "--font-size", "20",
        "--mark", "logo.png", "--opacity", "55", "--mark-scale", "11", "--mark-pos", "0.25,0.75", "--rotate",
        "auto", "--effect", "灰度"});
    EXPECT_EQ(job.bTextMark, 1);
    EXPECT_EQ(job.sText, QStringLiteral("#当前日期#"));
    EXPECT_EQ(job.iuTxtPos, int(kBottomRight)); // no --text-pos: bottom right
    EXPECT_EQ(job.lColor, 0x10 + 256 * 0x20 + 65536 * 0x30);
    EXPECT_TRUE(job.sBold);
    EXPECT_EQ(job.iSize, 20);
    EXPECT_EQ(job.iuSYAlpha, 55);
    EXPECT_FLOAT_EQ(job.sngMarkMatrix[3][3], 0.55f);
    EXPECT_FLOAT_EQ(job.sngMarkScale, 3.2f);
    EXPECT_EQ(job.iuImgPos, int(kCustom));
    EXPECT_DOUBLE_EQ(job.iuISyX, 0.25);
    EXPECT_DOUBLE_EQ(job.iuISyY, 0.75);
    EXPECT_EQ(job.iRotateMode, int(kRotateAuto));
    ASSERT_TRUE(job.iEffect.has_value());
    EXPECT_EQ(*job.iEffect, 9);

    job = jobFrom({"--brightness", "-30", "--channels", "1,0,0.5"});
    EXPECT_EQ(*job.iEffect, kBrightnessPreset);
    EXPECT_EQ(job.iBrightness, -30);
    EXPECT_FLOAT_EQ(job.sngColorMatrix[1][1], 0.0f);
    EXPECT_FLOAT_EQ(job.sngColorMatrix[2][2], 0.5f);

    QStringList matrix;
    for (int k = 0; k < 25; ++k)
        matrix << QString::number(k);
    job = jobFrom({"--matrix", matrix.join(QLatin1Char(','))});
    EXPECT_FLOAT_EQ(job.sngColorMatrix[0][1], 1.0f); // row by row
    EXPECT_FLOAT_EQ(job.sngColorMatrix[4][4], 24.0f);
}

TEST(CliOptions, SetReachesAnyField)
{
    const JobSettings job = jobFrom({"--set", "iJPGQ=85", "--set", "sPDF1=我的相册", "--set=bSaveErr=1"});
    EXPECT_EQ(job.iJPGQ, 85);
    EXPECT_EQ(job.sPDF1, QStringLiteral("我的相册"));
    EXPECT_EQ(job.bSaveErr, 1);
}

TEST(CliOptions, NonsenseIsRefusedWithAReason)
{
    // Ranges and names of plain fields are checked over the whole table elsewhere.
    for (const QStringList &args :
        {QStringList {"--bogus"}, QStringList {"-o"}, QStringList {"--set", "nokey"},
            QStringList {"--set", "iUnknown=1"}, QStringList {"--effect", "sparkle"},
            QStringList {"--rotate", "45"}, QStringList {"--color", "reddish"},
            QStringList {"--text-pos", "middle"}, QStringList {"--matrix", "1,2,3"},
            QStringList {"--jobs", "0"}, QStringList {"--mark-scale", "21"},
            QStringList {"--brightness", "80"}, QStringList {"--channels", "a,b,c"}})
        EXPECT_TRUE(refused(args)) << args.join(QLatin1Char(' ')).toStdString();
}

// Format names as people type them; a refusal lists what ASCII can type.
TEST(CliOptions, FormatNamesInAnyCaseAndTheirLongSpellings)
{
    EXPECT_EQ(jobFrom({"-f", "JPEG", "a.jpg"}).sFormat, QStringLiteral("jpg"));
    EXPECT_EQ(jobFrom({"-f", "tif", "a.jpg"}).sFormat, QStringLiteral("tiff"));
    EXPECT_EQ(jobFrom({"--format=PNG", "a.jpg"}).sFormat, QStringLiteral("png"));
    EXPECT_EQ(jobFrom({"-f", "Original", "a.jpg"}).sFormat, QStringLiteral("原格式"));
    JobSettings job;
    QString error;
    EXPECT_FALSE(apply({"-f", "jpx", "a.jpg"}, &job, nullptr, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("original|jpg")) && !error.contains(QStringLiteral("原格式")))
        << error.toStdString();
}

TEST(CliOptions, CorpusReplay)
{
    QDir dir(QStringLiteral(TUVO_SOURCE_DIR "/fuzz/corpus/fuzz_cli"));
    const QStringList names = dir.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString &name : names) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QStringList args;
        for (const QByteArray &p : f.readAll().split('\0'))
            args << QString::fromUtf8(p);
        refused(args); // must simply answer
    }
}

TEST(CliOptions, MetadataAndColourChoices)
{
    const JobSettings defaults = jobFrom({"a.jpg"});
    EXPECT_EQ(defaults.iMetadata, int(kKeepWithoutLocation));
    EXPECT_EQ(defaults.iColorProfile, int(kKeepProfile));
    const JobSettings job = jobFrom({"--metadata", "strip", "--colour=srgb", "a.jpg"});
    EXPECT_EQ(job.iMetadata, int(kStripMetadata));
    EXPECT_EQ(job.iColorProfile, int(kConvertToSrgb));
    EXPECT_EQ(jobFrom({"--metadata", "keep", "a.jpg"}).iMetadata, int(kKeepMetadata));
    EXPECT_TRUE(refused({"--metadata", "gps", "a.jpg"}));
    EXPECT_TRUE(refused({"--colour", "cmyk", "a.jpg"}));
}

// What getopt users expect, and refusals that say what to type instead.
TEST(CliOptions, ShortOptionsBundleAndMistakesAreNamed)
{
    CliOptions o;
    JobSettings job = jobFrom({"-Rj2", "-q90", "-fpng", "-o", "out", "--", "-a.jpg"}, &o);
    EXPECT_TRUE(o.recursive);
    EXPECT_EQ(o.jobs, 2);
    EXPECT_EQ(job.iJPGQ, 90);
    EXPECT_EQ(job.sFormat, QStringLiteral("png"));
    EXPECT_EQ(o.inputs, QStringList {"-a.jpg"});
    job = jobFrom({"--longest", "500", "--offset", "-5,-6"});
    EXPECT_EQ(job.iuSize, job.fitInsideIndex());
    EXPECT_EQ(job.iTargetH, 500);
    EXPECT_EQ(job.sngOffsetX, -5.0f);

    const auto errorOf = [](const QStringList &args) {
        JobSettings j;
        QString error;
        EXPECT_FALSE(apply(args, &j, nullptr, &error)) << args.join(QLatin1Char(' ')).toStdString();
        return error;
    };
    EXPECT_EQ(errorOf({"-q", "-o", "out"}), QStringLiteral("tuvo-cli: -q/--quality: 缺少值 0-100"));
    EXPECT_EQ(errorOf({"-Rx"}), QStringLiteral("tuvo-cli: 未知的选项 -x (tuvo-cli --help 列出全部选项)"));
    EXPECT_TRUE(errorOf({"--recursive=yes"}).startsWith(QStringLiteral("tuvo-cli: -R/--recursive: ")));
    EXPECT_TRUE(errorOf({"-H", "500"}).startsWith(QStringLiteral("tuvo-cli: -H: ")));
    EXPECT_TRUE(errorOf({"--size", "custom", "-W", "640"}).startsWith(QStringLiteral("tuvo-cli: --size: ")));
    EXPECT_TRUE(
        errorOf({"--jobs", "0"}).startsWith(QStringLiteral("tuvo-cli: -j/--jobs: 0 不在 1..64 之内")));
}

TEST(CliOptions, ProgressLineFitsTheTerminal)
{
    const QString path = QStringLiteral("/照片/2026/一个很长的文件夹名字/IMG_0001.jpg");
    const QString line = CliHost::fitToWidth(QStringLiteral("进度:3/9 "), path, 30);
    EXPECT_TRUE(line.endsWith(QStringLiteral("IMG_0001.jpg")));
    int columns = 0;
    for (char32_t c : line.toUcs4())
        columns += c >= 0x2E80 ? 2 : 1;
    EXPECT_LE(columns, 29);
    EXPECT_EQ(
        CliHost::fitToWidth(QStringLiteral("a "), QStringLiteral("b.jpg"), 80), QStringLiteral("a b.jpg"));
}
