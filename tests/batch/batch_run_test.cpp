#include "imaging/picture_limits.h"
#include "render/pipeline.h"
#include "render/pipeline_steps.h"
#include "run/batch_run.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RecordingHost : public BatchHost {
public:
    QStringList statuses, captions, errors, questions, opened, messages;
    QList<int> finished;
    std::function<void(int)> onFinished;
    bool answer = false;
    StartCheck failedCheck = StartCheck::Ok;

    void showStatus(const QString &t) override { statuses << t; }
    void setStartCaption(const QString &c) override { captions << c; }
    void setRunning(bool) override { }
    void showError(const QString &t) override { errors << t; }
    bool askYesNo(const QString &t) override
    {
        questions << t;
        return answer;
    }
    void startCheckFailed(StartCheck c) override { failedCheck = c; }
    void openFolder(const QString &f) override { opened << f; }
    void openTextFile(const QString &f) override { opened << f; }
    void showMessage(const QString &t) override { messages << t; }
    void pictureFinished(int i, const RenderResult &) override
    {
        finished << i;
        if (onFinished)
            onFinished(i);
    }
};

struct Fixture {
    QTemporaryDir dir;
    QString in, out;
    Fixture()
    {
        in = dir.filePath(QStringLiteral("in"));
        out = dir.filePath(QStringLiteral("out"));
        QDir().mkpath(in);
        QDir().mkpath(out);
    }
    QString photo(const QString &name, int w = 160, int h = 120)
    {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(qRgb(200, 100, 50));
        const QString p = QDir(in).filePath(name);
        img.save(p);
        return p;
    }
    QString junk(const QString &name, const QByteArray &bytes)
    {
        const QString p = QDir(in).filePath(name);
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return p;
    }
    JobSettings job() const
    {
        JobSettings j;
        j.sOutDir = out;
        j.bAutoODir = 0;
        return j;
    }
};

} // namespace

TEST(BatchRun, StartChecksInOrder)
{
    RecordingHost host;
    RunState state;
    BatchRun run(host, state);
    Fixture fx;
    JobSettings job = fx.job();

    EXPECT_EQ(run.StartRun({}, job).check, StartCheck::EmptyList);
    EXPECT_EQ(host.errors.last(), QStringLiteral("没有添加要处理的图片！"));
    EXPECT_EQ(host.failedCheck, StartCheck::EmptyList);

    const QStringList one = {fx.photo(QStringLiteral("a.png"))};
    chooseSizeMode(job, job.customSizeIndex());
    job.iTargetW = 0;
    EXPECT_EQ(run.StartRun(one, job).check, StartCheck::ZeroSize);
    EXPECT_EQ(host.errors.last(), QStringLiteral("图片尺寸不能为0！"));

    // Height 0 is fine for the limit-width mode.
    job = fx.job();
    job.sOutDir.clear();
    EXPECT_EQ(run.StartRun(one, job).check, StartCheck::NoOutputFolder);
    EXPECT_EQ(host.errors.last(), QStringLiteral("请设置图片输出文件夹！"));

    job = fx.job();
    job.bUpload = 1;
    EXPECT_EQ(run.StartRun(one, job).check, StartCheck::NoNetworkSettings);
    EXPECT_EQ(host.errors.last(), QStringLiteral("网络参数还没设置或设置错误！"));
    EXPECT_TRUE(QDir(fx.out).isEmpty());
}

TEST(BatchRun, BadPicturesBecomeErrorLinesInListOrder)
{
    Fixture fx;
    const QStringList list = {fx.photo(QStringLiteral("1.png")),
        fx.junk(QStringLiteral("2.jpg"), "not a jpeg"), fx.photo(QStringLiteral("3.png")),
        fx.junk(QStringLiteral("4.png"), QByteArray()), fx.photo(QStringLiteral("5.png"))};
    RecordingHost host;
    RunState state;
    BatchRun run(host, state);
    run.setJobs(2);
    JobSettings job = fx.job();
    job.bSaveErr = 1;
    const RunSummary s = run.StartRun(list, job);

    EXPECT_EQ(s.written, 3);
    EXPECT_TRUE(s.hadError);
    const QStringList lines = s.errorReport.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("在本次操作过程中产生下列错误,敬请检查相关图片:"));
    EXPECT_TRUE(lines[1].startsWith(list[1] + QStringLiteral("在显示图片时发生错误:(0)")));
    EXPECT_TRUE(lines[2].startsWith(list[3] + QStringLiteral("在显示图片时发生错误:(0)")));
    EXPECT_TRUE(QFile::exists(QDir(fx.out).filePath(QStringLiteral("5.jpg"))));
    EXPECT_FALSE(QFile::exists(QDir(fx.out).filePath(QStringLiteral("2.jpg"))));

    // ErrorLog.txt: the report plus CR LF, then the question.
    QFile log(QDir(fx.out).filePath(QStringLiteral("ErrorLog.txt")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(log.readAll()), s.errorReport + QStringLiteral("\r\n"));
    ASSERT_EQ(host.questions.size(), 1);
    EXPECT_TRUE(host.questions[0].startsWith(QStringLiteral("在处理过程中发生错误,这些错误已经保存到")));
    EXPECT_TRUE(s.finalStatus.endsWith(QStringLiteral("请注意,在图片处理或上传过程中发生错误。")));
    EXPECT_EQ(
        host.captions.mid(0, 5), (QStringList {"进度:1/5", "进度:2/5", "进度:3/5", "进度:4/5", "进度:5/5"}));
    EXPECT_EQ(host.captions.last(), QStringLiteral("开始处理"));
    EXPECT_EQ(host.finished, (QList<int> {0, 1, 2, 3, 4}));

    // The state is reset: a second run's report holds only its own errors.
    EXPECT_EQ(state.sErrorText, RunState::errorReportHeader());
    EXPECT_FALSE(state.bHadError);
    const RunSummary again = run.StartRun({list[3]}, job);
    EXPECT_EQ(again.errorReport.count(QStringLiteral("\r\n")), 2);
}

TEST(BatchRun, WithoutSaveErrTheRunEndsWithTheSuccessText)
{
    Fixture fx;
    RecordingHost host;
    RunState state;
    BatchRun run(host, state);
    const RunSummary s = run.StartRun({fx.junk(QStringLiteral("x.png"), "x")}, fx.job());
    EXPECT_TRUE(s.hadError);
    EXPECT_EQ(s.finalStatus, QStringLiteral("【提示】处理完毕！图片已保存到输出文件夹。"));
    EXPECT_FALSE(QFile::exists(QDir(fx.out).filePath(QStringLiteral("ErrorLog.txt"))));
}

TEST(BatchRun, StopFinishesThePictureInProgressAndNoMore)
{
    Fixture fx;
    QStringList list;
    for (int i = 0; i < 10; ++i)
        list << fx.photo(QStringLiteral("p%1.png").arg(i));
    RecordingHost host;
    RunState state;
    BatchRun run(host, state);
    run.setJobs(1);
    host.onFinished = [&](int i) {
        if (i == 4)
            run.RequestStop();
    };
    JobSettings job = fx.job();
    const RunSummary s = run.StartRun(list, job);
    EXPECT_TRUE(s.stopped);
    EXPECT_EQ(s.written, 5);
    EXPECT_EQ(QDir(fx.out).entryList(QDir::Files).size(), 5);
    EXPECT_EQ(host.captions.last(), QStringLiteral("开始处理"));
    EXPECT_FALSE(run.isRunning());
    EXPECT_FALSE(state.bStopRequest);

    // With two workers a stop still records every picture that was written.
    BatchRun parallel(host, state);
    parallel.setJobs(2);
    host.onFinished = [&](int i) {
        if (i == 2)
            parallel.RequestStop();
    };
    QDir(fx.out).removeRecursively();
    QDir().mkpath(fx.out);
    const RunSummary p = parallel.StartRun(list, job);
    EXPECT_TRUE(p.stopped);
    EXPECT_EQ(p.written, QDir(fx.out).entryList(QDir::Files).size());
    EXPECT_LT(p.written, 10);
}

TEST(BatchRun, MinimiseQuestionAbove100Entries)
{
    Fixture fx;
    const QString pic = fx.photo(QStringLiteral("a.png"), 8, 8);
    RecordingHost host;
    RunState state;
    BatchRun run(host, state);
    JobSettings job = fx.job();
    run.StartRun(QStringList(100, pic), job);
    EXPECT_TRUE(host.questions.isEmpty());
    run.StartRun(QStringList(101, pic), job);
    ASSERT_EQ(host.questions.size(), 1);
    EXPECT_TRUE(host.questions[0].endsWith(QStringLiteral("确认最小化吗？")));
}

TEST(BatchRun, ParallelRunWritesTheSameBytesAsSequential)
{
    Fixture fx;
    QStringList list;
    for (int i = 0; i < 6; ++i) {
        QImage img(300 + i * 10, 200, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                img.setPixel(x, y, qRgb(x % 256, (y * 3) % 256, (x * y) % 256));
        const QString p = QDir(fx.in).filePath(QStringLiteral("s%1.jpg").arg(i));
        img.save(p, "JPG", 95);
        list << p;
    }
    const auto runWith = [&](int jobs, const QString &out) {
        QDir().mkpath(out);
        RecordingHost host;
        RunState state;
        BatchRun run(host, state);
        run.setJobs(jobs);
        JobSettings job = fx.job();
        job.sOutDir = out;
        job.iTargetW = 150;
        run.StartRun(list, job);
        QList<QByteArray> files;
        for (const QString &name : QDir(out).entryList(QDir::Files, QDir::Name)) {
            QFile f(QDir(out).filePath(name));
            f.open(QIODevice::ReadOnly);
            files << f.readAll();
        }
        return files;
    };
    const auto one = runWith(1, fx.dir.filePath(QStringLiteral("seq")));
    const auto two = runWith(2, fx.dir.filePath(QStringLiteral("par")));
    ASSERT_EQ(one.size(), 6);
    EXPECT_EQ(one, two);
}

TEST(Pipeline, DownscaleAveragesFineDetail)
{
    // One-pixel black and white stripes must become grey, not stripes or a flat colour.
    QTemporaryDir dir;
    QImage stripes(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < 1200; ++y)
        for (int x = 0; x < 1600; ++x)
            stripes.setPixel(x, y, (x % 2) ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QString path = dir.filePath(QStringLiteral("stripes.png"));
    ASSERT_TRUE(stripes.save(path));
    JobSettings job;
    job.iTargetW = 333;
    const RenderResult r = funImgDone(job, path);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.surface.size(), QSize(333, 250));
    int lo = 255, hi = 0;
    for (int x = 10; x < 320; ++x) {
        const int g = qGreen(r.surface.pixel(x, 100));
        lo = qMin(lo, g);
        hi = qMax(hi, g);
    }
    EXPECT_GT(lo, 90);
    EXPECT_LT(hi, 165);
}

TEST(Pipeline, ExtendedCanvasIsWhiteAndMatrixApplies)
{
    QTemporaryDir dir;
    QImage red(100, 100, QImage::Format_RGB32);
    red.fill(qRgb(200, 40, 40));
    const QString path = dir.filePath(QStringLiteral("red.png"));
    ASSERT_TRUE(red.save(path));
    JobSettings job;
    chooseSizeMode(job, job.customSizeIndex());
    job.iTargetW = 200;
    job.iTargetH = 100;
    job.bPicJQ = 0;
    job.sngColorMatrix[0][0] = 0.5f; // halve red
    const RenderResult r = funImgDone(job, path);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.surface.pixel(10, 50), qRgb(255, 255, 255));
    EXPECT_EQ(r.surface.pixel(100, 50), qRgb(100, 40, 40));
    EXPECT_EQ(r.surface.pixel(190, 50), qRgb(255, 255, 255));
}

TEST(BatchRun, LinkPageCaptionsFollowTheirPictures)
{
    Fixture fx;
    const QStringList list = {fx.junk(QStringLiteral("broken.png"), "x"), fx.photo(QStringLiteral("b.png")),
        fx.photo(QStringLiteral("c.png"))};
    RecordingHost host;
    RunState state;
    BatchRun run(host, state);
    PublishSteps steps;
    steps.uploadPicture = [](const JobSettings &, const QString &, const QString &name) {
        return UploadOutcome {QStringLiteral("http://w/") + name, QString()};
    };
    QStringList seenLinks, seenCaptions;
    steps.createLinkPage = [&](const JobSettings &job, const QStringList &links) {
        seenLinks = links;
        seenCaptions = job.PicCaptions;
        return QStringList();
    };
    run.setPublishSteps(steps);
    JobSettings job = fx.job();
    job.bUpload = 1;
    job.bAutoURL = 0;
    job.sFtpServer = QStringLiteral("example.org");
    job.PicCaptions = {QStringLiteral("坏图"), QStringLiteral("第二张"), QStringLiteral("第三张")};
    run.StartRun(list, job);
    EXPECT_EQ(seenLinks, (QStringList {"http://w/b.jpg", "http://w/c.jpg"}));
    EXPECT_EQ(seenCaptions, (QStringList {"第二张", "第三张"}));
}

TEST(Pipeline, VeryThinPicturesKeepOneRowOrColumn)
{
    Fixture fx;
    JobSettings job = fx.job();
    const std::pair<QSize, QSize> cases[]
        = {{QSize(3000, 1), QSize(800, 1)}, {QSize(20000, 10), QSize(800, 1)}};
    for (const auto &[picture, output] : cases) {
        const QString path
            = fx.photo(QStringLiteral("thin%1.png").arg(picture.width()), picture.width(), picture.height());
        const RenderResult r = funImgDone(job, path);
        ASSERT_TRUE(r.ok()) << r.errorLines.join(QString()).toStdString();
        EXPECT_EQ(r.surface.size(), output);
        EXPECT_EQ(r.surface.pixel(400, 0), qRgb(200, 100, 50)); // drawn, not a white band
    }
    // A custom canvas extended around a thin picture keeps a one-pixel band of it.
    chooseSizeMode(job, job.customSizeIndex());
    job.iTargetW = 800;
    job.iTargetH = 600;
    job.bPicJQ = 0;
    const RenderResult r = funImgDone(job, fx.photo(QStringLiteral("line.png"), 3000, 1));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.surface.pixel(400, 300), qRgb(200, 100, 50));
}

TEST(BatchRun, AStepThatFailsIsAnErrorLineAndThePictureIsNotWritten)
{
    Fixture fx;
    JobSettings job = fx.job();
    job.sFrameFile = fx.junk(QStringLiteral("frame.png"), "not a png");
    RecordingHost host;
    RunState state;
    BatchRun run(host, state);
    const QString photo = fx.photo(QStringLiteral("a.png"));
    const RunSummary s = run.StartRun({photo}, job);
    EXPECT_EQ(s.written, 0);
    EXPECT_TRUE(s.errorReport.contains(photo + QStringLiteral("在显示图片时发生错误:(0)无法加载边框图片")));
    EXPECT_FALSE(QFile::exists(QDir(fx.out).filePath(QStringLiteral("a.jpg"))));

    // Rotation and effect work buffers that cannot be had are failures, not no-ops.
    const qint64 limit = pictureMemoryLimit();
    setPictureMemoryLimit(1000);
    QImage surface(100, 100, QImage::Format_RGB32);
    surface.fill(Qt::red);
    const QImage before = surface;
    JobSettings turn;
    turn.iRotateMode = kRotateClockwise;
    turn.iEffect = 9;
    QString error;
    EXPECT_FALSE(rotationStep(turn, surface, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("旋转")));
    EXPECT_FALSE(effectStep(turn, surface, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("特效")));
    EXPECT_EQ(surface, before);
    setPictureMemoryLimit(limit);
}
