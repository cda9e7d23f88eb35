// .docx import: any package, however crafted, is read within its limits or
// refused with a message; the XML parts are fuzzed through the same reader.
#include "capture/word_import.h"
#include "qt_app.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    startQtOnce("fuzz_docx");
    static const QString root = QStringLiteral("/dev/shm/tuvo-fuzz-docx-%1").arg(::getpid());
    static const bool made = QDir().mkpath(root + QStringLiteral("/user"));
    (void)made;
    const QString path = root + QStringLiteral("/input.docx");
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qsizetype(size));
    }
    WordImportOptions options;
    // Smaller limits than the program uses, so the fuzzer explores the refusals quickly.
    options.limits.maxPartBytes = 8 * 1024 * 1024;
    options.limits.maxTotalBytes = 32 * 1024 * 1024;
    const WordImportResult result = importWordPictures(path, root + QStringLiteral("/user"), options);
    for (const QString &written : result.pictures)
        QFile::remove(written);
    return 0;
}
