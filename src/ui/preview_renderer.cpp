#include "ui/preview_renderer.h"

#include "render/pipeline.h"

#include <QCoreApplication>
#include <QtConcurrent/QtConcurrentRun>

PreviewRenderer::PreviewRenderer(QObject *parent)
    : QObject(parent)
{
    connect(&watcher_, &QFutureWatcher<RenderResult>::finished, this, &PreviewRenderer::finished);
}

PreviewRenderer::~PreviewRenderer()
{
    waiting_.reset();
    watcher_.waitForFinished();
}

void PreviewRenderer::request(const JobSettings &job, const QString &path)
{
    Request r {job, path};
    if (running_) {
        runningStale_ = true;
        waiting_ = std::move(r);
        return;
    }
    start(std::move(r));
}

void PreviewRenderer::cancel()
{
    waiting_.reset();
    if (running_)
        runningStale_ = true;
}

bool PreviewRenderer::isBusy() const
{
    return running_ || waiting_.has_value();
}

void PreviewRenderer::waitForIdle()
{
    while (isBusy()) {
        watcher_.waitForFinished();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

void PreviewRenderer::start(Request r)
{
    running_ = true;
    runningStale_ = false;
    runningPath_ = r.path;
    emit busyChanged(true);
    watcher_.setFuture(QtConcurrent::run([job = std::move(r.job), path = r.path, cache = &cache_]() {
        try {
            return funImgDone(job, path, cache);
        } catch (...) {
            return RenderResult(); // a preview that cannot be drawn just stays empty
        }
    }));
}

void PreviewRenderer::finished()
{
    running_ = false;
    const bool stale = runningStale_;
    const RenderResult result = watcher_.future().result();
    const QString path = runningPath_;
    if (waiting_) {
        Request next = std::move(*waiting_);
        waiting_.reset();
        start(std::move(next));
    } else {
        emit busyChanged(false);
    }
    if (!stale)
        emit rendered(result, path);
}
