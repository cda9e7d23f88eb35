#include "run/watch_run.h"

#include "fs/file_names.h"
#include "imaging/picture_files.h"
#include "run/output_plan.h"
#include "run/relayed_host.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

WatchRun::WatchRun(BatchHost &host, std::function<JobSettings()> job, QObject *parent)
    : QObject(parent)
    , abandoned_(std::make_shared<std::atomic<bool>>(false))
    , relay_(std::make_unique<RelayedHost>(this, &host, abandoned_))
    , job_(std::move(job))
    , run_(*relay_, state_)
{
    connect(&watch_, &FolderWatch::pictureArrived, this, &WatchRun::enqueue);
}

WatchRun::~WatchRun()
{
    // Nothing answers the run any more; the picture in progress is finished.
    *abandoned_ = true;
    run_.RequestStop();
    if (thread_.joinable())
        thread_.join();
}

void WatchRun::setPublishSteps(const PublishSteps &publish)
{
    PublishSteps steps = publish;
    steps.makePdf = nullptr; // a watch has no last picture to end a PDF with
    if (publish.uploadPicture)
        steps.uploadPicture = [this, upload = publish.uploadPicture](
                                  const JobSettings &job, const QString &local, const QString &name) {
            UploadOutcome up = upload(job, local, name);
            if (!up.link.isEmpty())
                links_ << up.link;
            return up;
        };
    // The run's own links go to the upload record; the page is then written again
    // with every link of the watch.
    if (publish.createLinkPage && publish.writeLinkPage)
        steps.createLinkPage = [this, publish](const JobSettings &job, const QStringList &runLinks) {
            JobSettings all = job;
            all.PicCaptions.clear();
            QStringList errors = publish.createLinkPage(all, runLinks);
            return errors + publish.writeLinkPage(all, links_);
        };
    run_.setPublishSteps(steps);
}

bool WatchRun::start(const QStringList &folders, bool recursive, QString *error)
{
    const JobSettings job = job_();
    record_ = std::make_unique<WatchRecord>(job.sOutDir, WatchRecord::jobFingerprint(job));
    if (!record_->load(error))
        return false;
    // The watch begins before the folders are read, so nothing that arrives
    // meanwhile is missed; a picture both read and reported is taken once.
    if (!watch_.start(folders, recursive, job.sOutDir, error))
        return false;
    folders_ = folders;
    watching_ = true;
    stopping_ = false;
    QStringList existing;
    for (const QString &folder : folders)
        for (const QString &picture : scanPictureFolder(folder, recursive))
            if (!watch_.passesOver(folder, picture))
                existing << picture;
    const OutputPlan plan = record_->existed() ? OutputPlan() : planOutputs(job, existing);
    for (int i = 0; i < existing.size(); ++i) {
        if (!record_->existed() && pathExists(plan.outputs[i].path))
            continue;
        enqueue(existing[i]);
    }
    return true;
}

void WatchRun::stop()
{
    if (!watching_)
        return;
    watch_.stop();
    stopping_ = true;
    if (running_) {
        run_.RequestStop();
        return;
    }
    watching_ = false;
    emit stopped();
}

// Queued pictures are taken once control is back in the event loop, so a burst
// of arrivals goes into one run.
void WatchRun::enqueue(const QString &picture)
{
    if (stopping_)
        return;
    if (!queued_.contains(picture)) {
        queued_.insert(picture);
        queue_ << picture;
    }
    if (!running_ && !scheduled_) {
        scheduled_ = true;
        QTimer::singleShot(0, this, [this] {
            scheduled_ = false;
            processQueue();
        });
    }
}

QString WatchRun::subFolderOf(const QString &picture) const
{
    const QString folder = QFileInfo(picture).path();
    for (const QString &root : folders_) {
        if (folder.startsWith(root + QLatin1Char('/')))
            return folder.mid(root.size() + 1);
    }
    return QString();
}

void WatchRun::processQueue()
{
    if (running_ || !watching_)
        return;
    Batch batch;
    JobSettings job;
    while (batch.pictures.isEmpty() && !queue_.isEmpty() && !stopping_) {
        job = job_();
        while (!queue_.isEmpty() && (perRun_ <= 0 || batch.pictures.size() < perRun_)) {
            const QString picture = queue_.takeFirst();
            queued_.remove(picture);
            qint64 size = 0, mtime = 0;
            if (WatchRecord::stamp(picture, &size, &mtime) && !record_->isDone(picture, size, mtime)) {
                batch.pictures << picture;
                batch.stamps << std::pair {size, mtime};
            }
        }
    }
    if (batch.pictures.isEmpty()) {
        if (stopping_)
            finishStopping();
        return;
    }
    record_->setFingerprint(WatchRecord::jobFingerprint(job));
    ListPlacement placement;
    placement.firstNumber = firstNumber_;
    for (int i = 0; i < batch.pictures.size(); ++i) {
        placement.positions << record_->nextNumber() + i;
        if (keepTree_)
            placement.subFolders << subFolderOf(batch.pictures[i]);
    }
    run_.setPlacement(placement);
    running_ = true;
    if (thread_.joinable())
        thread_.join();
    thread_ = std::thread([this, batch, job] {
        const RunSummary summary = run_.StartRun(batch.pictures, job);
        QMetaObject::invokeMethod(
            this, [this, batch, summary] { runEnded(batch, summary); }, Qt::QueuedConnection);
    });
}

void WatchRun::runEnded(const Batch &batch, const RunSummary &summary)
{
    thread_.join(); // it has nothing left to do but end
    // Pictures are finished in list order, also when a stop cut the run short.
    for (int i = 0; i < summary.finished; ++i)
        record_->markDone(batch.pictures[i], batch.stamps[i].first, batch.stamps[i].second);
    record_->setNextNumber(record_->nextNumber() + summary.finished);
    done_ += summary.finished;
    QString error;
    if (!record_->save(&error))
        emit problem(error);
    running_ = false;
    emit batchEnded(summary);
    if (summary.stopped)
        stopping_ = true;
    if (stopping_)
        finishStopping();
    else
        processQueue();
}

void WatchRun::finishStopping()
{
    queue_.clear();
    queued_.clear();
    watching_ = false;
    emit stopped();
}
