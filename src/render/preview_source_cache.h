#pragma once

#include "render/picture_source.h"

#include <QDateTime>
#include <QImage>

#include <list>
#include <mutex>

// Keeps the last decoded source pictures of the preview, so that a setting
// change redraws without decoding the file again. A picture is kept at the size
// the draw step asked for (a JPEG decodes at 1/2..1/8 of its size when that still
// covers the output), and reused while it covers what a later draw asks for.
// An entry whose file changed on disk (size or modification time) is decoded
// again. Thread-safe; the preview passes it to funImgDone:
//     PreviewSourceCache cache;                 // one per preview, lives as long
//     RenderResult r = funImgDone(job, path, &cache);   // on any thread
//     cache.forget(path);                       // optional, e.g. entry removed
class PreviewSourceCache final : public PictureSource {
public:
    // budgetBytes bounds the decoded pixels kept; the newest picture is always kept.
    explicit PreviewSourceCache(qint64 budgetBytes = qint64(192) << 20);

    QSize probe(const QString &path, QString *error) override;
    LoadedPicture load(const QString &path, QSize minimumSize) override;

    void forget(const QString &path);
    void clear();

    int entryCount() const;
    qint64 bytesHeld() const;
    int decodeCount() const; // decodes done so far (misses), for tests and statistics

private:
    struct FileStamp {
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const FileStamp &) const = default;
    };
    struct Entry {
        QString path;
        FileStamp stamp;
        LoadedPicture picture;
        bool scalable = false; // a smaller decode would be cheaper (JPEG)
    };

    static FileStamp stampOf(const QString &path);
    static bool covers(const LoadedPicture &picture, QSize minimumSize);
    static bool muchLarger(const LoadedPicture &picture, QSize minimumSize);
    void dropStale(const QString &path, const FileStamp &stamp);
    void trim();
    qint64 bytesHeldLocked() const;

    const qint64 budget_;
    mutable std::mutex mutex_;
    std::list<Entry> entries_; // most recently used first
    int decodes_ = 0;
};
