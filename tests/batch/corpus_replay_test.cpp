// Inputs the fuzzers found interesting, replayed on every test run: none may
// crash, and broken pictures must come back with a reason.
#include "imaging/picture_loader.h"
#include "imaging/picture_metadata.h"
#include "job/size_presets.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QStringList corpus(const char *target)
{
    QDir dir(QStringLiteral(TUVO_SOURCE_DIR "/fuzz/corpus/") + QString::fromLatin1(target));
    QStringList files;
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        files << dir.filePath(name);
    return files;
}

} // namespace

TEST(CorpusReplay, PictureLoaderAnswersEveryInput)
{
    const QStringList files = corpus("fuzz_picture");
    ASSERT_FALSE(files.isEmpty());
    for (const QString &f : files) {
        const LoadedPicture p = loadPicture(f, QSize(64, 64));
        EXPECT_TRUE(p.ok() || !p.error.isEmpty()) << f.toStdString();
    }
}

// A RAW's tags and pixels: quicktime-hang.cr3 once kept exiv2's video reader busy for good.
TEST(CorpusReplay, RawInputsAnswerWithTagsAndPixels)
{
    const QStringList files = corpus("fuzz_raw");
    ASSERT_FALSE(files.isEmpty());
    for (const QString &f : files) {
        SourceMetadata::fromFile(f);
        const LoadedPicture p = loadPicture(f, QSize(16, 16));
        EXPECT_TRUE(p.ok() || !p.error.isEmpty()) << f.toStdString();
    }
}

TEST(CorpusReplay, HostileHeadersAreRefusedBeforeAllocating)
{
    for (const char *name : {"huge_header.png", "huge_header.gif"}) {
        const LoadedPicture p = loadPicture(
            QStringLiteral(TUVO_SOURCE_DIR "/fuzz/corpus/fuzz_picture/") + QString::fromLatin1(name));
        EXPECT_FALSE(p.ok()) << name;
        EXPECT_FALSE(p.error.isEmpty()) << name;
    }
}

TEST(CorpusReplay, SizeIniParserAnswersEveryInput)
{
    for (const QString &f : corpus("fuzz_size_ini")) {
        QFile file(f);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_LE(parseSizePresets(file.readAll()).size(), kMaxSizePresets) << f.toStdString();
    }
}

TEST(CorpusReplay, DamagedPngChunkIsRefusedCheaply)
{
    // A text chunk claiming a gigabyte in a 289-byte file.
    const LoadedPicture p
        = loadPicture(QStringLiteral(TUVO_SOURCE_DIR "/fuzz/corpus/fuzz_picture/huge_chunk.png"));
    EXPECT_FALSE(p.ok());
    EXPECT_EQ(p.error, QStringLiteral("图片数据有误或不完整"));
}
