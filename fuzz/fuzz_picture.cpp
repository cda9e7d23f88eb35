// Picture loading through Tuvo's loader: hostile headers must be refused before
// any large allocation, broken data must give an error, never a crash.
#include "imaging/picture_limits.h"
#include "imaging/picture_loader.h"
#include "qt_app.h"

#include <QFile>

#include <cstddef>
#include <cstdint>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    startQtOnce("fuzz_picture");
    static const QString path = QStringLiteral("/dev/shm/tuvo-fuzz-picture-%1").arg(::getpid());
    // Small enough that the sanitizers' memory limit is never the one that answers.
    setPictureMemoryLimit(64 * 1024 * 1024);
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qsizetype(size));
    }
    const LoadedPicture picture = loadPicture(path, QSize(64, 64));
    if (!picture.ok() && picture.error.isEmpty())
        __builtin_trap();
    return 0;
}
