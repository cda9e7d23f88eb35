// HEIC/AVIF decoding through libheif as the loader drives it: size probe, decode
// at full and at thumbnail size. Hostile boxes must give an error, never a crash
// or an allocation beyond the picture memory limit.
#include "imaging/heif_codec.h"
#include "imaging/picture_limits.h"
#include "qt_app.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    startQtOnce("fuzz_heif");
    setPictureMemoryLimit(64 * 1024 * 1024);
    if (!looksLikeHeif(data, qint64(size)))
        return 0;
    QString error;
    probeHeifSize(data, qint64(size), &error);
    for (const QSize minimum : {QSize(), QSize(64, 64)}) {
        const LoadedPicture picture = decodeHeif(data, qint64(size), minimum);
        if (!picture.ok() && picture.error.isEmpty())
            __builtin_trap();
    }
    return 0;
}
