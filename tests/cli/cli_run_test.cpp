// tuvo-cli as scripts use it: real files in, real files out, exit codes.
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QString out, err;
};

CliRun runCli(const QStringList &args, int timeoutMs = 120000)
{
    QProcess p;
    p.setProgram(QStringLiteral(TUVO_CLI_PATH));
    p.setArguments(args);
    p.start();
    p.waitForFinished(timeoutMs);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
        QString::fromUtf8(p.readAllStandardError())};
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QImage photo(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 7) & 255, (y * 5) & 255, 128));
    return img;
}

// Every file below dir with the hash of its bytes (links as their target text).
QMap<QByteArray, QByteArray> snapshot(const QString &dir)
{
    QMap<QByteArray, QByteArray> files;
    QDirIterator it(
        dir, QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        const QByteArray key = QFile::encodeName(p);
        const QFileInfo info(p);
        if (info.isSymLink()) {
            files[key] = QFile::encodeName(info.symLinkTarget());
            continue;
        }
        if (!info.isFile()) {
            files[key] = "special"; // a pipe: opening it would wait for a writer
            continue;
        }
        QFile f(p);
        files[key] = f.open(QIODevice::ReadOnly)
            ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1)
            : QByteArray("unreadable");
    }
    return files;
}

} // namespace

TEST(CliRun, ScalesAPhotoToWidth800)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("a.jpg"));
    ASSERT_TRUE(photo(1600, 1200).save(in, "JPG", 90));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    const CliRun r = runCli({QStringLiteral("--quiet"), QStringLiteral("-o"), out, in});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(QDir(out).filePath(QStringLiteral("a.jpg"))).size(), QSize(800, 600));
}

TEST(CliRun, CannotStartWithoutOutputFolderOrPictures)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("a.png"));
    ASSERT_TRUE(photo(40, 30).save(in));
    CliRun r = runCli({QStringLiteral("-o"), dir.filePath(QStringLiteral("missing")), in});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("输出文件夹不存在"))) << r.err.toStdString();
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("missing"))).exists());

    r = runCli({QStringLiteral("-o"), dir.path()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("没有添加要处理的图片！")));

    r = runCli({QStringLiteral("-o"), dir.path(), QStringLiteral("--size"), QStringLiteral("custom"),
        QStringLiteral("-W"), QStringLiteral("0"), in});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("图片尺寸不能为0！")));

    r = runCli({QStringLiteral("--quality"), QStringLiteral("300"), in});
    EXPECT_EQ(r.exitCode, 2);
}

TEST(CliRun, BadInputFolderLosesNothing)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in"));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(in);
    QDir().mkpath(out);
    const auto at = [&](const QString &name) {
        return QDir(in).filePath(name);
    };

    ASSERT_TRUE(photo(1200, 900).save(at(QStringLiteral("good one.jpg")), "JPG", 90));
    ASSERT_TRUE(photo(300, 200).save(at(QStringLiteral("风景 照片.png"))));
    ASSERT_TRUE(photo(64, 64).save(at(QStringLiteral("small.bmp"))));
    writeBytes(at(QStringLiteral("zero.jpg")), QByteArray());
    QByteArray jpeg;
    {
        QFile f(at(QStringLiteral("good one.jpg")));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        jpeg = f.readAll();
    }
    writeBytes(at(QStringLiteral("truncated.jpg")), jpeg.left(jpeg.size() / 3));
    writeBytes(at(QStringLiteral("text.png")), "just some words, no picture here\n");
    QFile::copy(QStringLiteral(TUVO_SOURCE_DIR "/fuzz/corpus/fuzz_picture/huge_header.png"),
        at(QStringLiteral("hostile.png")));
    QDir().mkpath(at(QStringLiteral("folder.jpg"))); // a folder with a picture's name
    ASSERT_EQ(
        ::mkfifo(QFile::encodeName(at(QStringLiteral("pipe.jpg"))).constData(), 0644), 0); // must not hang
    ASSERT_EQ(::symlink("nowhere.jpg", QFile::encodeName(at(QStringLiteral("dangling.jpg"))).constData()), 0);
    const QByteArray badName = QFile::encodeName(in) + "/bad\xff\xfe name.jpg";
    {
        FILE *f = std::fopen(badName.constData(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(jpeg.constData(), 1, size_t(jpeg.size()), f);
        std::fclose(f);
    }

    const auto before = snapshot(in);
    const CliRun r = runCli({QStringLiteral("--quiet"), QStringLiteral("-o"), out, in});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();

    // Every good picture written.
    const QStringList written = QDir(out).entryList(QDir::Files);
    for (const char *name : {"good one.jpg", "风景 照片.jpg", "small.jpg"})
        EXPECT_TRUE(written.contains(QString::fromUtf8(name)))
            << name << " in " << written.join(',').toStdString();
    EXPECT_EQ(QImage(QDir(out).filePath(QStringLiteral("good one.jpg"))).width(), 800);
    // One error line per bad picture, each naming it.
    for (const char *bad :
        {"zero.jpg", "truncated.jpg", "text.png", "hostile.png", "pipe.jpg", "dangling.jpg"})
        EXPECT_EQ(r.err.count(QString::fromUtf8(bad) + QStringLiteral("在显示图片时发生错误")), 1) << bad;
    // Nothing half-written, nothing for the bad ones.
    for (const QString &name : written) {
        EXPECT_FALSE(QImage(QDir(out).filePath(name)).isNull()) << name.toStdString();
        EXPECT_FALSE(name.startsWith(QLatin1String("zero")) || name.startsWith(QLatin1String("truncated")));
    }
    // Every input byte-identical.
    EXPECT_EQ(snapshot(in), before);
}

TEST(CliRun, OriginalFormatBesideTheSourcesNeverReplacesThem)
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.jpg"));
    const QString b = dir.filePath(QStringLiteral("b.jpeg"));
    ASSERT_TRUE(photo(400, 300).save(a, "JPG"));
    ASSERT_TRUE(photo(400, 300).save(b, "JPG"));
    const auto before = snapshot(dir.path());
    const CliRun r = runCli({QStringLiteral("--quiet"), QStringLiteral("-f"), QStringLiteral("original"),
        QStringLiteral("-o"), dir.path(), a, b});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count(QStringLiteral("在保存时发生错误:")), 2) << r.err.toStdString();
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST(CliRun, SigintStopsLikeTheStopButton)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in"));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(in);
    QDir().mkpath(out);
    for (int i = 0; i < 60; ++i)
        ASSERT_TRUE(photo(1000, 750).save(
            QDir(in).filePath(QStringLiteral("p%1.png").arg(i, 2, 10, QLatin1Char('0')))));
    QProcess p;
    p.start(QStringLiteral(TUVO_CLI_PATH),
        {QStringLiteral("--quiet"), QStringLiteral("-j"), QStringLiteral("1"), QStringLiteral("--error-log"),
            QStringLiteral("-o"), out, in});
    ASSERT_TRUE(p.waitForStarted());
    // Wait for the first written picture, then interrupt.
    for (int i = 0; i < 400 && QDir(out).entryList(QDir::Files).isEmpty(); ++i)
        QThread::msleep(25);
    ::kill(pid_t(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(60000));
    const QStringList written = QDir(out).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(p.exitCode(), 1); // pictures were left
    EXPECT_GT(written.size(), 0);
    EXPECT_LT(written.size(), 60);
    for (const QString &name : written) {
        EXPECT_TRUE(name.endsWith(QLatin1String(".jpg"))) << name.toStdString(); // no temporaries
        EXPECT_FALSE(QImage(QDir(out).filePath(name)).isNull()) << name.toStdString();
    }
}

TEST(CliRun, FromSettingsStartsWithTheDesktopProgramsOptions)
{
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("config"));
    QDir().mkpath(config + QStringLiteral("/tuvo"));
    writeBytes(config + QStringLiteral("/tuvo/tuvo.ini"),
        "[Options]\niJPGQ=30\niuSize=2\nsText=Hello\niuTSyX=0.1\niuTSyY=0.1\n");
    const QString in = dir.filePath(QStringLiteral("a.png"));
    ASSERT_TRUE(photo(1000, 700).save(in));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TUVO_CLI_PATH),
        {QStringLiteral("--quiet"), QStringLiteral("--from-settings"), QStringLiteral("-o"), out, in});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QImage written(QDir(out).filePath(QStringLiteral("a.jpg")));
    EXPECT_EQ(written.size(), QSize(1000, 700)); // the stored size mode: original size
    // The stored text comes back at its stored corner (0.1, 0.1): dark glyphs there.
    int dark = 0;
    for (int y = 70; y < 100; ++y)
        for (int x = 100; x < 160; ++x)
            dark += qGray(written.pixel(x, y)) < 60;
    EXPECT_GT(dark, 10);
}
