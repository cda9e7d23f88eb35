#include "render/preview_source_cache.h"

#include "fs/file_names.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Only a JPEG decodes faster at a smaller size; other formats always decode whole.
bool decodesScaled(const QString &path)
{
    QFile file;
    if (!openRegularFile(path, file))
        return false;
    const QByteArray head = file.read(3);
    return head.size() == 3 && uchar(head[0]) == 0xFF && uchar(head[1]) == 0xD8 && uchar(head[2]) == 0xFF;
}

} // namespace

PreviewSourceCache::PreviewSourceCache(qint64 budgetBytes)
    : budget_(budgetBytes)
{
}

PreviewSourceCache::FileStamp PreviewSourceCache::stampOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {info.size(), info.lastModified()};
}

bool PreviewSourceCache::covers(const LoadedPicture &picture, QSize minimumSize)
{
    const QSize have = picture.image.size();
    if (have == picture.originalSize)
        return true; // a whole decode cannot be bettered
    return minimumSize.isValid() && have.width() >= minimumSize.width()
        && have.height() >= minimumSize.height();
}

bool PreviewSourceCache::muchLarger(const LoadedPicture &picture, QSize minimumSize)
{
    // Scaling down from a much larger decode costs more than decoding the file
    // again at the smaller scale.
    const QSize have = picture.image.size();
    return minimumSize.isValid() && have.width() >= 2 * minimumSize.width()
        && have.height() >= 2 * minimumSize.height();
}

void PreviewSourceCache::dropStale(const QString &path, const FileStamp &stamp)
{
    entries_.remove_if([&](const Entry &e) { return e.path == path && !(e.stamp == stamp); });
}

QSize PreviewSourceCache::probe(const QString &path, QString *error)
{
    const FileStamp stamp = stampOf(path);
    {
        std::lock_guard lock(mutex_);
        dropStale(path, stamp);
        for (const Entry &e : entries_) {
            if (e.path == path)
                return e.picture.originalSize;
        }
    }
    return probePictureSize(path, error);
}

LoadedPicture PreviewSourceCache::load(const QString &path, QSize minimumSize)
{
    const FileStamp stamp = stampOf(path);
    {
        std::lock_guard lock(mutex_);
        dropStale(path, stamp);
        auto best = entries_.end();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->path != path || !covers(it->picture, minimumSize))
                continue;
            if (best == entries_.end() || it->picture.image.width() < best->picture.image.width())
                best = it;
        }
        if (best != entries_.end()) {
            if (!best->scalable || !muchLarger(best->picture, minimumSize)) {
                entries_.splice(entries_.begin(), entries_, best);
                return best->picture;
            }
        }
    }
    // Decoding happens outside the lock, so a render on another thread is not held up.
    LoadedPicture picture = loadPicture(path, minimumSize);
    if (!picture.ok() || stamp.size < 0)
        return picture;
    const bool scalable = picture.image.size() != picture.originalSize || decodesScaled(path);
    std::lock_guard lock(mutex_);
    ++decodes_;
    entries_.push_front(Entry {path, stamp, picture, scalable});
    trim();
    return picture;
}

void PreviewSourceCache::trim()
{
    qint64 total = bytesHeldLocked();
    while (entries_.size() > 1 && total > budget_) {
        total -= entries_.back().picture.image.sizeInBytes();
        entries_.pop_back();
    }
}

qint64 PreviewSourceCache::bytesHeldLocked() const
{
    qint64 total = 0;
    for (const Entry &e : entries_)
        total += e.picture.image.sizeInBytes();
    return total;
}

void PreviewSourceCache::forget(const QString &path)
{
    std::lock_guard lock(mutex_);
    entries_.remove_if([&](const Entry &e) { return e.path == path; });
}

void PreviewSourceCache::clear()
{
    std::lock_guard lock(mutex_);
    entries_.clear();
}

int PreviewSourceCache::entryCount() const
{
    std::lock_guard lock(mutex_);
    return int(entries_.size());
}

qint64 PreviewSourceCache::bytesHeld() const
{
    std::lock_guard lock(mutex_);
    return bytesHeldLocked();
}

int PreviewSourceCache::decodeCount() const
{
    std::lock_guard lock(mutex_);
    return decodes_;
}
