#include "viewer/thumbnail_loader.h"

#include "imaging/picture_loader.h"

#include <QCoreApplication>

ThumbnailLoader::ThumbnailLoader(QObject *parent)
    : QObject(parent)
    , generation_(std::make_shared<std::atomic<int>>(0))
{
    // Two decoders keep the window responsive on a small machine.
    pool_.setMaxThreadCount(2);
}

ThumbnailLoader::~ThumbnailLoader()
{
    cancel();
    pool_.waitForDone();
}

QImage ThumbnailLoader::makeThumbnail(const QString &path, QSize box)
{
    const LoadedPicture picture = loadPicture(path, box);
    if (!picture.ok())
        return {};
    return picture.image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void ThumbnailLoader::request(int place, const QString &path, QSize box)
{
    const int generation = generation_->load();
    auto current = generation_;
    pool_.start([this, current, generation, place, path, box] {
        if (current->load() != generation)
            return;
        const QImage image = makeThumbnail(path, box);
        if (current->load() != generation)
            return;
        // Queued on this object: dropped if the loader is gone, and checked again
        // on arrival in case the page changed meanwhile.
        QMetaObject::invokeMethod(
            this,
            [this, current, generation, place, image] {
                if (current->load() == generation)
                    emit thumbnailReady(place, image);
            },
            Qt::QueuedConnection);
    });
}

void ThumbnailLoader::cancel()
{
    ++*generation_;
    pool_.clear();
}

void ThumbnailLoader::waitForDone()
{
    pool_.waitForDone();
    QCoreApplication::sendPostedEvents(this);
}
