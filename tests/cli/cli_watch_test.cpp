// tuvo-cli --watch as a service runs it: a real process watching a real folder,
// its JSON lines read as they come, stopped by signals.
#include "support/cli_watcher.h"
#include "support/test_files.h"
#include "support/tuvo_cli.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <gtest/gtest.h>

namespace {

QByteArray jpegBytes(int w, int h, int seed = 0)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 7 + seed) & 255, (y * 5) & 255, (x ^ y) & 255));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "JPG", 90);
    return buffer.data();
}

QStringList sourcesOf(const QList<QJsonObject> &lines)
{
    QStringList sources;
    for (const QJsonObject &line : lines)
        sources << QFileInfo(line.value(QStringLiteral("source")).toString()).fileName();
    return sources;
}

struct Folders {
    QTemporaryDir dir;
    QString in = dir.filePath(QStringLiteral("in"));
    QString out = dir.filePath(QStringLiteral("out"));
    Folders()
    {
        QDir().mkpath(in);
        QDir().mkpath(out);
    }
    QString inFile(const QString &name) const { return QDir(in).filePath(name); }
};

} // namespace

TEST(CliWatch, APictureCopiedInSlowlyIsTakenOnceWhenComplete)
{
    Folders f;
    CliWatcher watcher(f.in, f.out);
    const QByteArray bytes = jpegBytes(900, 700);
    {
        QFile slow(f.inFile(QStringLiteral("slow.jpg")));
        ASSERT_TRUE(slow.open(QIODevice::WriteOnly));
        const qsizetype chunk = bytes.size() / 4 + 1;
        for (qsizetype at = 0; at < bytes.size(); at += chunk) {
            slow.write(bytes.mid(at, chunk));
            slow.flush();
            QThread::msleep(150); // a slow copy, not a check
        }
    }
    // Hidden files and temporary names are passed over until renamed into a picture.
    ASSERT_TRUE(writeFile(f.inFile(QStringLiteral(".hidden.jpg")), bytes));
    ASSERT_TRUE(writeFile(f.inFile(QStringLiteral("next.jpg.part")), bytes));
    ASSERT_TRUE(
        QFile::rename(f.inFile(QStringLiteral("next.jpg.part")), f.inFile(QStringLiteral("next.jpg"))));
    // next.jpg comes after every event slow.jpg caused: a second take would be before it.
    const QList<QJsonObject> lines = watcher.pictures(2);
    EXPECT_EQ(sourcesOf(lines), (QStringList {"slow.jpg", "next.jpg"}));
    EXPECT_EQ(lines[0].value(QStringLiteral("width")).toInt(), 120);
    EXPECT_TRUE(lines[0].value(QStringLiteral("error")).isNull());
    EXPECT_EQ(watcher.stop().value(QStringLiteral("pictures")).toInt(), 2);
    EXPECT_EQ(watcher.exitCode(), 0);
    EXPECT_FALSE(QImage(QDir(f.out).filePath(QStringLiteral("slow.jpg"))).isNull());
}

TEST(CliWatch, TwoHundredPicturesMovedInAtOnceAreEachTakenOnce)
{
    Folders f;
    const QString staging = f.dir.filePath(QStringLiteral("staging"));
    QDir().mkpath(staging);
    const QByteArray bytes = jpegBytes(64, 48);
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(writeFile(
            QDir(staging).filePath(QStringLiteral("p%1.jpg").arg(i, 3, 10, QLatin1Char('0'))), bytes));
    CliWatcher watcher(f.in, f.out);
    for (const QString &name : QDir(staging).entryList(QDir::Files))
        ASSERT_TRUE(QFile::rename(QDir(staging).filePath(name), f.inFile(name)));
    ASSERT_TRUE(writeFile(f.inFile(QStringLiteral("zz-last.jpg")), bytes));
    QStringList sources = sourcesOf(watcher.pictures(201));
    EXPECT_EQ(sources.size(), 201);
    EXPECT_EQ(sources.last(), QStringLiteral("zz-last.jpg"));
    sources.removeDuplicates();
    EXPECT_EQ(sources.size(), 201);
    EXPECT_EQ(QDir(f.out).entryList(QDir::Files).size(), 201);
    watcher.stop();
    EXPECT_EQ(watcher.exitCode(), 0);
}

TEST(CliWatch, ARestartRedoesNothingAndTakesWhatArrivedMeanwhile)
{
    Folders f;
    const QByteArray bytes = jpegBytes(200, 150);
    ASSERT_TRUE(writeFile(f.inFile(QStringLiteral("a.jpg")), bytes));
    ASSERT_TRUE(writeFile(f.inFile(QStringLiteral("b.jpg")), bytes));
    {
        CliWatcher first(f.in, f.out);
        EXPECT_EQ(sourcesOf(first.pictures(2)), (QStringList {"a.jpg", "b.jpg"}));
        first.stop();
        EXPECT_EQ(first.exitCode(), 0);
    }
    ASSERT_TRUE(writeFile(f.inFile(QStringLiteral("c.jpg")), bytes));
    {
        CliWatcher second(f.in, f.out);
        EXPECT_EQ(sourcesOf(second.pictures(1)), QStringList {"c.jpg"});
        EXPECT_EQ(second.stop().value(QStringLiteral("pictures")).toInt(), 1);
    }
    {
        // Another job is another fingerprint: everything is done again.
        CliWatcher other(f.in, f.out, {QStringLiteral("-q"), QStringLiteral("50")});
        QStringList sources = sourcesOf(other.pictures(3));
        sources.sort();
        EXPECT_EQ(sources, (QStringList {"a.jpg", "b.jpg", "c.jpg"}));
        EXPECT_EQ(other.stop().value(QStringLiteral("pictures")).toInt(), 3);
    }
    // A first watch over outputs made earlier by a normal run leaves them be.
    QDir(f.out).remove(QStringLiteral(".tuvo-watch"));
    ASSERT_TRUE(writeFile(f.inFile(QStringLiteral("d.jpg")), bytes));
    CliWatcher fresh(f.in, f.out);
    EXPECT_EQ(sourcesOf(fresh.pictures(1)), QStringList {"d.jpg"});
    EXPECT_EQ(fresh.stop().value(QStringLiteral("pictures")).toInt(), 1);
}

TEST(CliWatch, SigtermDuringAPictureFinishesItAndWritesTheRecord)
{
    Folders f;
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(writeFile(f.inFile(QStringLiteral("big%1.jpg").arg(i)), jpegBytes(3000, 2000, i)));
    CliWatcher watcher(f.in, f.out, {QStringLiteral("-j"), QStringLiteral("1")});
    const int seen = int(watcher.pictures(1).size());
    const QJsonObject summary = watcher.stop(SIGTERM);
    EXPECT_EQ(watcher.exitCode(), 0);
    const int done = summary.value(QStringLiteral("pictures")).toInt();
    EXPECT_GE(done, seen);
    // Every picture taken is written whole, and the record names exactly those.
    const QStringList written = QDir(f.out).entryList(QDir::Files);
    EXPECT_EQ(written.size(), done);
    for (const QString &name : written)
        EXPECT_FALSE(QImage(QDir(f.out).filePath(name)).isNull()) << name.toStdString();
    const QByteArray record = readAll(QDir(f.out).filePath(QStringLiteral(".tuvo-watch")));
    EXPECT_EQ(record.count(".jpg\n"), done) << record.toStdString();
    // The rest is taken by the next watch.
    if (done < 6) {
        CliWatcher next(f.in, f.out, {QStringLiteral("-j"), QStringLiteral("1")});
        EXPECT_EQ(next.pictures(6 - done).size(), 6 - done);
        EXPECT_EQ(next.stop().value(QStringLiteral("pictures")).toInt(), 6 - done);
    }
}

TEST(CliWatch, NewSubFoldersAreWatchedAndTheOutputFolderInsideIsNot)
{
    Folders f;
    const QString out = f.inFile(QStringLiteral("out"));
    QDir().mkpath(out);
    CliWatcher watcher(f.in, out, {QStringLiteral("-R"), QStringLiteral("--keep-tree")});
    QDir().mkpath(f.inFile(QStringLiteral("new/deeper")));
    ASSERT_TRUE(writeFile(f.inFile(QStringLiteral("new/deeper/a.jpg")), jpegBytes(80, 60)));
    EXPECT_EQ(watcher.pictures(1).size(), 1);
    // The output written to out/new/deeper does not come back; zz.jpg comes after it would.
    ASSERT_TRUE(writeFile(f.inFile(QStringLiteral("zz.jpg")), jpegBytes(80, 60)));
    EXPECT_EQ(sourcesOf(watcher.pictures(2)), (QStringList {"a.jpg", "zz.jpg"}));
    EXPECT_FALSE(QImage(QDir(out).filePath(QStringLiteral("new/deeper/a.jpg"))).isNull());
    EXPECT_EQ(watcher.stop().value(QStringLiteral("pictures")).toInt(), 2);
}

TEST(CliWatch, RefusesWhatHasNoEndOrIsNoFolder)
{
    Folders f;
    ASSERT_TRUE(writeFile(f.inFile(QStringLiteral("a.jpg")), jpegBytes(50, 50)));
    const CliRun withPdf = runTuvoCli({"--watch", "--pdf", "-o", f.out, f.in});
    EXPECT_EQ(withPdf.exitCode, 2);
    EXPECT_TRUE(withPdf.err.contains("--pdf"));
    const CliRun onAFile = runTuvoCli({"--watch", "-o", f.out, f.inFile(QStringLiteral("a.jpg"))});
    EXPECT_EQ(onAFile.exitCode, 2);
    EXPECT_TRUE(QDir(f.out).isEmpty(QDir::Files | QDir::Hidden));
}
