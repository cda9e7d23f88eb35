#pragma once

#include "job/job_settings.h"
#include "render/preview_source_cache.h"
#include "render/render_result.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include <optional>

// Runs funImgDone for the preview off the user-interface thread. At most one
// render runs; a newer request replaces any waiting one, and a result that was
// overtaken by a newer request is dropped, so the canvas only ever shows the
// picture for the latest job and entry.
class PreviewRenderer : public QObject {
    Q_OBJECT
public:
    explicit PreviewRenderer(QObject *parent = nullptr);
    ~PreviewRenderer() override;

    void request(const JobSettings &job, const QString &path);
    // Forgets waiting work and drops the running render's result.
    void cancel();
    bool isBusy() const;
    // Blocks until nothing runs or waits (tests, shutdown).
    void waitForIdle();

signals:
    // path is the entry the result belongs to.
    void rendered(const RenderResult &result, const QString &path);
    void busyChanged(bool busy);

private:
    struct Request {
        JobSettings job;
        QString path;
    };
    void start(Request r);
    void finished();

    // Decoded sources at preview size: a setting change redraws without decoding again.
    PreviewSourceCache cache_;
    QFutureWatcher<RenderResult> watcher_;
    std::optional<Request> waiting_;
    QString runningPath_;
    bool running_ = false;
    bool runningStale_ = false;
};
