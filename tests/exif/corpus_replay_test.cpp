// Replays every committed fuzz corpus file through the reader: inputs that once
// reached new code stay regression tests for crashes and sanitizer findings.
#include "exif/exif_reader.h"

#include <QDirIterator>

#include <gtest/gtest.h>

namespace {

TEST(FuzzCorpus, EveryCommittedInputLoadsSafely)
{
    int files = 0;
    QDirIterator it(
        QStringLiteral(TUVO_SOURCE_DIR "/fuzz/corpus"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        SCOPED_TRACE(path.toStdString());
        ExifReader reader;
        reader.picFile = path.toStdString();
        const bool found = reader.Load();
        const auto &entries = reader.entries();
        EXPECT_TRUE(found || entries.empty());
        EXPECT_EQ(reader.Tag(0), entries.empty() ? "" : std::to_string(entries.size()));
        ++files;
    }
    EXPECT_GE(files, 5);
}

TEST(FuzzCorpus, SeedPhotosStillRead)
{
    for (const char *name : {"exiftool_little_endian.jpg", "exiftool_big_endian.jpg"}) {
        ExifReader reader;
        reader.picFile = std::string(TUVO_SOURCE_DIR "/fuzz/corpus/fuzz_exif/") + name;
        EXPECT_TRUE(reader.Load()) << name;
        EXPECT_EQ(reader.Tag(36867), "2014:05:01 10:20:30") << name;
        EXPECT_EQ(reader.Tag(274), "6") << name;
    }
}

} // namespace
