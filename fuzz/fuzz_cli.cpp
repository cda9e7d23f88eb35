// The command line: any argument list parses or is refused, and whatever parses
// applies to a job without crashing.
#include "cli_options.h"
#include "fs/app_paths.h"
#include "job/frame_list.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Arguments are separated by NUL bytes, as in /proc/<pid>/cmdline.
    const QList<QByteArray> parts
        = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    QStringList args;
    for (const QByteArray &p : parts)
        args << QString::fromUtf8(p);
    CliOptions options;
    QString error;
    if (parseCliOptions(args, &options, &error)) {
        static const AppPaths paths
            = AppPaths::at(QStringLiteral("/nonexistent"), QStringLiteral("/nonexistent"));
        const FrameList frames;
        JobSettings job;
        QStringList warnings;
        applyJobOptions(options, paths, frames, job, &warnings, &error);
    }
    return 0;
}
