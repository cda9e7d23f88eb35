#include "core/effect_presets.h"
#include "imaging/cdib_qimage.h"
#include "support/pictures.h"
#include "support/tuvo_cli.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>

// Pictures through tuvo-cli at their own size into BMP files: each effect must
// give exactly the bytes its operation gives on the picture's 24-bit buffer.
// Widths 4k .. 4k + 3 cover the walks that run across the row padding.

namespace {

constexpr int kWidths[] = {20, 21, 22, 23};

// The operation of each named preset, in menu order.
const std::function<void(CDIB &)> kPresetOperations[] = {
    [](CDIB &d) { d.FastBlur(); },
    [](CDIB &d) { d.Sharpen(); },
    [](CDIB &d) { d.Flame(); },
    [](CDIB &d) { d.PurpleStain(); },
    [](CDIB &d) { d.Brown(); },
    [](CDIB &d) { d.NightShade(); },
    [](CDIB &d) { d.Spooky(); },
    [](CDIB &d) { d.ScanLines(50); },
    [](CDIB &d) { d.MakeEmboss(100, false, EmbossTone::Colour); },
    [](CDIB &d) { d.Greyscale(); },
    [](CDIB &d) { d.Monochrome(128); },
    [](CDIB &d) { d.InvertColors(); },
};

class PipelineThroughCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (int w : kWidths) {
            const QString path = dir.filePath(QStringLiteral("w%1.bmp").arg(w));
            ASSERT_TRUE(noisyPicture(w, 9).save(path, "BMP"));
            inputs << path;
        }
    }

    // Runs tuvo-cli on every input; the written pictures by input, or empty on failure.
    QList<QImage> run(const QStringList &options)
    {
        const QString out = dir.filePath(QStringLiteral("out%1").arg(++runs));
        if (!QDir().mkpath(out))
            return {};
        const CliRun cli = runTuvoCli(
            QStringList {"--quiet", "--size", "original", "--format", "bmp", "-o", out} + options + inputs,
            {.timeoutMs = 60000});
        if (cli.exitCode != 0) {
            ADD_FAILURE() << "tuvo-cli " << options.join(' ').toStdString() << ": " << cli.err.toStdString();
            return {};
        }
        QList<QImage> written;
        for (const QString &input : inputs) {
            const QString path = QDir(out).filePath(QFileInfo(input).completeBaseName() + ".bmp");
            written << QImage(path).convertToFormat(QImage::Format_RGB32);
            EXPECT_FALSE(written.back().isNull()) << path.toStdString();
        }
        return written;
    }

    static QImage expected(const QImage &picture, const std::function<void(CDIB &)> &operation)
    {
        CDIB dib;
        cloneIntoDib(dib, picture);
        operation(dib);
        return toQImage(dib);
    }

    QTemporaryDir dir;
    QStringList inputs;
    int runs = 0;
};

} // namespace

TEST_F(PipelineThroughCli, EveryEffectGivesTheBufferBytes)
{
    const QList<QImage> plain = run({});
    ASSERT_EQ(plain.size(), inputs.size());
    for (int i = 0; i < inputs.size(); ++i)
        ASSERT_EQ(plain[i], noisyPicture(kWidths[i], 9))
            << "the picture must pass unchanged without an effect";

    for (int preset = 0; preset < kNamedEffectPresets; ++preset) {
        const QList<QImage> written = run({"--effect", QString::fromUtf8(effectPresetName(preset))});
        ASSERT_EQ(written.size(), inputs.size());
        for (int i = 0; i < inputs.size(); ++i) {
            EXPECT_NE(written[i], plain[i]);
            EXPECT_EQ(written[i], expected(plain[i], kPresetOperations[preset]))
                << effectPresetName(preset) << " width " << kWidths[i];
        }
    }
}

TEST_F(PipelineThroughCli, BrightnessCaptionsAndRotationOrder)
{
    const QList<QImage> plain = run({});
    ASSERT_EQ(plain.size(), inputs.size());

    QList<QImage> written = run({"--brightness", "-33"});
    ASSERT_EQ(written.size(), inputs.size());
    for (int i = 0; i < inputs.size(); ++i)
        EXPECT_EQ(written[i], expected(plain[i], [](CDIB &d) { d.Brightness(-33); })) << kWidths[i];

    written = run({"--effect", QStringLiteral("夜色朦胧")});
    ASSERT_EQ(written.size(), inputs.size());
    for (int i = 0; i < inputs.size(); ++i)
        EXPECT_EQ(written[i], expected(plain[i], kPresetOperations[5])) << kWidths[i];

    // The effect runs on the turned picture: its padding walk sees the new width.
    written = run({"--rotate", "cw", "--effect", "grey"});
    ASSERT_EQ(written.size(), inputs.size());
    for (int i = 0; i < inputs.size(); ++i) {
        const QImage turned = plain[i].transformed(QTransform().rotate(90));
        ASSERT_EQ(written[i].size(), turned.size());
        EXPECT_EQ(written[i], expected(turned, kPresetOperations[9])) << kWidths[i];
    }
}

TEST_F(PipelineThroughCli, MirrorsMatchImageMagickFlipAndFlop)
{
    QProcess probe;
    probe.start(QStringLiteral("convert"), {QStringLiteral("-version")});
    if (!probe.waitForFinished(20000) || probe.exitCode() != 0)
        GTEST_SKIP() << "ImageMagick's convert is not installed; cannot compare the mirrors with it";
    const QList<QImage> plain = run({});
    ASSERT_EQ(plain.size(), inputs.size());
    const std::pair<const char *, const char *> mirrors[] = {{"flip-tb", "-flip"}, {"flip-lr", "-flop"}};
    for (const auto &[name, magickOption] : mirrors) {
        const QList<QImage> written = run({"--rotate", name});
        ASSERT_EQ(written.size(), inputs.size());
        for (int i = 0; i < inputs.size(); ++i) {
            const QString unturned = dir.filePath(QStringLiteral("plain%1.png").arg(i));
            const QString reference = dir.filePath(QStringLiteral("magick%1.png").arg(i));
            ASSERT_TRUE(plain[i].save(unturned));
            QProcess magick;
            magick.start(QStringLiteral("convert"), {unturned, magickOption, reference});
            ASSERT_TRUE(magick.waitForFinished(60000) && magick.exitCode() == 0);
            // Pixels only: ImageMagick's PNG carries a colour space the BMP has not.
            const QImage magickPixels = QImage(reference).convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(written[i].size(), magickPixels.size());
            int differing = 0;
            for (int y = 0; y < magickPixels.height(); ++y)
                for (int x = 0; x < magickPixels.width(); ++x)
                    differing += written[i].pixel(x, y) != magickPixels.pixel(x, y);
            EXPECT_EQ(differing, 0) << name << " width " << kWidths[i];
        }
    }
}
