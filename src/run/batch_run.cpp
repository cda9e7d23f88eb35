#include "run/batch_run.h"

#include "imaging/encoders.h"
#include "imaging/picture_limits.h"
#include "job/job_settings.h"
#include "render/pipeline.h"
#include "render/texts.h"
#include "run/output_plan.h"
#include "run/writers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Every picture allocates and frees buffers of a few MB, and a camera RAW's
// sensor data takes 40 MB in LibRaw. By default glibc maps and unmaps each of
// them, and the kernel zeroes fresh pages every time (a page fault each 4 KB);
// kept in the heap, the next picture reuses them. Peak memory stays the same,
// and what the run freed goes back when it ends.
void keepPictureBuffersInHeap()
{
#if defined(__GLIBC__)
    static std::once_flag once;
    std::call_once(once, [] {
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
        mallopt(M_TRIM_THRESHOLD, 64 << 20);
        // Beyond 32 MB glibc maps every block whatever the threshold; with no
        // mapping at all the RAW buffers stay in the heap too.
        mallopt(M_MMAP_MAX, 0);
    });
#endif
}

void givePictureBuffersBack()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

struct PictureOutcome {
    RenderResult render; // surface dropped once written, unless the host wants to show it
    WriteOutcome write;
    qint64 ms = 0;
    bool ready = false;
    bool neverStarted = false; // a stop came before the picture was begun
};

// Renders and writes pictures on worker threads, never more than `window` ahead of
// the consumer, so memory stays flat however long the list is.
class PicturePool {
public:
    PicturePool(const QStringList &pictures, const JobSettings &job, const OutputPlan &plan, int jobs)
        : pictures_(pictures)
        , job_(job)
        , plan_(plan)
        , protected_(protectedFilesFor(pictures))
        , outcomes_(size_t(pictures.size()))
        , window_(jobs)
    {
        for (int t = 0; t < jobs; ++t)
            threads_.emplace_back([this] { work(); });
    }

    ~PicturePool()
    {
        {
            std::lock_guard lock(mutex_);
            closing_ = true;
        }
        changed_.notify_all();
        for (auto &t : threads_)
            t.join();
    }

    // No picture is started after this; those in progress are finished.
    void stopStarting()
    {
        std::lock_guard lock(mutex_);
        noMoreStarts_ = true;
        changed_.notify_all();
    }

    int started() const
    {
        std::lock_guard lock(mutex_);
        return next_;
    }

    // Waits for picture i, letting the host run events meanwhile.
    PictureOutcome take(int i, const std::function<void()> &whileWaiting)
    {
        std::unique_lock lock(mutex_);
        while (!outcomes_[size_t(i)].ready) {
            if (noMoreStarts_ && i >= next_) {
                PictureOutcome skipped;
                skipped.neverStarted = true;
                return skipped;
            }
            changed_.wait_for(lock, std::chrono::milliseconds(20));
            if (!outcomes_[size_t(i)].ready && whileWaiting) {
                lock.unlock();
                whileWaiting();
                lock.lock();
            }
        }
        PictureOutcome out = std::move(outcomes_[size_t(i)]);
        outcomes_[size_t(i)] = PictureOutcome();
        return out;
    }

    // The consumer is through with picture i: a worker may start the next one.
    void release(int i)
    {
        std::lock_guard lock(mutex_);
        consumed_ = i + 1;
        changed_.notify_all();
    }

private:
    void work()
    {
        for (;;) {
            int i;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] {
                    return closing_ || noMoreStarts_ || next_ >= int(outcomes_.size())
                        || next_ < consumed_ + window_;
                });
                if (closing_ || noMoreStarts_ || next_ >= int(outcomes_.size()))
                    return;
                i = next_++;
            }
            PictureOutcome out = process(i);
            {
                std::lock_guard lock(mutex_);
                out.ready = true;
                outcomes_[size_t(i)] = std::move(out);
            }
            changed_.notify_all();
        }
    }

    PictureOutcome process(int i)
    {
        PictureOutcome out;
        const QString &path = pictures_[i];
        const auto started = std::chrono::steady_clock::now();
        const PictureMemoryScope memory; // what the picture took goes back once it is written
        try {
            out.render = funImgDone(job_, path);
            // A picture whose name a later one takes is still rendered, so its
            // errors are reported as in a one-at-a-time run, but not written.
            const PlannedOutput &planned = plan_.outputs[i];
            if (out.render.writable() && planned.write)
                out.write = writePlanned(job_, path, planned, out.render.surface, protected_);
            else if (out.render.writable())
                out.write.errorLine = planned.errorLine;
            // Under a memory limit a written picture may not wait in memory for its turn.
            if (pictureMemoryCounted())
                out.render.surface = QImage();
        } catch (const std::bad_alloc &) {
            out.render.errorLines << texts::drawError(path, QCoreApplication::translate("tuvo", "内存不足"));
        } catch (...) {
            out.render.errorLines << texts::drawError(
                path, QCoreApplication::translate("tuvo", "处理图片时发生意外错误"));
        }
        out.ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - started)
                     .count();
        return out;
    }

    const QStringList pictures_;
    const JobSettings job_;
    const OutputPlan &plan_;
    const ProtectedFiles protected_;
    std::vector<PictureOutcome> outcomes_;
    const int window_;
    std::vector<std::thread> threads_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int next_ = 0;
    int consumed_ = 0;
    bool noMoreStarts_ = false;
    bool closing_ = false;
};

// A name prefix must stay a part of one file name: "../x_" or "a/b_" would
// write outside the output folder.
bool isPlainNamePart(const QString &prefix)
{
    return !prefix.contains(QLatin1Char('/')) && !prefix.contains(QLatin1Char('\\'))
        && !prefix.contains(QChar(0));
}

bool hasNoServer(const JobSettings &job)
{
    return job.sFtpServer.isEmpty() || job.sFtpServer == QLatin1String("ftp://");
}

} // namespace

BatchRun::BatchRun(BatchHost &host, RunState &state)
    : host_(host)
    , state_(state)
    , jobs_(qMax(1, QThread::idealThreadCount()))
{
}

void BatchRun::setJobs(int jobs)
{
    jobs_ = qBound(1, jobs, 64);
}

void BatchRun::setPlacement(const ListPlacement &placement)
{
    placement_ = placement;
}

void BatchRun::setPublishSteps(const PublishSteps &steps)
{
    publish_ = steps;
}

StartCheck BatchRun::checkStart(const QStringList &pictures, const JobSettings &job)
{
    if (pictures.isEmpty())
        return StartCheck::EmptyList;
    const bool typedBox = job.iuSize == job.customSizeIndex() || job.iuSize == job.fitInsideIndex();
    if (typedBox && (job.iTargetW == 0 || job.iTargetH == 0))
        return StartCheck::ZeroSize;
    if (job.sOutDir.isEmpty())
        return StartCheck::NoOutputFolder;
    if (job.bUpload == 1 && hasNoServer(job))
        return StartCheck::NoNetworkSettings;
    if (job.bRename == 1 && !isPlainNamePart(job.sPrefix))
        return StartCheck::PrefixLeavesFolder;
    return StartCheck::Ok;
}

QString BatchRun::startCheckText(StartCheck check)
{
    switch (check) {
    case StartCheck::EmptyList:
        return texts::noPictures();
    case StartCheck::ZeroSize:
        return texts::zeroSize();
    case StartCheck::NoOutputFolder:
        return texts::noOutputFolder();
    case StartCheck::NoNetworkSettings:
        return texts::noNetworkSettings();
    case StartCheck::PrefixLeavesFolder:
        return texts::prefixLeavesFolder();
    case StartCheck::Ok:
        break;
    }
    return QString();
}

void BatchRun::RequestStop()
{
    // May come from another thread: the run itself records it in state_.
    stop_ = true;
    if (running_) {
        host_.setStartCaption(texts::startCaption());
        host_.setRunning(false);
    }
}

RunSummary BatchRun::StartRun(const QStringList &pictures, const JobSettings &job)
{
    RunSummary summary;
    summary.total = int(pictures.size());
    summary.check = checkStart(pictures, job);
    if (summary.check != StartCheck::Ok) {
        host_.showError(startCheckText(summary.check));
        host_.startCheckFailed(summary.check);
        return summary;
    }
    if (running_)
        return summary;

    if (pictures.size() > 100 || job.bUpload == 1) {
        if (host_.askYesNo(texts::minimiseQuestion()))
            host_.minimise();
    }

    keepPictureBuffersInHeap();
    // A stop asked for before the loop began holds: the window's stop command can
    // come before the run's thread gets here.
    running_ = true;
    state_.bStopRequest = false;
    state_.OutputFiles = QStringList(kListTableSize);
    const bool savedPreviewOff = state_.bPreviewOff;
    state_.bPreviewOff = false;
    host_.setRunning(true);
    host_.setPreviewChecked(true);
    host_.showWaitWindow(true);

    const int count = int(pictures.size());
    const OutputPlan plan = planOutputs(job, pictures, placement_);
    for (const QString &line : plan.warnings) {
        state_.appendWarning(line);
        summary.warnings << line;
        host_.showWarning(line);
    }
    const auto consume = [&](int i, PictureOutcome &out) {
        for (const QString &line : out.render.errorLines)
            state_.appendError(line);
        if (out.write.written) {
            ++summary.written;
            if (i < kListTableSize)
                state_.OutputFiles[i] = out.write.path;
            if (job.bUpload == 1 && publish_.uploadPicture) {
                const UploadOutcome up
                    = publish_.uploadPicture(job, out.write.path, QFileInfo(out.write.path).fileName());
                if (!up.errorLine.isEmpty())
                    state_.appendError(up.errorLine);
                if (!up.warning.isEmpty())
                    host_.showMessage(up.warning);
                if (!up.link.isEmpty()) {
                    ++summary.uploaded;
                    state_.UploadLinks << up.link;
                    state_.UploadPositions << i;
                }
            }
        } else if (!out.write.errorLine.isEmpty()) {
            state_.appendError(out.write.errorLine);
        }
        // A skipped picture, or a written one whose unreadable metadata was left out.
        if (!out.write.warning.isEmpty()) {
            state_.appendWarning(out.write.warning);
            summary.warnings << out.write.warning;
            host_.showWarning(out.write.warning);
        }
        ++summary.finished;
        summary.scaledToFit += out.write.scaled && out.write.written ? 1 : 0;
        summary.overLimit += out.write.overLimit ? 1 : 0;
        PictureReport report;
        report.position = placement_.positionOf(i);
        report.source = pictures[i];
        report.ms = out.ms;
        report.errorLines = out.render.errorLines;
        if (out.write.written) {
            report.output = out.write.path;
            report.size = out.write.size; // smaller than the surface when scaled to fit iMaxBytes
            report.bytes = out.write.bytes;
            report.quality = out.write.quality;
        } else if (!out.write.errorLine.isEmpty()) {
            report.errorLines << out.write.errorLine;
        }
        host_.pictureDone(report);
        host_.pictureFinished(i, out.render);
    };
    {
        PicturePool pool(pictures, job, plan, jobs_);
        const auto letEventsRun = [this, &pool] {
            host_.processEvents();
            if (stop_)
                pool.stopStarting();
        };
        int i = 0;
        for (; i < count; ++i) {
            host_.showStatus(texts::processing() + shownName(pictures[i]));
            host_.processEvents();
            if (stop_)
                state_.bStopRequest = true;
            if (state_.bStopRequest) {
                pool.stopStarting();
                break;
            }
            PictureOutcome out = pool.take(i, letEventsRun);
            if (out.neverStarted)
                break;
            consume(i, out);
            host_.processEvents();
            if (stop_)
                pool.stopStarting();
            pool.release(i);
            if (!stop_)
                host_.setStartCaption(texts::progress(i + 1, count));
        }
        if (i < count) {
            summary.stopped = true;
            state_.bStopRequest = false;
            // Pictures already in progress were finished and written: record them too.
            const int started = pool.started();
            for (int j = i; j < started; ++j) {
                PictureOutcome out = pool.take(j, [this] { host_.processEvents(); });
                if (!out.neverStarted)
                    consume(j, out);
            }
        }
    }

    afterRun(job, summary);
    state_.bPreviewOff = savedPreviewOff;
    host_.showStatus(summary.finalStatus);
    state_.reset();
    host_.setStartCaption(texts::startCaption());
    host_.setRunning(false);
    running_ = false;
    stop_ = false;
    givePictureBuffersBack();
    return summary;
}

void BatchRun::afterRun(const JobSettings &job, RunSummary &summary)
{
    if (job.bMakePDF == 1 && publish_.makePdf) {
        QString message;
        for (const QString &line : publish_.makePdf(job, state_.OutputFiles, &message))
            state_.appendError(line);
        if (!message.isEmpty())
            host_.showMessage(message);
    }
    if (job.bUpload == 1) {
        if (publish_.createLinkPage) {
            // The link page shows each picture's caption under its own link, also when
            // pictures before it failed and left no link.
            JobSettings linkJob = job;
            linkJob.PicCaptions.clear();
            for (int position : state_.UploadPositions)
                linkJob.PicCaptions << job.PicCaptions.value(position);
            for (const QString &line : publish_.createLinkPage(linkJob, state_.UploadLinks))
                state_.appendError(line);
        }
        if (job.bAutoODir == 1)
            host_.openFolder(job.sOutDir);
        if (job.bAutoURL == 1)
            host_.openFile(QDir(job.sOutDir).filePath(texts::linkPageName()));
        summary.finalStatus = summary.uploaded == summary.total
            ? texts::doneUploaded()
            : texts::doneUploadedPartly(summary.uploaded, summary.total);
    } else {
        if (job.bAutoODir == 1)
            host_.openFolder(job.sOutDir);
        summary.finalStatus = texts::done();
    }
    if (summary.scaledToFit > 0 || summary.overLimit > 0)
        summary.finalStatus += texts::fileSizeCounts(summary.scaledToFit, summary.overLimit);
    if (host_.isMinimised())
        host_.maximise();

    summary.hadError = state_.bHadError;
    summary.errorReport = state_.sErrorText;
    if (state_.bHadError && job.bSaveErr == 1) {
        const QString logPath = QDir(job.sOutDir).filePath(texts::errorLogName());
        QString error;
        if (writeFileAtomically(logPath, (state_.sErrorText + QStringLiteral("\r\n")).toUtf8(), &error)) {
            summary.errorLogPath = logPath;
            if (host_.askYesNo(texts::errorLogQuestion(logPath)))
                host_.openTextFile(logPath);
        } else {
            host_.showMessage(QCoreApplication::translate("tuvo", "无法写入错误记录") + logPath
                + QStringLiteral(":") + error);
        }
        summary.finalStatus += texts::errorNotice();
    }
    host_.showWaitWindow(false);
}
