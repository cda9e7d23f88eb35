#include "imaging/picture_limits.h"

#include <QCoreApplication>
#include <QImageReader>

#include <atomic>
#include <condition_variable>
#include <mutex>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {
std::atomic<qint64> limitBytes {kDefaultPictureMemoryLimit};
std::atomic<bool> runBudget {false}; // a limit was set: it bounds the whole run

std::mutex budgetMutex;
std::condition_variable budgetFreed;
qint64 budgetInUse = 0;
thread_local qint64 heldByThisPicture = 0;
thread_local bool inPictureScope = false;

// Qt's own readers have a separate guard in megabytes; keep it in step.
struct SyncQtLimit {
    SyncQtLimit() { QImageReader::setAllocationLimit(int(kDefaultPictureMemoryLimit / (1024 * 1024))); }
} syncAtStart;
} // namespace

void setPictureMemoryLimit(qint64 bytes)
{
    limitBytes = bytes;
    runBudget = true;
#if defined(__GLIBC__)
    // Every worker thread would otherwise keep an arena of freed pages of its own.
    mallopt(M_ARENA_MAX, 2);
#endif
    QImageReader::setAllocationLimit(int(qMin<qint64>(bytes / (1024 * 1024), INT_MAX)));
}

qint64 pictureMemoryLimit()
{
    return limitBytes;
}

bool pictureFitsLimit(QSize size, QString *error)
{
    if (size.width() <= 0 || size.height() <= 0) {
        if (error)
            *error = QCoreApplication::translate("tuvo", "图片尺寸无效");
        return false;
    }
    const qint64 needed = qint64(size.width()) * size.height() * 4;
    if (needed > limitBytes) {
        if (error)
            *error = pictureTooLarge(size);
        return false;
    }
    return true;
}

QString pictureTooLarge(QSize size)
{
    return QCoreApplication::translate("tuvo", "图片太大(%1×%2像素),超过了内存上限%3MB")
        .arg(size.width())
        .arg(size.height())
        .arg(limitBytes / (1024 * 1024));
}

QString metadataTooLarge(qint64 bytes)
{
    return QCoreApplication::translate("tuvo", "图片的元数据太大(读取约需%1MB),超过了内存上限%2MB")
        .arg(bytes / (1024 * 1024))
        .arg(limitBytes / (1024 * 1024));
}

bool takePictureMemory(qint64 bytes, const QString &refusal, QString *error)
{
    if (!runBudget)
        return true;
    const qint64 limit = limitBytes;
    if (bytes > limit) {
        if (error)
            *error = refusal;
        return false;
    }
    if (!inPictureScope)
        return true;
    std::unique_lock lock(budgetMutex);
    // Only a picture that holds nothing yet waits: two waiting pictures that each
    // hold a part could otherwise wait for each other.
    if (heldByThisPicture == 0)
        budgetFreed.wait(lock, [&] { return budgetInUse + bytes <= limit; });
    budgetInUse += bytes;
    heldByThisPicture += bytes;
    return true;
}

bool pictureMemoryCounted()
{
    return runBudget && inPictureScope;
}

PictureMemoryScope::PictureMemoryScope()
{
    inPictureScope = true;
}

PictureMemoryScope::~PictureMemoryScope()
{
    inPictureScope = false;
    if (heldByThisPicture == 0)
        return;
    {
        std::lock_guard lock(budgetMutex);
        budgetInUse -= heldByThisPicture;
        heldByThisPicture = 0;
    }
#if defined(__GLIBC__)
    // Freed pages the heap keeps still count as the program's memory.
    malloc_trim(0);
#endif
    budgetFreed.notify_all();
}
