#include "capture/capture_texts.h"
#include "capture/doc_conversion.h"
#include "capture/word_import.h"
#include "imaging/encoders.h"
#include "support/qstring_printer.h"
#include "support/test_files.h"
#include "support/tuvo_cli.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <future>
#include <gtest/gtest.h>

namespace {

const QDateTime kStamp(QDate(2026, 3, 4), QTime(5, 6, 7));

QImage solid(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The documents, written once by python-docx for the whole suite.
class WordImport : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        docs_ = new QTemporaryDir;
        const QString d = docs_->path();
        QString error;
        QImage red = solid(40, 30, Qt::red);
        ASSERT_TRUE(
            writeFile(d + "/red.jpg", encodeJpeg(red.convertToFormat(QImage::Format_RGB32), 90, &error)));
        // Left half transparent: the imported JPEG must show white there.
        QImage green = solid(32, 24, Qt::transparent);
        for (int y = 0; y < 24; ++y)
            for (int x = 16; x < 32; ++x)
                green.setPixelColor(x, y, QColor(0, 160, 0));
        green.save(d + "/green.png");
        solid(20, 20, Qt::blue).save(d + "/blue.png");
        solid(24, 16, Qt::white).save(d + "/white.png");
        ASSERT_TRUE(writeFile(d + "/yellow.gif", encodeGif(solid(30, 20, Qt::yellow), &error)));

        QProcess python;
        python.setProcessChannelMode(QProcess::MergedChannels);
        python.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(TUVO_SOURCE_DIR "/tests/capture/make_documents.py"), d});
        python.waitForFinished(60000);
        made_ = python.exitStatus() == QProcess::NormalExit && python.exitCode() == 0;
        output_ = QString::fromUtf8(python.readAll());
    }
    static void TearDownTestSuite()
    {
        delete docs_;
        docs_ = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(made_) << output_.toStdString();
        userDir_ = user_.path() + QStringLiteral("/user");
    }

    static QString doc(const char *name) { return docs_->path() + QLatin1Char('/') + QLatin1String(name); }
    WordImportResult run(const char *name, WordImportOptions options = {})
    {
        options.clock = [] {
            return kStamp;
        };
        return importWordPictures(doc(name), userDir_, options);
    }
    QStringList userFiles() const { return QDir(userDir_).entryList(QDir::Files, QDir::Name); }

    static inline QTemporaryDir *docs_ = nullptr;
    static inline bool made_ = false;
    static inline QString output_;
    QTemporaryDir user_;
    QString userDir_;
};

} // namespace

TEST_F(WordImport, InlinePicturesInDocumentOrderAsRealJpegs)
{
    const WordImportResult r = run("mixed.docx");

    // JPEG, PNG, (floating blue skipped), EMF fails, GIF: counters follow the inline pictures.
    const QString dir = userDir_ + QLatin1Char('/');
    EXPECT_EQ(r.pictures,
        (QStringList {
            dir + "202603040506071.jpg", dir + "202603040506072.jpg", dir + "202603040506074.jpg"}));
    EXPECT_EQ(
        userFiles(), (QStringList {"202603040506071.jpg", "202603040506072.jpg", "202603040506074.jpg"}));
    EXPECT_TRUE(r.message.isEmpty());
    ASSERT_EQ(r.errorLines.size(), 1);
    EXPECT_TRUE(r.errorLines[0].startsWith(QStringLiteral("【操作错误】文档中的第3张图片")))
        << r.errorLines[0].toStdString();
    EXPECT_TRUE(r.errorLines[0].contains(QStringLiteral("EMF"))) << r.errorLines[0].toStdString();

    // The JPEG keeps its bytes; the others are JPEG files now.
    EXPECT_EQ(readBytes(r.pictures[0]), readBytes(doc("red.jpg")));
    for (const QString &p : r.pictures) {
        EXPECT_TRUE(looksLikeJpegBytes(readBytes(p))) << p.toStdString();
        EXPECT_FALSE(QImage(p, "JPEG").isNull()) << p.toStdString();
    }
    const QImage green(r.pictures[1]);
    ASSERT_EQ(green.size(), QSize(32, 24));
    EXPECT_GT(qGray(green.pixel(4, 12)), 240); // transparent part laid on white
    EXPECT_GT(qGreen(green.pixel(28, 12)), 120);
    EXPECT_LT(qRed(green.pixel(28, 12)), 60);
    const QImage yellow(r.pictures[2]);
    ASSERT_EQ(yellow.size(), QSize(30, 20));
    EXPECT_GT(qRed(yellow.pixel(15, 10)), 200);
    EXPECT_LT(qBlue(yellow.pixel(15, 10)), 60);
}

TEST_F(WordImport, SameSecondImportsNeverOverwrite)
{
    const WordImportResult first = run("mixed.docx");
    const QByteArray firstBytes = readBytes(first.pictures[1]);
    const WordImportResult second = run("mixed.docx");
    EXPECT_EQ(QFileInfo(second.pictures[0]).fileName(), QStringLiteral("202603040506071_2.jpg"));
    EXPECT_EQ(QFileInfo(second.pictures[2]).fileName(), QStringLiteral("202603040506074_2.jpg"));
    EXPECT_EQ(userFiles().size(), 6);
    EXPECT_EQ(readBytes(first.pictures[1]), firstBytes);
}

TEST_F(WordImport, DocumentsWithoutInlinePicturesSaySo)
{
    for (const char *name : {"none.docx", "floating.docx"}) {
        const WordImportResult r = run(name);
        EXPECT_EQ(r.message, captureTexts::noPicturesInDocument()) << name;
        EXPECT_FALSE(r.messageIsError);
        EXPECT_TRUE(r.pictures.isEmpty());
        EXPECT_TRUE(userFiles().isEmpty()) << name;
    }
}

TEST_F(WordImport, MissingRelationshipSkipsOnlyThatPicture)
{
    const WordImportResult r = run("missing-rel.docx");
    ASSERT_EQ(r.pictures.size(), 1);
    EXPECT_EQ(QFileInfo(r.pictures[0]).fileName(), QStringLiteral("202603040506072.jpg"));
    ASSERT_EQ(r.errorLines.size(), 1);
    EXPECT_TRUE(r.errorLines[0].contains(QStringLiteral("rId999"))) << r.errorLines[0].toStdString();
}

TEST_F(WordImport, InflatingPartsAreRefusedBeforeTheyAreRead)
{
    WordImportOptions small;
    small.limits.maxPartBytes = 4 * 1024 * 1024;
    WordImportResult r = run("bomb.docx", small);
    ASSERT_EQ(r.pictures.size(), 1); // the green one after it still comes
    EXPECT_EQ(QFileInfo(r.pictures[0]).fileName(), QStringLiteral("202603040506072.jpg"));
    ASSERT_EQ(r.errorLines.size(), 1);
    EXPECT_TRUE(r.errorLines[0].contains(QStringLiteral("太大"))) << r.errorLines[0].toStdString();

    WordImportOptions ratio;
    ratio.limits.ratioCheckFrom = 1024 * 1024;
    ratio.limits.maxRatio = 100;
    r = run("bomb.docx", ratio);
    ASSERT_EQ(r.errorLines.size(), 1);
    EXPECT_TRUE(r.errorLines[0].contains(QStringLiteral("压缩炸弹"))) << r.errorLines[0].toStdString();

    WordImportOptions few;
    few.limits.maxEntries = 5;
    r = run("mixed.docx", few);
    EXPECT_TRUE(r.messageIsError);
    EXPECT_TRUE(r.message.contains(QStringLiteral("条目太多"))) << r.message.toStdString();
    EXPECT_TRUE(r.pictures.isEmpty());
}

TEST_F(WordImport, PartLongerThanDeclaredIsRefused)
{
    const WordImportResult r = run("lying-size.docx");
    ASSERT_EQ(r.pictures.size(), 1);
    ASSERT_EQ(r.errorLines.size(), 1);
    EXPECT_TRUE(r.errorLines[0].startsWith(QStringLiteral("【操作错误】文档中的第1张图片")))
        << r.errorLines[0].toStdString();
}

TEST_F(WordImport, TargetsOutsideThePackageAreNeverFollowed)
{
    const WordImportResult r = run("traversal.docx");
    ASSERT_EQ(r.pictures.size(), 1);
    EXPECT_EQ(QFileInfo(r.pictures[0]).fileName(), QStringLiteral("202603040506074.jpg"));
    ASSERT_EQ(r.errorLines.size(), 3);
    EXPECT_TRUE(r.errorLines[0].contains(QStringLiteral("文档之外"))) << r.errorLines[0].toStdString();
    EXPECT_TRUE(r.errorLines[1].contains(QStringLiteral("文档之外"))) << r.errorLines[1].toStdString();
    EXPECT_TRUE(r.errorLines[2].contains(QStringLiteral("链接"))) << r.errorLines[2].toStdString();
    EXPECT_EQ(userFiles(), QStringList {"202603040506074.jpg"});
    EXPECT_EQ(QDir(user_.path()).entryList(QDir::Files), QStringList());
}

TEST_F(WordImport, UnreadableFilesGetAClearMessage)
{
    WordImportResult r = run("not-a-zip.docx");
    EXPECT_TRUE(r.messageIsError);
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("无法读取这个Word文件"))) << r.message.toStdString();
    r = importWordPictures(docs_->path() + "/absent.docx", userDir_);
    EXPECT_TRUE(r.messageIsError);
    EXPECT_TRUE(r.pictures.isEmpty());
}

TEST_F(WordImport, DocFilesGoThroughLibreOffice)
{
    const QString soffice = findSoffice();
    if (soffice.isEmpty()) {
        // Without LibreOffice the user is told what to do.
        QFile::copy(doc("mixed.docx"), user_.path() + "/old.doc");
        const WordImportResult r = importWordPictures(user_.path() + "/old.doc", userDir_);
        EXPECT_EQ(r.message, captureTexts::docNeedsLibreOffice());
        EXPECT_TRUE(r.messageIsError);
        EXPECT_TRUE(r.pictures.isEmpty());
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: the .doc conversion is NOT tested; "
                        "scripts/install-deps.sh test installs libreoffice-writer-nogui";
    }
    // A real .doc written by LibreOffice from the python-docx document.
    QProcess save;
    save.start(soffice,
        {QStringLiteral("-env:UserInstallation=file://") + user_.path() + "/profile",
            QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("doc"),
            QStringLiteral("--outdir"), user_.path(), doc("colours.docx")});
    ASSERT_TRUE(save.waitForFinished(180000));
    const QString dotDoc = user_.path() + "/colours.doc";
    ASSERT_TRUE(QFile::exists(dotDoc)) << save.readAll().toStdString();

    // Two imports at once, each with its own LibreOffice: both get every picture in order.
    const auto import = [&](const QString &dir) {
        return std::async(std::launch::async, [dotDoc, dir] { return importWordPictures(dotDoc, dir); });
    };
    auto first = import(user_.path() + "/one");
    auto second = import(user_.path() + "/two");
    for (const WordImportResult &r : {first.get(), second.get()}) {
        ASSERT_EQ(r.pictures.size(), 4) << r.message.toStdString();
        EXPECT_TRUE(r.errorLines.isEmpty());
        const QList<QRgb> expected
            = {qRgb(255, 0, 0), qRgb(255, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)};
        for (int i = 0; i < 4; ++i) {
            const QImage picture(r.pictures[i]);
            const QRgb centre = picture.pixel(picture.width() / 2, picture.height() / 2);
            EXPECT_NEAR(qRed(centre), qRed(expected[i]), 40) << i;
            EXPECT_NEAR(qGreen(centre), qGreen(expected[i]), 40) << i;
            EXPECT_NEAR(qBlue(centre), qBlue(expected[i]), 40) << i;
        }
    }

    // A LibreOffice that hangs becomes an error, and nothing of it keeps running.
    const QString hanging = user_.path() + "/hanging-soffice";
    const QString childPid = user_.path() + "/child.pid";
    ASSERT_TRUE(writeFile(
        hanging, QStringLiteral("#!/bin/sh\nsleep 300 &\necho $! > '%1'\nwait\n").arg(childPid).toUtf8()));
    QFile::setPermissions(hanging, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QString error;
    EXPECT_TRUE(convertDocToDocx(hanging, dotDoc, user_.path(), &error, 2000).isEmpty());
    EXPECT_EQ(error, QStringLiteral("LibreOffice超时未完成"));
    const QString pid = QString::fromLatin1(readBytes(childPid)).trimmed();
    ASSERT_FALSE(pid.isEmpty());
    QThread::msleep(200);
    // An ended child may stay a zombie (empty command line) until it is reaped.
    EXPECT_FALSE(readBytes(QStringLiteral("/proc/") + pid + QStringLiteral("/cmdline")).contains("sleep"))
        << "the hanging LibreOffice's child is still running";
}

// tuvo-cli takes a .docx as an input: its pictures join the run in document order.
TEST_F(WordImport, CommandLineRunsTheDocumentsPictures)
{
    QTemporaryDir home;
    const QString out = home.path() + QStringLiteral("/out");
    QDir().mkpath(out);
    CliCall call;
    call.env.insert(QStringLiteral("TUVO_HOME"), home.path());
    const CliRun cli
        = runTuvoCli({"-o", out, "--rename", "P", "--quiet", doc("none.docx"), doc("mixed.docx")}, call);
    const QString &err = cli.err;
    EXPECT_EQ(cli.exitCode, 1) << err.toStdString(); // the EMF picture is an error line
    EXPECT_TRUE(err.contains(doc("none.docx") + QStringLiteral(": 这个文件里没有图片呢！")))
        << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("EMF"))) << err.toStdString();

    EXPECT_EQ(
        QDir(out).entryList(QDir::Files, QDir::Name), (QStringList {"P0000.jpg", "P0001.jpg", "P0002.jpg"}));
    const QImage red(out + "/P0000.jpg"), green(out + "/P0001.jpg"), yellow(out + "/P0002.jpg");
    EXPECT_GT(qRed(red.pixel(20, 15)), 200);
    EXPECT_GT(qGreen(green.pixel(28, 12)), 120);
    EXPECT_GT(qGreen(yellow.pixel(15, 10)), 200);
    EXPECT_GT(qRed(yellow.pixel(15, 10)), 200);
    // A command-line run has no list to keep the taken-out pictures for: they go with it.
    EXPECT_TRUE(QDir(home.path() + "/user").entryList(QDir::Files).isEmpty());
}
