// tuvo-cli as scripts use it: real files in, real files out, exit codes.
#include "job/size_presets.h"
#include "support/test_files.h"
#include "support/tuvo_cli.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimeZone>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
    const CliRun r = runTuvoCli({QStringLiteral("--quiet"), QStringLiteral("-o"), out, in});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(QDir(out).filePath(QStringLiteral("a.jpg"))).size(), QSize(800, 600));
}

TEST(CliRun, CannotStartWithoutOutputFolderOrPictures)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("a.png"));
    ASSERT_TRUE(photo(40, 30).save(in));
    CliRun r = runTuvoCli({QStringLiteral("-o"), dir.filePath(QStringLiteral("missing")), in});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("输出文件夹不存在"))) << r.err.toStdString();
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("missing"))).exists());

    r = runTuvoCli({QStringLiteral("-o"), dir.path()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("没有添加要处理的图片！")));

    r = runTuvoCli({QStringLiteral("-o"), dir.path(), QStringLiteral("--size"), QStringLiteral("custom"),
        QStringLiteral("-W"), QStringLiteral("0"), QStringLiteral("-H0"), in});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("图片尺寸不能为0！")));

    r = runTuvoCli({QStringLiteral("--quality"), QStringLiteral("300"), in});
    EXPECT_EQ(r.exitCode, 2);
}

// Without arguments, or without inputs, tuvo-cli says how to use it and leaves no folder behind.
TEST(CliRun, NoInputsGivesUsageAndCreatesNothing)
{
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TUVO_HOME"), dir.filePath(QStringLiteral("home")));
    for (const QStringList &args : {QStringList {}, QStringList {QStringLiteral("-q90")}}) {
        const CliRun r = runTuvoCli(args, {.env = env, .timeoutMs = 60000});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains(QStringLiteral("用法: tuvo-cli"))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("--help")));
        EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("home"))).exists());
    }
}

// A field added to the job-field table reaches the command line and the writer.
TEST(CliRun, KeepTimeGivesTheOutputItsSourcesTime)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("a.png"));
    ASSERT_TRUE(photo(40, 30).save(in));
    const QDateTime taken(QDate(2001, 2, 3), QTime(4, 5, 6), QTimeZone::utc());
    QFile source(in);
    ASSERT_TRUE(source.open(QIODevice::ReadWrite));
    ASSERT_TRUE(source.setFileTime(taken, QFileDevice::FileModificationTime));
    source.close();
    const CliRun r = runTuvoCli({QStringLiteral("--keep-time"), QStringLiteral("-o"), dir.path(),
        QStringLiteral("-f"), QStringLiteral("jpg"), in});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("a.jpg"))).lastModified().toUTC(), taken);
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
    ASSERT_TRUE(writeFile(at(QStringLiteral("zero.jpg")), QByteArray()));
    QByteArray jpeg;
    {
        QFile f(at(QStringLiteral("good one.jpg")));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        jpeg = f.readAll();
    }
    ASSERT_TRUE(writeFile(at(QStringLiteral("truncated.jpg")), jpeg.left(jpeg.size() / 3)));
    ASSERT_TRUE(writeFile(at(QStringLiteral("text.png")), "just some words, no picture here\n"));
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
    const CliRun r = runTuvoCli({QStringLiteral("--quiet"), QStringLiteral("-o"), out, in});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QLatin1Char('\r'))); // lines for grep and cut; ErrorLog.txt keeps CR LF

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
    const CliRun r = runTuvoCli({QStringLiteral("--quiet"), QStringLiteral("-f"), QStringLiteral("original"),
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
        {QStringLiteral("--quiet"), QStringLiteral("--json"), QStringLiteral("-j"), QStringLiteral("1"),
            QStringLiteral("--error-log"), QStringLiteral("-o"), out, in});
    ASSERT_TRUE(p.waitForStarted());
    // Wait for the first written picture, then interrupt.
    for (int i = 0; i < 400 && QDir(out).entryList(QDir::Files).isEmpty(); ++i)
        QThread::msleep(25);
    ::kill(pid_t(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(60000));
    const QStringList written = QDir(out).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(p.exitCode(), 128 + SIGINT); // as the shell reports a program Ctrl-C ended
    const QByteArray json = p.readAllStandardOutput();
    EXPECT_TRUE(json.contains("\"summary\":true,") && json.contains("\"stopped\":true"))
        << json.toStdString();
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
    ASSERT_TRUE(writeFile(config + QStringLiteral("/tuvo/tuvo.ini"),
        "[Options]\niJPGQ=30\niuSize=2\nsText=Hello\niuTSyX=0.1\niuTSyY=0.1\n"));
    const QString in = dir.filePath(QStringLiteral("a.png"));
    ASSERT_TRUE(photo(1000, 700).save(in));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);

    CliCall call;
    call.env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    const CliRun r = runTuvoCli({"--quiet", "--from-settings", "-o", out, in}, call);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage written(QDir(out).filePath(QStringLiteral("a.jpg")));
    EXPECT_EQ(written.size(), QSize(1000, 700)); // the stored size mode: original size
    // The stored text comes back at its stored corner (0.1, 0.1): dark glyphs there.
    int dark = 0;
    for (int y = 70; y < 100; ++y)
        for (int x = 100; x < 160; ++x)
            dark += qGray(written.pixel(x, y)) < 60;
    EXPECT_GT(dark, 10);
}

TEST(CliRun, SharedOutputNameKeepsTheLaterPictureWhateverTheJobs)
{
    QTemporaryDir dir;
    QStringList inputs;
    for (const char *folder : {"a", "b"}) {
        QDir().mkpath(dir.filePath(folder));
        for (int k = 0; k < 6; ++k) {
            QImage img = photo(300, 200);
            img.fill(*folder == 'a' ? Qt::red : Qt::blue);
            const QString path = dir.filePath(QStringLiteral("%1/x%2.png").arg(folder).arg(k));
            ASSERT_TRUE(img.save(path));
        }
        inputs << dir.filePath(folder);
    }
    QMap<QByteArray, QByteArray> results[2];
    for (int jobs = 1; jobs <= 2; ++jobs) {
        const QString out = dir.filePath(QStringLiteral("out%1").arg(jobs));
        QDir().mkpath(out);
        const CliRun r = runTuvoCli(QStringList {"--quiet", "-j", QString::number(jobs), "-f", "png",
                                        "--size", "original", "--pdf", "-o", out}
            + inputs);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 6) << r.err.toStdString();
        EXPECT_TRUE(
            lines[0].contains(dir.filePath("a/x0.png")) && lines[0].contains(dir.filePath("b/x0.png")));
        for (int k = 0; k < 6; ++k) {
            const QImage written(QDir(out).filePath(QStringLiteral("x%1.png").arg(k)));
            EXPECT_EQ(written.pixel(10, 10), qRgb(0, 0, 255)) << "jobs " << jobs << " picture " << k;
        }
        // The PDF holds its two cover pages and each kept picture once; it is then
        // set aside, as its date differs from run to run.
        for (const QString &name : QDir(out).entryList({"*.pdf"}, QDir::Files)) {
            QProcess info;
            info.start(QStringLiteral("pdfinfo"), {QDir(out).filePath(name)});
            if (info.waitForFinished(30000) && info.exitCode() == 0) {
                EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                                .contains(QRegularExpression("Pages: +8\n")));
            }
            QFile::remove(QDir(out).filePath(name));
        }
        for (auto [path, hash] : snapshot(out).asKeyValueRange())
            results[jobs - 1][path.mid(out.size())] = hash;
    }
    EXPECT_EQ(results[0], results[1]);
}

TEST(CliRun, SetGivesWhatTheSameStoredKeyGives)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("home"));
    QDir().mkpath(home + QStringLiteral("/bk"));
    ASSERT_TRUE(writeFile(home + QStringLiteral("/size.ini"), "a;100;100\nb;200;200\n头像;120;160\n"));
    QImage frame(300, 200, QImage::Format_ARGB32);
    frame.fill(Qt::transparent);
    for (int x = 0; x < 300; ++x)
        frame.setPixel(x, 0, qRgba(0, 255, 0, 255));
    ASSERT_TRUE(frame.save(home + QStringLiteral("/bk/frame.png")));
    const QString mark = dir.filePath(QStringLiteral("mark.png"));
    QImage markPicture(40, 40, QImage::Format_RGB32);
    markPicture.fill(Qt::black);
    ASSERT_TRUE(markPicture.save(mark));
    const QString in = dir.filePath(QStringLiteral("a.png"));
    QImage white(300, 200, QImage::Format_RGB32);
    white.fill(Qt::white);
    ASSERT_TRUE(white.save(in));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TUVO_HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));

    const auto runWith = [&](const QStringList &set) {
        const QString out = dir.filePath(QStringLiteral("out") + set.join('_').left(12));
        QDir().mkpath(out);
        QStringList args = {"--quiet", "-f", "png", "-o", out};
        for (const QString &s : set)
            args << "--set" << s;
        const CliRun r = runTuvoCli(args << in, {.env = env});
        EXPECT_EQ(r.exitCode, 0) << set.join(' ').toStdString() << r.err.toStdString();
        return QImage(QDir(out).filePath(QStringLiteral("a.png"))).convertToFormat(QImage::Format_RGB32);
    };
    // TUVO_HOME moves only what the program writes: presets and frames are the installed ones.
    EXPECT_EQ(runWith({"iuSize=5"}).size(), QSize(120, 160)); // the third preset, 头像
    EXPECT_NE(runWith({"iuSize=2", "iuBk=1"}), runWith({"iuSize=2"})); // the first frame is drawn
    const auto darkNearTopLeft = [](const QImage &picture) {
        int dark = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 60; ++x)
                dark += qGray(picture.pixel(x, y)) < 60;
        return dark;
    };
    EXPECT_GT(darkNearTopLeft(runWith({"sText=Hello", "iSize=20"})), 10); // text at its stored corner 0,0
    EXPECT_GT(darkNearTopLeft(runWith({"suISyF=" + mark})), 100); // watermark centred at 0,0
}

TEST(CliRun, OddFilesNeverHangAndBadPrefixesNeverStart)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("home"));
    const QString config = dir.filePath(QStringLiteral("config"));
    QDir().mkpath(home);
    QDir().mkpath(config + QStringLiteral("/tuvo"));
    // The settings file lives in TUVO_HOME; size.ini is read from the data folder,
    // so its FIFO case goes straight to the reader.
    const QString fifoIni = dir.filePath(QStringLiteral("size.ini"));
    for (const QString &fifo : {home + QStringLiteral("/tuvo.ini"), fifoIni})
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_TRUE(readSizePresets(fifoIni).isEmpty());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TUVO_HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    const QString in = dir.filePath(QStringLiteral("a.png"));
    ASSERT_TRUE(photo(100, 80).save(in));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);

    CliRun r = runTuvoCli({"--quiet", "--from-settings", "-o", out, in}, {.env = env, .timeoutMs = 30000});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_GE(r.err.count(QStringLiteral("不是普通文件")), 1) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(QDir(out).filePath(QStringLiteral("a.jpg"))));

    r = runTuvoCli({"--print-exif", dir.path()}, {.timeoutMs = 30000});
    EXPECT_EQ(r.exitCode, 1);
    r = runTuvoCli({"--print-exif", in, in}, {.timeoutMs = 30000});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.count(QStringLiteral("==> ") + in + QStringLiteral(" <==")), 2);
    r = runTuvoCli({"--print-exif", dir.filePath(QStringLiteral("missing.jpg"))}, {.timeoutMs = 30000});
    EXPECT_EQ(r.exitCode, 1);

    const auto before = snapshot(dir.path());
    for (const QString prefix : {"../x_", "sub/x_", "/tmp/x_"}) {
        r = runTuvoCli({"--quiet", "--rename", prefix, "-o", out, in});
        EXPECT_EQ(r.exitCode, 2) << prefix.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("文件名前缀不能包含路径分隔符"))) << r.err.toStdString();
    }
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST(CliRun, SourcesAreKnownByTheirFileNotTheirPath)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in/a.jpg"));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(dir.filePath(QStringLiteral("in")));
    QDir().mkpath(out);
    ASSERT_TRUE(photo(400, 300).save(in, "JPG"));
    // The same file under the output name: another path, the same device and inode.
    const QString link = QDir(out).filePath(QStringLiteral("a.jpg"));
    ASSERT_EQ(::link(QFile::encodeName(in).constData(), QFile::encodeName(link).constData()), 0);
    const auto before = snapshot(dir.path());
    const CliRun r = runTuvoCli({"--quiet", "-f", "original", "-o", out, in});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("为保护原图没有覆盖它"))) << r.err.toStdString();
    struct stat source {
    }, target {};
    ASSERT_EQ(::stat(QFile::encodeName(in).constData(), &source), 0);
    ASSERT_EQ(::stat(QFile::encodeName(link).constData(), &target), 0);
    EXPECT_EQ(source.st_ino, target.st_ino);
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST(CliRun, NamesOfAnyBytesAreProcessedAndShownSafely)
{
    QTemporaryDir dir;
    const QByteArray in = QFile::encodeName(dir.filePath(QStringLiteral("in")));
    const QByteArray out = QFile::encodeName(dir.filePath(QStringLiteral("out")));
    QDir().mkpath(QFile::decodeName(in));
    QDir().mkpath(QFile::decodeName(out));
    // "照片" in GBK, as archives made on Chinese Windows carry it.
    const QByteArray gbk = "\xD5\xD5\xC6\xAC";
    const QByteArray png = QFile::encodeName(dir.filePath(QStringLiteral("p.png")));
    ASSERT_TRUE(photo(120, 90).save(QFile::decodeName(png)));
    for (const QByteArray &name : {gbk + ".png", QByteArray("ok.png"), QByteArray("sub/") + gbk + "2.png"}) {
        if (name.startsWith("sub/")) {
            ASSERT_EQ(::mkdir(in + "/sub", 0700), 0);
        }
        ASSERT_EQ(::link(png.constData(), (in + '/' + name).constData()), 0);
    }
    // A broken picture whose name could forge a line of the report.
    const QByteArray forged = in + "/x.jpg\nforged line.jpg";
    ASSERT_TRUE(writeFile(QFile::decodeName(forged), "not a picture"));

    // Raw bytes on the command line: through the shell, as a script would pass them.
    const auto runRaw = [](const QByteArrayList &args) {
        QByteArray script = "exec \"$0\"";
        for (const QByteArray &a : args) {
            script += " \"$(printf '";
            for (const char c : a)
                script += "\\" + QByteArray::number(uchar(c), 8).rightJustified(3, '0');
            script += "')\"";
        }
        return runTuvoCli({}, {.launcher = {"sh", "-c", QString::fromLatin1(script)}});
    };
    CliRun r = runRaw({"--quiet", "-R", "-o", out, in});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(::access((out + '/' + gbk + ".jpg").constData(), F_OK), 0) << r.err.toStdString();
    EXPECT_EQ(::access((out + '/' + gbk + "2.jpg").constData(), F_OK), 0);
    EXPECT_EQ(::access((out + "/ok.jpg").constData(), F_OK), 0);
    const QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << r.err.toStdString(); // the header and one escaped line
    EXPECT_TRUE(lines[1].startsWith(QFile::decodeName(in) + QStringLiteral("/x.jpg\\nforged line.jpg")));
    EXPECT_FALSE(r.err.contains(QLatin1Char('\r')));

    // Given directly, and missing: the error line names the full path.
    const QByteArray direct = out + "2";
    ASSERT_EQ(::mkdir(direct.constData(), 0700), 0);
    r = runRaw({"--quiet", "-o", direct, in + '/' + gbk + ".png", "missing.jpg"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(::access((direct + '/' + gbk + ".jpg").constData(), F_OK), 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QDir::currentPath() + QStringLiteral("/missing.jpg在显示图片时发生错误")))
        << r.err.toStdString();
}

// Names of everything but folders below dir, as bytes (Qt's listing skips
// names that are not UTF-8).
QSet<QByteArray> namesIn(const QString &dir)
{
    QProcess find;
    find.start(QStringLiteral("find"), {dir, "-mindepth", "1", "!", "-type", "d", "-printf", "%P\\0"});
    find.waitForFinished(30000);
    QSet<QByteArray> names;
    for (const QByteArray &name : find.readAllStandardOutput().split('\0'))
        if (!name.isEmpty())
            names << name;
    return names;
}

TEST(CliScripts, FileListsKeepEveryByteOfTheirPaths)
{
    QTemporaryDir dir;
    const QByteArray in = QFile::encodeName(dir.filePath(QStringLiteral("in")));
    QDir().mkpath(QFile::decodeName(in));
    const QByteArray png = QFile::encodeName(dir.filePath(QStringLiteral("p.png")));
    ASSERT_TRUE(photo(60, 40).save(QFile::decodeName(png)));
    const QByteArrayList names
        = {"with space.png", "照片.png", "\xD5\xD5\xC6\xAC.png", "two\nlines.png", "plain.png"};
    QByteArray lines, nulls;
    for (const QByteArray &name : names) {
        ASSERT_EQ(::link(png.constData(), (in + '/' + name).constData()), 0);
        nulls += in + '/' + name + '\0';
        if (!name.contains('\n'))
            lines += in + '/' + name + "\r\n";
    }
    const QString list = dir.filePath(QStringLiteral("list.txt"));
    ASSERT_TRUE(writeFile(list, lines + "\n"));

    const QString out1 = dir.filePath(QStringLiteral("out1"));
    const QString out2 = dir.filePath(QStringLiteral("out2"));
    QDir().mkpath(out1);
    QDir().mkpath(out2);
    CliRun r = runTuvoCli({"--quiet", "-f", "png", "--files-from", list, "-o", out1});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = runTuvoCli({"--quiet", "-f", "png", "-0", "--files-from", "-", "-o", out2}, {.input = nulls});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QSet<QByteArray> expected;
    for (const QByteArray &name : names)
        expected << name;
    EXPECT_EQ(namesIn(out2), expected);

    // Relative names as the shell and find give them: on the command line and through -0.
    const QString out3 = dir.filePath(QStringLiteral("out3"));
    const QString out4 = dir.filePath(QStringLiteral("out4"));
    QDir().mkpath(out3);
    QDir().mkpath(out4);
    const CliRun shell = runTuvoCli({out3, out4},
        {.workingDirectory = QFile::decodeName(in),
            .launcher = {"bash", "-c",
                "\"$0\" --quiet -f png -o \"$1\" *.png && find . -name '*.png' -print0 | \"$0\" --quiet -f "
                "png "
                "-0 --files-from - -o \"$2\""}});
    EXPECT_EQ(shell.exitCode, 0) << shell.err.toStdString();
    EXPECT_EQ(namesIn(out3), expected);
    EXPECT_EQ(namesIn(out4), expected);
    expected.remove("two\nlines.png");
    EXPECT_EQ(namesIn(out1), expected);
}

// Results of an earlier run in an output folder inside the input tree are
// never taken as the next run's sources.
TEST(CliScripts, OutputFolderInsideTheInputTreeIsNeverInput)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in"));
    const QString out = in + QStringLiteral("/out");
    QDir().mkpath(in + QStringLiteral("/sub"));
    QDir().mkpath(out);
    ASSERT_TRUE(photo(90, 60).save(in + QStringLiteral("/a.png")));
    ASSERT_TRUE(photo(90, 60).save(in + QStringLiteral("/sub/b.png")));
    for (int run = 0; run < 2; ++run) {
        const CliRun r = runTuvoCli({"--quiet", "--json", "-R", "-o", out, in});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("\"pictures\":2,\"written\":2,"))) << r.out.toStdString();
    }
    EXPECT_EQ(namesIn(out), (QSet<QByteArray> {"a.jpg", "b.jpg"}));
}

TEST(CliScripts, ShardsTogetherWriteWhatOneRunWrites)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in"));
    QDir().mkpath(in);
    for (int k = 0; k < 7; ++k)
        ASSERT_TRUE(photo(50 + 10 * k, 40).save(QDir(in).filePath(QStringLiteral("p%1.png").arg(k))));
    const auto run = [&](const QString &out, const QStringList &extra) {
        QDir().mkpath(out);
        const CliRun r = runTuvoCli(QStringList {"--quiet", "-o", out} + extra + QStringList {in});
        EXPECT_EQ(r.exitCode, 0) << extra.join(' ').toStdString() << r.err.toStdString();
        QMap<QByteArray, QByteArray> files;
        for (auto [path, hash] : snapshot(out).asKeyValueRange())
            files[path.mid(out.size())] = hash;
        return files;
    };
    for (const QStringList &naming : {QStringList {}, QStringList {"--rename", "shot_"}}) {
        const QString tag = naming.isEmpty() ? QStringLiteral("plain") : QStringLiteral("renamed");
        const auto one = run(dir.filePath("one-" + tag), naming);
        ASSERT_EQ(one.size(), 7);
        EXPECT_EQ(run(dir.filePath("whole-" + tag), naming + QStringList {"--shard", "1/1"}), one);
        const QString shards = dir.filePath("shards-" + tag);
        for (const char *k : {"1/3", "2/3", "3/3"})
            run(shards, naming + QStringList {"--shard", k, "-j", "1"});
        EXPECT_EQ(run(shards, naming + QStringList {"--shard", "9/10"}), one); // past the list: nothing
    }
    const auto numbered = run(dir.filePath("numbered"), {"--rename", "shot_", "--first-number", "5000"});
    EXPECT_TRUE(numbered.contains("/shot_5000.jpg") && numbered.contains("/shot_5006.jpg"));
}

TEST(CliScripts, ClashPoliciesGiveTheSameFilesForAnyJobs)
{
    QTemporaryDir dir;
    QStringList inputs;
    for (const char *folder : {"a", "b"}) {
        QDir().mkpath(dir.filePath(folder));
        QImage img = photo(80, 60);
        img.fill(*folder == 'a' ? Qt::red : Qt::blue);
        ASSERT_TRUE(img.save(dir.filePath(QStringLiteral("%1/x.png").arg(folder))));
        inputs << dir.filePath(folder);
    }
    const struct {
        const char *policy;
        int exitCode;
        QSet<QByteArray> names;
    } cases[] = {
        {"overwrite", 0, {"x.png"}},
        {"number", 0, {"x.png", "x_2.png", "x_3.png"}},
        {"skip", 0, {"x.png"}},
        {"fail", 1, {"x.png"}},
    };
    for (const auto &c : cases) {
        QMap<QByteArray, QByteArray> results[2];
        for (int jobs = 1; jobs <= 2; ++jobs) {
            const QString out = dir.filePath(QStringLiteral("%1-%2").arg(c.policy).arg(jobs));
            QDir().mkpath(out);
            ASSERT_TRUE(writeFile(QDir(out).filePath("x.png"), "kept")); // from an earlier run
            const CliRun r = runTuvoCli(QStringList {"--quiet", "-f", "png", "-j", QString::number(jobs),
                                            "--on-clash", c.policy, "-o", out}
                + inputs);
            EXPECT_EQ(r.exitCode, c.exitCode) << c.policy << r.err.toStdString();
            EXPECT_EQ(namesIn(out), c.names) << c.policy;
            for (auto [path, hash] : snapshot(out).asKeyValueRange())
                results[jobs - 1][path.mid(out.size())] = hash;
        }
        EXPECT_EQ(results[0], results[1]) << c.policy;
        QFile kept(dir.filePath(QStringLiteral("%1-1/x.png").arg(c.policy)));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll() == "kept", QByteArray(c.policy) != "overwrite") << c.policy;
    }
}

TEST(CliScripts, KeepTreeNeverWritesOutsideTheOutputFolder)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in"));
    const QString out = dir.filePath(QStringLiteral("out"));
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
    for (const QString &folder : {in + "/sub/deep", in + "/..x", in + "/trap", out, elsewhere})
        QDir().mkpath(folder);
    for (const char *name : {"top.png", "sub/deep/a.png", "..x/b.png", "trap/c.png"})
        ASSERT_TRUE(photo(40, 30).save(QDir(in).filePath(name)));
    // A linked folder among the inputs is not followed; a link in the output is not entered.
    ASSERT_EQ(
        ::symlink(QFile::encodeName(elsewhere).constData(), QFile::encodeName(in + "/link").constData()), 0);
    ASSERT_TRUE(photo(40, 30).save(elsewhere + "/d.png"));
    ASSERT_EQ(
        ::symlink(QFile::encodeName(elsewhere).constData(), QFile::encodeName(out + "/trap").constData()), 0);
    const auto before = snapshot(elsewhere);

    const CliRun r = runTuvoCli({"--quiet", "-R", "--keep-tree", "-f", "png", "-o", out, in});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("trap/c.png在保存时发生错误"))) << r.err.toStdString();
    EXPECT_EQ(namesIn(out), (QSet<QByteArray> {"top.png", "sub/deep/a.png", "..x/b.png", "trap"}));
    EXPECT_EQ(snapshot(elsewhere), before);
}

TEST(CliScripts, JsonLinesParseAlsoWhenPicturesFail)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in"));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(in);
    QDir().mkpath(out);
    ASSERT_TRUE(photo(300, 200).save(in + "/good.png"));
    ASSERT_TRUE(photo(300, 200).save(QFile::decodeName(QFile::encodeName(in) + "/\xD5\xD5.png")));
    ASSERT_TRUE(writeFile(in + "/broken \"quoted\".jpg", "not a picture"));
    // Checked by Python's own json module, line by line.
    const auto parse = [](const QString &text) {
        QProcess python;
        python.start(QStringLiteral("python3"),
            {"-c",
                "import json, sys\n"
                "for line in sys.stdin.buffer.read().decode('utf-8').splitlines():\n"
                "    o = json.loads(line)\n"
                "    print(o['summary'] and 'summary %d %d %d %d' % (o['pictures'], o['written'], "
                "o['failed'], "
                "o.get('would_write', o['skipped'])) if 'summary' in o else '%d %s %s %s %s' % (o['index'], "
                "o['output'] is not "
                "None, "
                "o['width'], o['bytes'] is not None, o['error'] is not None))"});
        python.write(text.toUtf8());
        python.closeWriteChannel();
        python.waitForFinished(30000);
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        return QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    };
    CliRun r = runTuvoCli({"--quiet", "--json", "-j", "2", "-o", out, in});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(parse(r.out),
        (QStringList {
            "0 False None False True", "1 True 800 True False", "2 True 800 True False", "summary 3 2 1 0"}))
        << r.out.toStdString();

    r = runTuvoCli({"--quiet", "--json", "--dry-run", "-o", dir.filePath("dry"), in});
    EXPECT_NE(r.exitCode, 0); // the output folder does not exist
    QDir().mkpath(dir.filePath("dry"));
    // Sources as given: relative to where the caller stands.
    r = runTuvoCli({"--quiet", "--json", "--dry-run", "-o", "dry", "in"}, {.workingDirectory = dir.path()});
    // The broken picture fails in the dry run as in the real one; nothing counts as written.
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"source\":\"in/good.png\""))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"dry_run\":true"))) << r.out.toStdString();
    EXPECT_EQ(parse(r.out),
        (QStringList {"0 False None False True", "1 True None False False", "2 True None False False",
            "summary 3 0 1 2"}));
    EXPECT_TRUE(QDir(dir.filePath("dry")).isEmpty());

    // A missing file and a shared name, said in the conditional.
    QDir().mkpath(dir.filePath("other"));
    ASSERT_TRUE(photo(30, 20).save(dir.filePath("other/good.png")));
    r = runTuvoCli({"--dry-run", "-o", dir.filePath("dry"), in + "/good.png", dir.filePath("gone.jpg"),
        dir.filePath("other/good.png")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("gone.jpg")) && r.err.contains(QStringLiteral("将只保存后者")))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("只保存了后者")));
}

// Fit-inside gives the sizes ImageMagick's -resize WxH gives, for every shape.
TEST(CliRun, FitInsideSizesMatchImageMagickResize)
{
    QProcess probe;
    probe.start(QStringLiteral("convert"), {QStringLiteral("-version")});
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        GTEST_SKIP() << "ImageMagick convert is not installed: fit-inside sizes cannot be compared";
    QTemporaryDir dir;
    const auto magickSize = [&](const QString &in, const QString &box) {
        const QString out = dir.filePath(QStringLiteral("magick.png"));
        QProcess p;
        p.start(QStringLiteral("convert"), {in, QStringLiteral("-resize"), box, out});
        p.waitForFinished(60000);
        return QImage(out).size();
    };
    const QList<QSize> shapes = {{1000, 600}, {600, 1000}, {500, 500}, {997, 601}, {40, 30}};
    const QList<QStringList> boxes = {{"--size", "fit", "-W", "300", "-H", "200"}, {"--longest", "250"},
        {"--size=fit", "-W", "90", "-H", "400"}};
    for (const QSize &shape : shapes) {
        const QString in = dir.filePath(QStringLiteral("p%1x%2.png").arg(shape.width()).arg(shape.height()));
        ASSERT_TRUE(photo(shape.width(), shape.height()).save(in));
        for (const QStringList &box : boxes) {
            const QString out = dir.filePath(QStringLiteral("out"));
            QDir(out).removeRecursively();
            QDir().mkpath(out);
            const CliRun r
                = runTuvoCli(QStringList {"--quiet", "-f", "png", "-o", out} + box + QStringList {in});
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
            const QString w = box.contains("--longest") ? box[1] : box[box.indexOf("-W") + 1];
            const QString h = box.contains("--longest") ? box[1] : box[box.indexOf("-H") + 1];
            EXPECT_EQ(
                QImage(QDir(out).filePath(QFileInfo(in).fileName())).size(), magickSize(in, w + 'x' + h))
                << shape.width() << "x" << shape.height() << " in " << box.join(' ').toStdString();
        }
    }
}

// A job saved from a command line and loaded in a fresh profile writes the same bytes.
TEST(CliJobs, SavedJobInAFreshProfileWritesTheSameBytes)
{
    QTemporaryDir dir;
    QImage frame(400, 300, QImage::Format_ARGB32);
    frame.fill(Qt::transparent);
    for (int x = 0; x < 400; ++x)
        frame.setPixel(x, 2, qRgba(0, 200, 0, 255));
    const QString framePath = dir.filePath(QStringLiteral("frame.png"));
    ASSERT_TRUE(frame.save(framePath));
    QImage mark(30, 20, QImage::Format_RGB32);
    mark.fill(Qt::blue);
    const QString markPath = dir.filePath(QStringLiteral("mark.png"));
    ASSERT_TRUE(mark.save(markPath));
    QStringList inputs;
    for (const auto &[name, size] :
        {std::pair("a.jpg", QSize(900, 500)), std::pair("b.png", QSize(300, 700))}) {
        inputs << dir.filePath(name);
        ASSERT_TRUE(photo(size.width(), size.height()).save(inputs.last()));
    }
    const QStringList job = {"--size", "custom", "-W", "400", "-H", "300", "--extend", "--crop-x", "right",
        "--frame", framePath, "--text", "Tuvo", "--font-size", "18", "--color", "#FF2000", "--bold",
        "--text-pos", "top-left", "--mark", markPath, "--opacity", "60", "--mark-scale", "4", "--mark-pos",
        "0.25,0.75", "--rotate", "cw", "--effect", "sharpen", "-f", "jpg", "-q", "77", "--rename", "J_",
        "--digits", "3", "--metadata", "strip", "--colour", "srgb", "--on-clash", "number", "--no-enlarge",
        "--ftp-user", "someone"};
    const auto profile = [&](const QString &name) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TUVO_HOME"), dir.filePath(name + QStringLiteral("/home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(name + QStringLiteral("/config")));
        env.insert(QStringLiteral("TUVO_FTP_PASSWORD"), QStringLiteral("pw-never-saved"));
        return env;
    };
    const QString outA = dir.filePath(QStringLiteral("outA"));
    const QString outB = dir.filePath(QStringLiteral("outB"));
    QDir().mkpath(outA);
    QDir().mkpath(outB);
    const QString jobFile = dir.filePath(QStringLiteral("saved.ini"));
    CliRun r = runTuvoCli(QStringList {"--quiet", "-o", outA} + job + inputs, {.env = profile("first")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = runTuvoCli(job + QStringList {"--save-job", jobFile}, {.env = profile("first"), .timeoutMs = 60000});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile saved(jobFile);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray text = saved.readAll();
    EXPECT_FALSE(text.contains("pw-never-saved"));
    EXPECT_FALSE(text.contains("sOutDir")); // not asked for
    EXPECT_TRUE(text.contains("sFrameFile=" + framePath.toUtf8()));

    r = runTuvoCli(QStringList {"--quiet", "--job", jobFile, "-o", outB} + inputs, {.env = profile("fresh")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const auto relative = [](const QString &out) {
        QMap<QByteArray, QByteArray> files;
        for (auto [path, hash] : snapshot(out).asKeyValueRange())
            files[path.mid(out.size())] = hash;
        return files;
    };
    EXPECT_EQ(relative(outA).size(), 2);
    EXPECT_EQ(relative(outA), relative(outB));

    // Options after the job change single fields.
    const QString outC = dir.filePath(QStringLiteral("outC"));
    QDir().mkpath(outC);
    r = runTuvoCli(QStringList {"--quiet", "--job", jobFile, "-f", "png", "-o", outC} + inputs,
        {.env = profile("fresh")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QDir(outC).entryList({"J_00?.png"}, QDir::Files).size(), 2);
}

// Every shipped preset runs and gives its size.
class ShippedPreset : public ::testing::TestWithParam<std::pair<const char *, QSize>> { };

TEST_P(ShippedPreset, RunsAndGivesItsSize)
{
    const auto &[name, size] = GetParam();
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("p.png"));
    ASSERT_TRUE(photo(2000, 1500).save(in));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TUVO_HOME"), dir.filePath(QStringLiteral("home")));
    const CliRun r
        = runTuvoCli({"--quiet", "--preset", QString::fromUtf8(name), "-o", out, in}, {.env = env});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage written(QDir(out).filePath(QStringLiteral("p.jpg")));
    EXPECT_EQ(written.size(), size);
    if (QString::fromUtf8(name).endsWith(QStringLiteral("300KB"))) {
        EXPECT_LE(QFileInfo(QDir(out).filePath(QStringLiteral("p.jpg"))).size(), 300 * 1024);
    }
    if (QString::fromUtf8(name) == QStringLiteral("方形1080")) { // extended, never cropped: white bands
        EXPECT_GT(qGray(written.pixel(540, 5)), 240);
    }
}

INSTANTIATE_TEST_SUITE_P(CliJobs, ShippedPreset,
    ::testing::Values(std::pair("网页图片1200", QSize(1200, 900)), std::pair("方形1080", QSize(1080, 1080)),
        std::pair("缩略图320", QSize(320, 240)), std::pair("证件照1寸", QSize(295, 413)),
        std::pair("证件照2寸", QSize(413, 579)), std::pair("证件照头像", QSize(120, 160)),
        std::pair("网页图片300KB", QSize(1200, 900))));

namespace {

// The "written" count of a --json run's summary line.
int writtenCount(const QString &jsonLines)
{
    const QRegularExpressionMatch m
        = QRegularExpression(QStringLiteral("\"summary\".*\"written\":(\\d+)")).match(jsonLines);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

// Two runs into one folder at once, one of them turning its pictures grey: only
// "overwrite" may replace a file; "number" keeps both runs' pictures, "skip" and
// "fail" keep what the other run wrote first and count it honestly.
TEST(CliScripts, ClashRulesHoldBetweenTwoRunsAtOnce)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in"));
    QDir().mkpath(in);
    constexpr int kPictures = 40;
    QImage red(900, 700, QImage::Format_RGB32);
    red.fill(Qt::red);
    for (int i = 0; i < kPictures; ++i)
        ASSERT_TRUE(red.save(QStringLiteral("%1/p%2.png").arg(in).arg(i)));
    for (const char *policy : {"number", "skip", "fail"}) {
        const QString out = dir.filePath(QLatin1String(policy));
        QDir().mkpath(out);
        QProcess runs[2];
        for (int r = 0; r < 2; ++r)
            runs[r].start(QStringLiteral(TUVO_CLI_PATH),
                QStringList {"--quiet", "--json", "-f", "png", "--size", "original", "--on-clash", policy,
                    "-o", out, in, "--effect", r == 1 ? "grey" : "sharpen"});
        int written[2];
        for (int r = 0; r < 2; ++r) {
            ASSERT_TRUE(runs[r].waitForFinished(120000));
            written[r] = writtenCount(QString::fromUtf8(runs[r].readAllStandardOutput()));
            EXPECT_EQ(runs[r].exitCode(), QByteArray(policy) == "fail" && written[r] < kPictures) << policy;
        }
        int grey = 0;
        const QStringList files = QDir(out).entryList(QDir::Files);
        for (const QString &name : files) {
            const QRgb pixel = QImage(QDir(out).filePath(name)).pixel(5, 5);
            grey += qRed(pixel) == qGreen(pixel);
        }
        const int expected = QByteArray(policy) == "number" ? 2 * kPictures : kPictures;
        EXPECT_EQ(files.size(), expected) << policy;
        EXPECT_EQ(written[0] + written[1], expected) << policy;
        EXPECT_EQ(grey, written[1]) << policy; // every file is the picture its run says it wrote
    }
}

// A job file that cannot be written whole leaves the old one as it was and
// the job does not start: under a file-size limit, and on a full disk.
TEST(CliJobs, SaveJobThatCannotBeWrittenKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString job = dir.filePath(QStringLiteral("job.ini"));
    ASSERT_TRUE(writeFile(job, "old job"));
    const QStringList save {"--text", QString(3000, QLatin1Char('x')), "--save-job"};
    const CliRun limited = runTuvoCli(save + QStringList {job}, {.launcher = {"prlimit", "--fsize=512"}});
    EXPECT_EQ(limited.exitCode, 2); // no SIGXFSZ
    EXPECT_FALSE(limited.err.isEmpty());
    EXPECT_EQ(readAll(job), "old job");

    if (::geteuid() != 0)
        GTEST_SKIP() << "SKIPPED LOUDLY: a full disk needs a tmpfs, which only root can mount";
    const QString disk = dir.filePath(QStringLiteral("disk"));
    QDir().mkpath(disk);
    if (QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", disk}) != 0)
        GTEST_SKIP() << "SKIPPED LOUDLY: could not mount a tmpfs for the full disk";
    struct Unmount {
        QString path;
        ~Unmount() { QProcess::execute(QStringLiteral("umount"), {path}); }
    } unmount {disk};
    const QString onDisk = disk + QStringLiteral("/job.ini");
    CliRun r = runTuvoCli(QStringList {"--text", "first", "--save-job", onDisk});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray first = readAll(onDisk);
    QProcess::execute(QStringLiteral("dd"), {"if=/dev/zero", "of=" + disk + "/fill", "bs=4k", "status=none"});
    r = runTuvoCli(save + QStringList {onDisk});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_EQ(readAll(onDisk), first);
    EXPECT_EQ(QDir(disk).entryList(QDir::Files | QDir::Hidden).size(), 2); // no temporary left
}

// Names from a template, a picture through the standard streams.
TEST(CliRun, NameTemplateAndStandardStreams)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in"));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(in);
    QDir().mkpath(out);
    ASSERT_TRUE(photo(1600, 1200).save(in + QStringLiteral("/a.jpg"), "JPG", 90));
    ASSERT_TRUE(photo(400, 300).save(in + QStringLiteral("/b.png")));
    CliRun r = runTuvoCli(
        {"--quiet", "-o", out, "--name", "%s_%n_%e%%", "--digits", "2", "--first-number", "7", in});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(namesIn(out), (QSet<QByteArray> {"a_07_jpg%.jpg", "b_08_png%.jpg"}));

    r = runTuvoCli({"--quiet", "-f", "png", "-o", "-", "-"},
        {.input = readAll(in + QStringLiteral("/a.jpg")),
            .stdoutFile = dir.filePath(QStringLiteral("streamed"))});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray streamed = readAll(dir.filePath(QStringLiteral("streamed")));
    EXPECT_TRUE(streamed.startsWith("\x89PNG"));
    EXPECT_EQ(QImage::fromData(streamed).size(), QSize(800, 600));
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 2); // nothing else written

    r = runTuvoCli({"-o", "-", in});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("tuvo-cli: -o -: "))) << r.err.toStdString();
}

// What is wrong is said before any picture is rendered, naming the option.
TEST(CliRun, MessagesNameTheOptionAndWhatIsWrong)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("a.png"));
    ASSERT_TRUE(photo(400, 300).save(in));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    const auto startsWith = [](const CliRun &r, const char *prefix) {
        return r.exitCode == 2 && r.err.startsWith(QString::fromUtf8(prefix));
    };
    CliRun r = runTuvoCli({"--files-from", dir.filePath("nolist.txt"), "-o", out});
    EXPECT_TRUE(startsWith(r, "tuvo-cli: --files-from: ") && r.err.contains("nolist.txt"))
        << r.err.toStdString();
    r = runTuvoCli({"-o", in, in});
    EXPECT_TRUE(startsWith(r, "tuvo-cli: -o/--output: 不是文件夹")) << r.err.toStdString();
    r = runTuvoCli({"--mark", dir.filePath("missing.png"), "-o", out, in});
    EXPECT_TRUE(startsWith(r, "tuvo-cli: --mark: ")) << r.err.toStdString();
    r = runTuvoCli({"--upload", "-o", out, in});
    EXPECT_TRUE(startsWith(r, "tuvo-cli: --upload: ")) << r.err.toStdString();
    if (::geteuid() != 0) { // root writes anywhere
        QFile::setPermissions(out, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        r = runTuvoCli({"-o", out, in});
        EXPECT_TRUE(startsWith(r, "tuvo-cli: -o/--output: ")) << r.err.toStdString();
        QFile::setPermissions(out, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    // Options with no effect here are said; dimensions no preset has are a custom size.
    r = runTuvoCli({"--quiet", "--keep-tree", "--first-number", "5", "--size", "1600x1200", "-o", out, in});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("tuvo-cli: --keep-tree: ") && r.err.contains("tuvo-cli: --first-number: "))
        << r.err.toStdString();
    EXPECT_EQ(QImage(out + QStringLiteral("/a.jpg")).size(), QSize(1600, 1200));
}
