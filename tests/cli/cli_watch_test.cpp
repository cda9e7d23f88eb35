// tuvo-cli --watch as a service runs it: a real process watching a real folder,
// its JSON lines read as they come, stopped by signals.
#include "support/test_files.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
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

// A watching tuvo-cli with its JSON lines, the per-picture ones apart from the summary.
class Watcher {
public:
    Watcher(const QString &in, const QString &out, const QStringList &more = {})
    {
        process_.start(QStringLiteral(TUVO_CLI_PATH),
            QStringList {QStringLiteral("--watch"), QStringLiteral("--json"), QStringLiteral("--quiet"),
                QStringLiteral("-W"), QStringLiteral("120"), QStringLiteral("-o"), out}
                + more + QStringList {in});
        process_.waitForStarted();
        // The watch is set up before the folder is read: the first line on
        // standard error would need --quiet off, so wait for the pid's inotify use instead.
        waitUntil([this] { return watching(); });
    }

    ~Watcher()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    // Lines for pictures, waiting (with a generous limit) until there are n.
    QList<QJsonObject> pictures(int n)
    {
        waitUntil([&] { return read() >= n; });
        return lines_;
    }

    // Signals the process and waits for its end; the summary line, if any.
    QJsonObject stop(int sig = SIGTERM)
    {
        ::kill(pid_t(process_.processId()), sig);
        process_.waitForFinished(60000);
        read();
        return summary_;
    }
    int exitCode() const { return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1; }
    qint64 pid() const { return process_.processId(); }

private:
    bool watching() const
    {
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(process_.processId()));
        for (const QFileInfo &fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot))
            if (fd.symLinkTarget().contains(QLatin1String("inotify")))
                return true;
        return process_.state() == QProcess::NotRunning;
    }

    int read()
    {
        process_.waitForReadyRead(50);
        while (process_.canReadLine()) {
            const QJsonObject line = QJsonDocument::fromJson(process_.readLine()).object();
            if (line.value(QStringLiteral("summary")).toBool())
                summary_ = line;
            else
                lines_ << line;
        }
        return int(lines_.size());
    }

    template<typename F> static void waitUntil(F done)
    {
        const QDeadlineTimer deadline(60000);
        while (!done() && !deadline.hasExpired())
            QThread::msleep(10);
    }

    QProcess process_;
    QList<QJsonObject> lines_;
    QJsonObject summary_;
};

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
    Watcher watcher(f.in, f.out);
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
    Watcher watcher(f.in, f.out);
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
        Watcher first(f.in, f.out);
        EXPECT_EQ(sourcesOf(first.pictures(2)), (QStringList {"a.jpg", "b.jpg"}));
        first.stop();
        EXPECT_EQ(first.exitCode(), 0);
    }
    ASSERT_TRUE(writeFile(f.inFile(QStringLiteral("c.jpg")), bytes));
    {
        Watcher second(f.in, f.out);
        EXPECT_EQ(sourcesOf(second.pictures(1)), QStringList {"c.jpg"});
        EXPECT_EQ(second.stop().value(QStringLiteral("pictures")).toInt(), 1);
    }
    {
        // Another job is another fingerprint: everything is done again.
        Watcher other(f.in, f.out, {QStringLiteral("-q"), QStringLiteral("50")});
        QStringList sources = sourcesOf(other.pictures(3));
        sources.sort();
        EXPECT_EQ(sources, (QStringList {"a.jpg", "b.jpg", "c.jpg"}));
        EXPECT_EQ(other.stop().value(QStringLiteral("pictures")).toInt(), 3);
    }
    // A first watch over outputs made earlier by a normal run leaves them be.
    QDir(f.out).remove(QStringLiteral(".tuvo-watch"));
    ASSERT_TRUE(writeFile(f.inFile(QStringLiteral("d.jpg")), bytes));
    Watcher fresh(f.in, f.out);
    EXPECT_EQ(sourcesOf(fresh.pictures(1)), QStringList {"d.jpg"});
    EXPECT_EQ(fresh.stop().value(QStringLiteral("pictures")).toInt(), 1);
}

TEST(CliWatch, SigtermDuringAPictureFinishesItAndWritesTheRecord)
{
    Folders f;
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(writeFile(f.inFile(QStringLiteral("big%1.jpg").arg(i)), jpegBytes(3000, 2000, i)));
    Watcher watcher(f.in, f.out, {QStringLiteral("-j"), QStringLiteral("1")});
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
        Watcher next(f.in, f.out, {QStringLiteral("-j"), QStringLiteral("1")});
        EXPECT_EQ(next.pictures(6 - done).size(), 6 - done);
        EXPECT_EQ(next.stop().value(QStringLiteral("pictures")).toInt(), 6 - done);
    }
}

TEST(CliWatch, RefusesWhatHasNoEndOrIsNoFolder)
{
    Folders f;
    ASSERT_TRUE(writeFile(f.inFile(QStringLiteral("a.jpg")), jpegBytes(50, 50)));
    QProcess p;
    p.start(QStringLiteral(TUVO_CLI_PATH),
        {QStringLiteral("--watch"), QStringLiteral("--pdf"), QStringLiteral("-o"), f.out, f.in});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardError().contains("--pdf"));
    p.start(QStringLiteral(TUVO_CLI_PATH),
        {QStringLiteral("--watch"), QStringLiteral("-o"), f.out, f.inFile(QStringLiteral("a.jpg"))});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(QDir(f.out).isEmpty(QDir::Files | QDir::Hidden));
}
