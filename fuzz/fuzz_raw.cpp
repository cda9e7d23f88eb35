// Camera RAW decoding through LibRaw as the loader drives it: header read,
// memory estimate, decode at full and at reduced size; and the tags an output
// would carry (exiv2, or Canon's CR3 boxes). Hostile or truncated files must
// give an error, never a crash, a hang or an allocation beyond the limit.
#include "imaging/picture_limits.h"
#include "imaging/picture_metadata.h"
#include "imaging/raw_decoder.h"
#include "qt_app.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    startQtOnce("fuzz_raw");
    setPictureMemoryLimit(64 * 1024 * 1024);
    SourceMetadata::fromBytes(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    const RawHeader header = readRawHeader(data, qint64(size));
    if (!header.error.isEmpty())
        return 0;
    for (const QSize minimum : {QSize(), QSize(16, 16)}) {
        rawDecodeNeed(header, minimum);
        Turn turn = Turn::None;
        const LoadedPicture picture = decodeRaw(data, qint64(size), minimum, &turn);
        if (!picture.ok() && picture.error.isEmpty())
            __builtin_trap();
    }
    return 0;
}
