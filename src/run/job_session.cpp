#include "run/job_session.h"

#include "imaging/picture_files.h"
#include "run/file_list.h"
#include "run/relayed_host.h"

#include <QDir>

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
    runState_ = std::make_unique<RunState>();
    relay_ = std::make_unique<RelayedHost>(this, host_, abandoned_);
    run_ = std::make_unique<BatchRun>(*relay_, *runState_);
    if (runJobs_ > 0)
        run_->setJobs(runJobs_);
    if (publishFactory_)
        run_->setPublishSteps(publishFactory_(run_->stopFlag()));
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
    // The session waits for the scan when it goes, so the thread may use it to the end.
    scanThread_ = std::thread([this, folder, withSubFolders] {
        const QStringList pictures = scanPictureFolder(folder, withSubFolders, [this](int n) {
            if (!*abandoned_)
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
