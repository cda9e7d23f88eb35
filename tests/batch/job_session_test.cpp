#include "run/file_list.h"
#include "run/job_session.h"

#include <QDir>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// Records what the run said, and on which thread it was told.
class SessionHost : public BatchHost {
public:
    QStringList statuses, opened, questions;
    QList<int> finished;
    bool offThread = false; // something reached the host away from the session's thread

    void showStatus(const QString &t) override { note(statuses, t); }
    void setStartCaption(const QString &) override { check(); }
    void setRunning(bool) override { check(); }
    void showError(const QString &) override { check(); }
    bool askYesNo(const QString &t) override
    {
        note(questions, t);
        return false;
    }
    void openFolder(const QString &f) override { note(opened, f); }
    void pictureFinished(int i, const RenderResult &) override
    {
        check();
        finished << i;
    }

private:
    void check() { offThread |= QThread::currentThread() != qApp->thread(); }
    void note(QStringList &list, const QString &text)
    {
        check();
        list << text;
    }
};

struct SessionFixture {
    QTemporaryDir dir;
    JobSession session;
    SessionHost host;

    SessionFixture() { session.setHost(&host); }
    QString folder(const QString &name) const
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(path);
        return path;
    }
    QStringList pictures(const QString &in, int n) const
    {
        QStringList paths;
        QImage img(320, 240, QImage::Format_RGB32);
        img.fill(qRgb(30, 120, 200));
        for (int i = 0; i < n; ++i) {
            paths << QDir(in).filePath(QStringLiteral("p%1.png").arg(i));
            img.save(paths.last());
        }
        return paths;
    }
    static QStringList written(const QString &out) { return QDir(out).entryList(QDir::Files); }
};

} // namespace

// A run works on the job and the list as they were when it started, after-run
// steps included; what is edited meanwhile applies to the next run.
TEST(JobSession, RunKeepsTheJobAndListItStartedWith)
{
    SessionFixture fx;
    const QString outA = fx.folder(QStringLiteral("a")), outB = fx.folder(QStringLiteral("b"));
    for (const QString &p : fx.pictures(fx.folder(QStringLiteral("in")), 4))
        fx.session.files().append(p);
    fx.session.job().sOutDir = outA;
    fx.session.job().bAutoODir = 1;
    fx.session.job().sFormat = QStringLiteral("jpg");

    QSignalSpy finished(&fx.session, &JobSession::runFinished);
    ASSERT_EQ(fx.session.startRun(), StartCheck::Ok);
    EXPECT_TRUE(fx.session.isRunning());
    // Edits while it runs: another folder, another format, an emptied list.
    fx.session.job().sOutDir = outB;
    fx.session.job().sFormat = QStringLiteral("png");
    fx.session.files().clear();
    ASSERT_TRUE(finished.wait(60000));

    const auto summary = finished.first().first().value<RunSummary>();
    EXPECT_EQ(summary.written, 4);
    EXPECT_EQ(SessionFixture::written(outA).size(), 4);
    EXPECT_TRUE(SessionFixture::written(outA).first().endsWith(QStringLiteral(".jpg")));
    EXPECT_TRUE(SessionFixture::written(outB).isEmpty());
    EXPECT_EQ(fx.host.opened, QStringList {outA}); // the folder the run wrote to is opened
    EXPECT_FALSE(fx.session.isRunning());

    // The next run takes the edits: its empty list is refused before anything starts.
    EXPECT_EQ(fx.session.startRun(), StartCheck::EmptyList);
    EXPECT_FALSE(fx.session.isRunning());
}

// The run, its questions and the folder scan go on beside the session's thread and
// report to it in order; a stop is taken while pictures are being processed.
TEST(JobSession, ReportsOnItsOwnThreadAndTakesAStop)
{
    SessionFixture fx;
    const QString in = fx.folder(QStringLiteral("in"));
    fx.pictures(in, 3);
    fx.pictures(fx.folder(QStringLiteral("in/sub")), 2);

    QSignalSpy scanned(&fx.session, &JobSession::scanFinished);
    ASSERT_TRUE(fx.session.scanFolder(in, true));
    EXPECT_FALSE(fx.session.scanFolder(in, true)); // one scan at a time
    ASSERT_TRUE(scanned.wait(30000));
    EXPECT_EQ(scanned.first().first().toInt(), 5);
    EXPECT_EQ(fx.session.files().count(), 5);

    // 120 entries ask the minimise question; the stop comes with the first picture.
    const QString out = fx.folder(QStringLiteral("out"));
    const QStringList five = fx.session.files().paths();
    for (int i = 0; i < 115; ++i)
        fx.session.files().append(five[i % 5]);
    fx.session.job().sOutDir = out;
    fx.session.job().bAutoODir = 0;
    fx.session.setRunJobs(1);
    QSignalSpy finished(&fx.session, &JobSession::runFinished);
    QObject::connect(&fx.session, &JobSession::runStarted, &fx.session, [&] { fx.session.stopRun(); });
    ASSERT_EQ(fx.session.startRun(), StartCheck::Ok);
    ASSERT_TRUE(finished.wait(60000));

    const auto summary = finished.first().first().value<RunSummary>();
    EXPECT_TRUE(summary.stopped);
    EXPECT_LT(summary.finished, 120);
    EXPECT_EQ(fx.host.questions.size(), 1);
    EXPECT_FALSE(fx.host.offThread);
    EXPECT_EQ(fx.host.statuses.last(), summary.finalStatus);
}
