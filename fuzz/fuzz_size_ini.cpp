// size.ini is read at every start; no content may crash or stall it.
#include "job/size_presets.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QVector<SizePreset> presets
        = parseSizePresets(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (presets.size() > kMaxSizePresets)
        __builtin_trap();
    JobSettings job;
    job.SizePresets = presets;
    for (int i = 0; i <= job.customSizeIndex(); ++i)
        chooseSizeMode(job, i);
    return 0;
}
