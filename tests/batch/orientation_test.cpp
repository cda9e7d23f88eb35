#include "imaging/cdib_qimage.h"
#include "support/external_tools.h"
#include "support/tuvo_cli.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Photos are processed as people see them: a stored orientation is applied when
// the picture is loaded, before sizing and decorating, and outputs carry none.

namespace {

// A scene whose every pixel differs from its neighbours, with a marked top-left corner.
QImage markedScene(int w, int h, bool smooth)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y,
                smooth ? qRgb(x * 255 / w, y * 255 / h, 128)
                       : qRgb((x * 37 + y * 11) & 255, (x * x + y * 7) & 255, (y * y + x) & 255));
    QPainter(&image).fillRect(0, 0, w / 4, h / 4, Qt::red);
    return image;
}

// The turn that stores a scene so that orientation o shows it as it was.
Turn storingTurn(int orientation)
{
    switch (turnForOrientation(orientation)) {
    case Turn::Clockwise:
        return Turn::CounterClockwise;
    case Turn::CounterClockwise:
        return Turn::Clockwise;
    default:
        return turnForOrientation(orientation); // mirrors and the half turn undo themselves
    }
}

QString tagged(const QString &path, int orientation)
{
    if (orientation != 1) {
        EXPECT_TRUE(runProgram("exiftool",
            {"-q", "-overwrite_original", QStringLiteral("-Orientation#=%1").arg(orientation), path}));
    }
    return path;
}

struct Cli {
    QTemporaryDir dir;

    // tuvo-cli over inputs into a new folder; its path, or empty on failure.
    QString run(const QStringList &options, const QStringList &inputs)
    {
        const QString out = dir.filePath(QStringLiteral("out%1").arg(++runs));
        QDir().mkpath(out);
        const CliRun cli = runTuvoCli(QStringList {"--quiet", "-o", out} + options + inputs);
        if (cli.exitCode != 0) {
            ADD_FAILURE() << cli.err.toStdString();
            return {};
        }
        return out;
    }
    int runs = 0;
};

double meanDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 255;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

} // namespace

TEST(Orientation, EveryStoredOrientationGivesTheUprightSceneDecorated)
{
    if (const QString missing = missingTool({"exiftool"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    Cli cli;
    ASSERT_TRUE(cli.dir.isValid());
    QImage mark(12, 6, QImage::Format_ARGB32);
    mark.fill(qRgba(0, 0, 255, 200));
    const QString markPath = cli.dir.filePath("mark.png");
    ASSERT_TRUE(mark.save(markPath));
    QImage frame(64, 48, QImage::Format_ARGB32);
    frame.fill(Qt::transparent);
    QPainter(&frame).fillRect(0, 0, 64, 3, Qt::green);
    const QString framePath = cli.dir.filePath("frame.png");
    ASSERT_TRUE(frame.save(framePath));
    const QStringList job = {"--size", "limit-width", "-W", "40", "--frame", framePath, "--text", "HELLO",
        "--text-pos", "bottom-right", "--color", "#ffff00", "--mark", markPath, "--mark-pos", "top-right",
        "--metadata", "keep", "-f", "png"};

    // PNG, TIFF and WebP store the pixels losslessly: the outputs are identical.
    // JPEG blocks fall differently on a turned picture: nearly identical.
    const struct {
        const char *format;
        bool lossless;
    } formats[] = {{"png", true}, {"tif", true}, {"webp", true}, {"jpg", false}};
    for (const auto &f : formats) {
        const QImage scene = markedScene(48, 32, !f.lossless);
        QStringList inputs;
        for (int o = 1; o <= 8; ++o) {
            const QString path = cli.dir.filePath(QStringLiteral("%1_o%2.%1").arg(f.format).arg(o));
            ASSERT_TRUE(turnedPicture(scene, storingTurn(o)).save(path, nullptr, 100));
            inputs << tagged(path, o);
        }
        const QString out = cli.run(job, inputs);
        ASSERT_FALSE(out.isEmpty()) << f.format;
        const QImage upright(QDir(out).filePath(QStringLiteral("%1_o1.png").arg(f.format)));
        ASSERT_EQ(upright.size(), QSize(40, 27)) << f.format;
        for (int o = 2; o <= 8; ++o) {
            const QString written = QDir(out).filePath(QStringLiteral("%1_o%2.png").arg(f.format).arg(o));
            const QImage shown(written);
            if (f.lossless)
                EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
                    upright.convertToFormat(QImage::Format_RGB32))
                    << f.format << " orientation " << o;
            else
                EXPECT_LT(meanDifference(shown, upright), 3.0) << f.format << " orientation " << o;
            QByteArray tag;
            ASSERT_TRUE(runProgram("exiftool", {"-s3", "-n", "-Orientation", written}, &tag));
            EXPECT_TRUE(tag.trimmed().isEmpty() || tag.trimmed() == "1")
                << written.toStdString() << ": " << tag.data();
        }
    }
}

TEST(Orientation, SizesApplyToThePortraitAsShown)
{
    if (const QString missing = missingTool({"exiftool"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    Cli cli;
    ASSERT_TRUE(cli.dir.isValid());
    // A phone portrait: 120 x 90 pixels stored, shown 90 x 120.
    const QString photo = cli.dir.filePath("portrait.jpg");
    ASSERT_TRUE(markedScene(120, 90, true).save(photo, "JPG", 95));
    tagged(photo, 6);
    const struct {
        QStringList options;
        QSize size;
    } cases[] = {
        {{"--size", "limit-width", "-W", "60"}, {60, 80}},
        {{"--size", "fit", "-W", "80", "-H", "60"}, {45, 60}},
        {{"--size", "fit", "-W", "80", "-H", "60", "--rotate", "auto"}, {45, 60}},
        // A quarter turn after sizing: the box still holds the finished picture.
        {{"--size", "fit", "-W", "80", "-H", "60", "--rotate", "cw"}, {80, 60}},
        {{"--size", "custom", "-W", "80", "-H", "60", "--rotate", "cw"}, {60, 80}},
    };
    for (const auto &c : cases) {
        const QString out = cli.run(c.options + QStringList {"-f", "png"}, {photo});
        EXPECT_EQ(QImage(QDir(out).filePath("portrait.png")).size(), c.size)
            << c.options.join(' ').toStdString();
    }
}
