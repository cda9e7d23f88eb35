#include "batch/imaging/picture_limits.h"

#include <QCoreApplication>
#include <QImageReader>

#include <atomic>

namespace {
std::atomic<qint64> limitBytes {kDefaultPictureMemoryLimit};

// Qt's own readers have a separate guard in megabytes; keep it in step.
struct SyncQtLimit {
    SyncQtLimit() { QImageReader::setAllocationLimit(int(kDefaultPictureMemoryLimit / (1024 * 1024))); }
} syncAtStart;
} // namespace

void setPictureMemoryLimit(qint64 bytes)
{
    limitBytes = bytes;
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
            *error = QCoreApplication::translate("tuvo", "图片太大(%1×%2像素),超过了内存上限%3MB")
                         .arg(size.width())
                         .arg(size.height())
                         .arg(limitBytes / (1024 * 1024));
        return false;
    }
    return true;
}
