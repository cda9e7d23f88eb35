// tuvo-cli speaks the language of the locale variables; options stay the same.
#include "support/tuvo_cli.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

bool hasChinese(const QString &text)
{
    static const QRegularExpression cjk(
        QStringLiteral("[\\x{3000}-\\x{303f}\\x{4e00}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return text.contains(cjk);
}

} // namespace

TEST(CliLanguage, EnglishLocaleGetsEnglishHelpAndErrorsChineseAndCKeepChinese)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.jpg"));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    const QList<QStringList> errorRuns
        = {{QStringLiteral("--bogus")}, {QStringLiteral("--jobs"), QStringLiteral("0")},
            {QStringLiteral("--size"), QStringLiteral("1x1"), QStringLiteral("-o"), out, missing},
            {QStringLiteral("-o"), out, missing}, {QStringLiteral("--shard"), QStringLiteral("3/2"), missing},
            {QStringLiteral("--on-clash"), QStringLiteral("keep"), missing},
            {QStringLiteral("--files-from"), missing, QStringLiteral("-o"), out},
            {QStringLiteral("--print-exif"), dir.path()}};

    const CliRun help = runTuvoCliIn(QStringLiteral("en_US.UTF-8"), {QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: tuvo-cli")));
    EXPECT_FALSE(hasChinese(help.out)) << help.out.toStdString();
    for (const QStringList &args : errorRuns) {
        const CliRun r = runTuvoCliIn(QStringLiteral("en_US.UTF-8"), args);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_FALSE(r.err.trimmed().isEmpty());
        EXPECT_FALSE(hasChinese(r.err)) << r.err.toStdString();
    }
    for (const QString &lang : {QStringLiteral("zh_CN.UTF-8"), QStringLiteral("C")}) {
        EXPECT_TRUE(
            runTuvoCliIn(lang, {QStringLiteral("--help")}).out.startsWith(QStringLiteral("用法: tuvo-cli")));
        EXPECT_TRUE(runTuvoCliIn(lang, {QStringLiteral("--bogus")})
                        .err.startsWith(QStringLiteral("tuvo-cli: 未知的选项 --bogus")));
    }
}

// size.ini's 1寸 preset is 295;413: its dimensions choose it in any language.
TEST(CliLanguage, SizePresetChosenByItsDimensions)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("a.png"));
    QImage img(600, 800, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    ASSERT_TRUE(img.save(in));
    for (const QString &size : {QStringLiteral("295x413"), QStringLiteral("295×413")}) {
        const QString out = dir.filePath(QStringLiteral("out") + QString::number(size.size()) + size.at(3));
        QDir().mkpath(out);
        const CliRun r = runTuvoCliIn(QStringLiteral("en_US.UTF-8"),
            {QStringLiteral("--size"), size, QStringLiteral("-f"), QStringLiteral("png"),
                QStringLiteral("-o"), out, in});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(QImage(out + QStringLiteral("/a.png")).size(), QSize(295, 413));
    }
}

// Shipped presets are also known by their names in the interface language.
TEST(CliLanguage, ShippedPresetGoesByItsEnglishName)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("a.bmp"));
    QImage img(600, 800, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    ASSERT_TRUE(img.save(in));
    const CliRun r = runTuvoCliIn(QStringLiteral("en_US.UTF-8"),
        {QStringLiteral("--preset"), QStringLiteral("square 1080"), QStringLiteral("-f"),
            QStringLiteral("png"), QStringLiteral("-o"), dir.path(), in});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("a.png"))).size(), QSize(1080, 1080));
    const CliRun unknown = runTuvoCliIn(
        QStringLiteral("en_US.UTF-8"), {QStringLiteral("--preset"), QStringLiteral("web"), in});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("Web picture 1200"))) << unknown.err.toStdString();
    EXPECT_FALSE(hasChinese(unknown.err)) << unknown.err.toStdString();
}
