#include "run/job_session.h"

#include "imaging/picture_files.h"
#include "run/file_list.h"

#include <QDir>

#include <chrono>
#include <future>

namespace {

// The run's host on the run's own thread: everything it says is handed to the
// session's host on the session's thread, in order. A question waits for its
// answer there; once the session is going away it is answered "no".
class RelayedHost : public BatchHost {
public:
    RelayedHost(QObject *context, BatchHost *target, std::shared_ptr<std::atomic<bool>> abandoned)
        : context_(context)
        , target_(target)
        , abandoned_(std::move(abandoned))
    {
    }

    void showStatus(const QString &text) override
    {
        post([text](BatchHost &h) { h.showStatus(text); });
    }
    void setStartCaption(const QString &caption) override
    {
        post([caption](BatchHost &h) { h.setStartCaption(caption); });
    }
    void setRunning(bool running) override
    {
        post([running](BatchHost &h) { h.setRunning(running); });
    }
    void showError(const QString &text) override
    {
        post([text](BatchHost &h) { h.showError(text); });
    }
    bool askYesNo(const QString &text) override
    {
        return ask([text](BatchHost &h) { return h.askYesNo(text); });
    }
    void minimise() override
    {
        post([](BatchHost &h) { h.minimise(); });
    }
    bool isMinimised() const override
    {
        return ask([](BatchHost &h) { return h.isMinimised(); });
    }
    void maximise() override
    {
        post([](BatchHost &h) { h.maximise(); });
    }
    void showWaitWindow(bool shown) override
    {
        post([shown](BatchHost &h) { h.showWaitWindow(shown); });
    }
    void setPreviewChecked(bool checked) override
    {
        post([checked](BatchHost &h) { h.setPreviewChecked(checked); });
    }
    void openFolder(const QString &path) override
    {
        post([path](BatchHost &h) { h.openFolder(path); });
    }
    void openFile(const QString &path) override
    {
        post([path](BatchHost &h) { h.openFile(path); });
    }
    void openTextFile(const QString &path) override
    {
        post([path](BatchHost &h) { h.openTextFile(path); });
    }
    void showMessage(const QString &text) override
    {
        post([text](BatchHost &h) { h.showMessage(text); });
    }
    void showWarning(const QString &text) override
    {
        post([text](BatchHost &h) { h.showWarning(text); });
    }
    void pictureFinished(int position, const RenderResult &result) override
    {
        post([position, result](BatchHost &h) { h.pictureFinished(position, result); });
    }
    void pictureDone(const PictureReport &report) override
    {
        post([report](BatchHost &h) { h.pictureDone(report); });
    }

private:
    template<typename Call> void post(Call call) const
    {
        if (!target_)
            return;
        QMetaObject::invokeMethod(
            context_, [target = target_, call] { call(*target); }, Qt::QueuedConnection);
    }

    template<typename Call> bool ask(Call call) const
    {
        if (!target_)
            return false;
        auto answer = std::make_shared<std::promise<bool>>();
        std::future<bool> future = answer->get_future();
        QMetaObject::invokeMethod(
            context_, [target = target_, call, answer] { answer->set_value(call(*target)); },
            Qt::QueuedConnection);
        while (future.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
            if (*abandoned_)
                return false;
        }
        return future.get();
    }

    QObject *context_;
    BatchHost *target_;
    std::shared_ptr<std::atomic<bool>> abandoned_;
};

} // namespace

JobSession::JobSession(QObject *parent)
    : QObject(parent)
    , files_(new FileList(this))
    , abandoned_(std::make_shared<std::atomic<bool>>(false))
{
}

JobSession::~JobSession()
{
    // Nothing answers the run's questions any more; pictures in progress are finished.
    *abandoned_ = true;
    stopRun();
    if (runThread_.joinable())
        runThread_.join();
    if (scanThread_.joinable())
        scanThread_.join();
}

StartCheck JobSession::startRun()
{
    if (running_)
        return StartCheck::Ok;
    JobSettings snapshot = job_;
    snapshot.PicCaptions = files_->captions();
    const QStringList pictures = files_->paths();
    const StartCheck check = BatchRun::checkStart(pictures, snapshot);
    if (check != StartCheck::Ok) {
        if (host_) {
            host_->showError(BatchRun::startCheckText(check));
            host_->startCheckFailed(check);
        }
        return check;
    }

    running_ = true;
    stopRequested_ = false;
    runState_ = std::make_unique<RunState>();
    relay_ = std::make_unique<RelayedHost>(this, host_, abandoned_);
    run_ = std::make_unique<BatchRun>(*relay_, *runState_);
    if (runJobs_ > 0)
        run_->setJobs(runJobs_);
    if (publishFactory_)
        run_->setPublishSteps(publishFactory_(&stopRequested_));
    emit runStarted();
    runThread_ = std::thread([this, pictures, snapshot = std::move(snapshot)] {
        const RunSummary summary = run_->StartRun(pictures, snapshot);
        QMetaObject::invokeMethod(
            this, [this, summary] { finishRun(summary); }, Qt::QueuedConnection);
    });
    return StartCheck::Ok;
}

void JobSession::stopRun()
{
    if (!running_)
        return;
    stopRequested_ = true;
    run_->RequestStop();
}

void JobSession::finishRun(const RunSummary &summary)
{
    if (runThread_.joinable())
        runThread_.join(); // it has nothing left to do but end
    run_.reset();
    relay_.reset();
    runState_.reset();
    running_ = false;
    emit runFinished(summary);
}

bool JobSession::scanFolder(const QString &folder, bool withSubFolders)
{
    if (scanning_)
        return false;
    scanning_ = true;
    auto abandoned = abandoned_;
    scanThread_ = std::thread([this, folder, withSubFolders, abandoned] {
        const QStringList pictures = scanPictureFolder(folder, withSubFolders, [this, abandoned](int n) {
            if (!*abandoned)
                QMetaObject::invokeMethod(
                    this, [this, n] { emit scanProgress(n); }, Qt::QueuedConnection);
        });
        QMetaObject::invokeMethod(
            this, [this, pictures] { finishScan(pictures); }, Qt::QueuedConnection);
    });
    return true;
}

void JobSession::finishScan(const QStringList &pictures)
{
    if (scanThread_.joinable())
        scanThread_.join();
    int added = 0;
    for (const QString &p : pictures)
        added += files_->appendUnique(QDir::toNativeSeparators(p)) ? 1 : 0;
    scanning_ = false;
    emit scanFinished(added);
}
