// The job a command line describes, assembled without running it.
#include "cli_job.h"
#include "fs/app_paths.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Assembly {
    QTemporaryDir dir;
    const AppPaths paths
        = AppPaths::at(dir.filePath(QStringLiteral("data")), dir.filePath(QStringLiteral("user")));

    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

    CliJob assemble(const QStringList &args) const
    {
        CliOptions options;
        QString error;
        EXPECT_TRUE(parseCliOptions(args, &options, &error)) << error.toStdString();
        return assembleCliJob(options, paths);
    }
};

} // namespace

TEST(CliJob, OptionsSavedJobsOutputAndShareMakeOneJobOrOneReason)
{
    Assembly a;
    QDir().mkpath(a.path("in"));
    QDir().mkpath(a.path("out"));
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (const char *name : {"in/a.png", "in/b.png", "mark.png"})
        ASSERT_TRUE(picture.save(a.path(name)));

    // A watermark given without a place takes the command line's own; a place given is kept.
    CliJob job = a.assemble({"--text", "Hi", "--mark", a.path("mark.png"), "-q", "70", "--shard", "2/2", "-o",
        a.path("out"), a.path("in")});
    ASSERT_TRUE(job.error.isEmpty()) << job.error.toStdString();
    EXPECT_EQ(job.job.iuTxtPos, kBottomRight);
    EXPECT_EQ(job.job.iuImgPos, kTopRight);
    EXPECT_EQ(job.job.bTextMark, 1);
    EXPECT_EQ(job.job.iJPGQ, 70);
    EXPECT_EQ(job.job.sOutDir, a.path("out"));
    EXPECT_EQ(job.inputs.pictures, (QStringList {a.path("in/a.png"), a.path("in/b.png")}));
    EXPECT_EQ(job.share.pictures, QStringList {a.path("in/b.png")});
    EXPECT_FALSE(job.saved || job.toStdout);
    EXPECT_TRUE(job.messages.isEmpty()) << job.messages.join('\n').toStdString();
    job = a.assemble({"--text", "Hi", "--text-pos", "top-left", "-o", a.path("out"), a.path("in")});
    EXPECT_EQ(job.job.iuTxtPos, kTopLeft);

    // A saved job comes back under the options given after it; nothing runs while saving.
    job = a.assemble({"--opacity", "30", "--rename", "x_", "--save-job", a.path("job.ini")});
    EXPECT_TRUE(job.saved && job.error.isEmpty()) << job.error.toStdString();
    job = a.assemble(
        {"--job", a.path("job.ini"), "-q", "50", "--keep-tree", "-o", a.path("out"), a.path("in")});
    ASSERT_TRUE(job.error.isEmpty()) << job.error.toStdString();
    EXPECT_EQ(job.job.iuSYAlpha, 30);
    EXPECT_EQ(job.job.sPrefix, QStringLiteral("x_"));
    EXPECT_EQ(job.job.iJPGQ, 50);
    EXPECT_EQ(job.messages.size(), 1);
    EXPECT_TRUE(job.messages.value(0).startsWith(QStringLiteral("tuvo-cli: --keep-tree: ")));

    // Each reason not to start names what is wrong; nothing is written for it.
    const QList<std::pair<QStringList, const char *>> refused = {
        {{"-o", a.path("out")}, "tuvo-cli: "},
        {{"-o", a.path("missing"), a.path("in")}, "tuvo-cli: -o/--output: "},
        {{"--mark", a.path("missing.png"), "-o", a.path("out"), a.path("in")}, "tuvo-cli: --mark: "},
        {{"--preset", "no such job", a.path("in")}, "tuvo-cli: "},
        {{"-o", "-", "--json", a.path("in")}, "tuvo-cli: -o -: "},
        {{"-o", "-", a.path("in")}, "tuvo-cli: -o -: "},
    };
    for (const auto &[args, start] : refused) {
        job = a.assemble(args);
        EXPECT_TRUE(job.error.startsWith(QString::fromUtf8(start))) << job.error.toStdString();
        EXPECT_TRUE(job.share.pictures.isEmpty());
    }
    EXPECT_EQ(QDir(a.path("out")).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList {});
    // The help shows the default a fresh job holds.
    EXPECT_TRUE(cliHelp(*findCliLong(QStringLiteral("opacity")).spelling)
                    .contains(QString::number(JobSettings().iuSYAlpha)));
}
