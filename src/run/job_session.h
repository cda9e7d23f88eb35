#pragma once

#include "job/job_settings.h"
#include "run/batch_run.h"
#include "run/publish_steps.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class FileList;

// The job being edited, its list of pictures with their captions, and the run
// over them, without a widget. The window and its add-ons observe it through
// signals and ask it to act.
//
// A run works on a snapshot taken when it starts: the job, the list and the
// captions as they were, after-run steps included. Edits made while it runs
// apply to the next run. The run, its uploads and folder scans go on beside
// the event loop and report back through it; the thread that owns the session
// never waits for them.
class JobSession : public QObject {
    Q_OBJECT
public:
    // Makes the publishing steps for one run; stop is set when the run is asked
    // to stop, so that a transfer in progress can give up.
    using PublishFactory = std::function<PublishSteps(const std::atomic<bool> *stop)>;

    explicit JobSession(QObject *parent = nullptr);
    ~JobSession() override;

    JobSettings &job() { return job_; }
    const JobSettings &job() const { return job_; }
    // An edit of job() is complete: observers redraw.
    void markJobChanged() { emit jobChanged(); }

    FileList &files() { return *files_; }
    const FileList &files() const { return *files_; }

    // Answers the run's questions and shows its progress, on the session's thread.
    void setHost(BatchHost *host) { host_ = host; }
    void setRunJobs(int jobs) { runJobs_ = jobs; }
    void setPublishFactory(PublishFactory factory) { publishFactory_ = std::move(factory); }

    // Checks the job and the list; when they pass, starts the run on a snapshot
    // of both and returns Ok at once. runFinished() follows.
    StartCheck startRun();
    void stopRun();
    bool isRunning() const { return running_; }

    // Adds the pictures of folder (and of its sub-folders) beside the event loop;
    // scanFinished() follows. False while another scan is going on.
    bool scanFolder(const QString &folder, bool withSubFolders);
    bool isScanning() const { return scanning_; }

signals:
    void jobChanged();
    void runStarted();
    void runFinished(const RunSummary &summary);
    void scanProgress(int found);
    void scanFinished(int added);

private:
    void finishRun(const RunSummary &summary);
    void finishScan(const QStringList &pictures);

    JobSettings job_;
    FileList *files_;
    BatchHost *host_ = nullptr;
    PublishFactory publishFactory_;
    int runJobs_ = 0; // 0: as many as the machine has cores

    std::thread runThread_;
    std::unique_ptr<BatchHost> relay_; // the host as the run's thread sees it
    std::unique_ptr<BatchRun> run_;
    std::unique_ptr<RunState> runState_;
    std::shared_ptr<std::atomic<bool>> abandoned_; // the session is going away: answer nothing more
    bool running_ = false;

    std::thread scanThread_;
    bool scanning_ = false;
};
