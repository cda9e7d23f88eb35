#pragma once

#include "job/job_settings.h"
#include "run/batch_host.h"
#include "run/output_plan.h"
#include "run/publish_steps.h"

#include <QString>
#include <QStringList>

#include <atomic>

struct RunSummary {
    StartCheck check = StartCheck::Ok;
    int total = 0;
    int finished = 0; // pictures taken through the pipeline and writer
    int written = 0;
    int uploaded = 0; // pictures whose upload finished (and gave a link)
    int scaledToFit = 0; // pictures scaled down to fit iMaxBytes
    int overLimit = 0; // pictures outside iMaxBytes/iMinBytes at their best
    bool stopped = false;
    bool hadError = false;
    QString errorReport; // header plus one line per error, as ErrorLog.txt holds it
    QStringList warnings; // lines of the report that are no failure (a name two pictures share)
    QString finalStatus;
    QString errorLogPath; // set when ErrorLog.txt was written
};

// The start command: checks, the loop over the list, stop, the after-run steps.
// Pictures are rendered and written by a small pool of threads; everything the
// user sees (progress, error lines, OutputFiles) still happens in list order.
class BatchRun {
public:
    BatchRun(BatchHost &host, RunState &state);

    void setJobs(int jobs);
    void setPublishSteps(const PublishSteps &steps);
    // The run's pictures as a part of a longer list (tuvo-cli --shard, --keep-tree).
    void setPlacement(const ListPlacement &placement);

    // Returns after the run has ended (or did not start: summary.check).
    RunSummary StartRun(const QStringList &pictures, const JobSettings &job);
    // The stop command; may be called from the host's processEvents or another thread.
    void RequestStop();
    bool isRunning() const { return running_; }
    // Set while a stop is asked for; steps that wait on others (an upload) watch it.
    const std::atomic<bool> *stopFlag() const { return &stop_; }

    static StartCheck checkStart(const QStringList &pictures, const JobSettings &job);
    static QString startCheckText(StartCheck check);

private:
    void afterRun(const JobSettings &job, RunSummary &summary);

    BatchHost &host_;
    RunState &state_;
    PublishSteps publish_;
    ListPlacement placement_;
    int jobs_;
    std::atomic<bool> stop_ {false};
    std::atomic<bool> running_ {false};
};
