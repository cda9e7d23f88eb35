// Packages the fuzzer found interesting, replayed on every test run: each is
// read within its limits or refused with a reason, never a crash.
#include "capture/word_import.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(DocxCorpusReplay, EveryPackageGetsAnAnswer)
{
    QDir dir(QStringLiteral(TUVO_SOURCE_DIR "/fuzz/corpus/fuzz_docx"));
    const QStringList names = dir.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString &name : names) {
        QTemporaryDir user;
        const WordImportResult r = importWordPictures(dir.filePath(name), user.path());
        EXPECT_TRUE(!r.pictures.isEmpty() || !r.message.isEmpty() || !r.errorLines.isEmpty())
            << name.toStdString();
        for (const QString &p : r.pictures)
            EXPECT_TRUE(p.startsWith(user.path())) << p.toStdString();
    }
}
