#pragma once

#include "job/job_settings.h"
#include "run/batch_host.h"
#include "run/batch_run.h"
#include "run/folder_watch.h"
#include "run/publish_steps.h"
#include "run/watch_record.h"

#include <QObject>
#include <QSet>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

// A watched folder's processing, for tuvo-cli --watch and the window alike: the
// pictures not done yet, then each one that arrives, through the same BatchRun
// as a normal run. Pictures that arrive together go into one run; the job is
// read anew before every run, so a changed setting applies from the next one.
// What is done is kept in the output folder's WatchRecord after every run. Each
// run goes on beside the event loop; host hears of it on the watch's thread.
class WatchRun : public QObject {
    Q_OBJECT
public:
    WatchRun(BatchHost &host, std::function<JobSettings()> job, QObject *parent = nullptr);
    ~WatchRun() override;

    void setJobs(int jobs) { run_.setJobs(jobs); }
    // Uploads keep every link of the watch, so the link page lists them all.
    void setPublishSteps(const PublishSteps &steps);
    void setFirstNumber(int n) { firstNumber_ = n; }
    // Sub-folders of the watched folders are kept below the output folder.
    void setKeepTree(bool keep) { keepTree_ = keep; }
    // At most this many pictures a run (0: all that are waiting).
    void setPicturesPerRun(int n) { perRun_ = n; }
    FolderWatch &folderWatch() { return watch_; }
    BatchRun &batchRun() { return run_; }

    // Starts watching folders (absolute, clean) and queues their pictures that
    // are not done: without a record in the output folder, those whose output is
    // already there count as done. False with *error.
    bool start(const QStringList &folders, bool recursive, QString *error);
    // No new picture is begun; those in progress are finished and recorded, then stopped().
    void stop();
    bool isWatching() const { return watching_; }
    QStringList folders() const { return folders_; }
    int picturesDone() const { return done_; }
    int picturesWaiting() const { return int(queue_.size()); }

signals:
    // One run is over; its summary says what became of its pictures.
    void batchEnded(const RunSummary &summary);
    // The record could not be written.
    void problem(const QString &text);
    void stopped();

private:
    struct Batch {
        QStringList pictures;
        QList<std::pair<qint64, qint64>> stamps; // size and modification time when taken
    };

    void enqueue(const QString &picture);
    void processQueue();
    void runEnded(const Batch &batch, const RunSummary &summary);
    void finishStopping();
    QString subFolderOf(const QString &picture) const;

    std::shared_ptr<std::atomic<bool>> abandoned_;
    std::unique_ptr<BatchHost> relay_;
    std::function<JobSettings()> job_;
    RunState state_;
    BatchRun run_;
    std::thread thread_;
    FolderWatch watch_;
    std::unique_ptr<WatchRecord> record_;
    QStringList folders_;
    QStringList queue_;
    QSet<QString> queued_; // queue_'s pictures, so a burst is not searched picture by picture
    QStringList links_;
    int firstNumber_ = 0;
    int perRun_ = 0;
    int done_ = 0;
    bool keepTree_ = false;
    bool watching_ = false;
    bool running_ = false;
    bool scheduled_ = false;
    bool stopping_ = false;
};
