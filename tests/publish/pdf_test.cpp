#include "job/job_settings.h"
#include "publish/make_pdf.h"
#include "publish/poppler.h"
#include "support/qstring_printer.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>

namespace {

QString writePicture(const QTemporaryDir &dir, const QString &name, QSize size, QColor colour)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    const QString path = dir.filePath(name);
    EXPECT_TRUE(picture.save(path));
    return path;
}

JobSettings pdfJob(const QTemporaryDir &out)
{
    JobSettings job;
    job.sOutDir = out.path();
    job.sPDF3 = QStringLiteral("2014年12月05日");
    return job;
}

// Bounding box of the pixels that match.
QRect pixelsWhere(const QImage &page, const std::function<bool(QRgb)> &match)
{
    QRect box;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (match(page.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

bool nearRect(const QRect &a, const QRect &b, int tolerance)
{
    return std::abs(a.left() - b.left()) <= tolerance && std::abs(a.top() - b.top()) <= tolerance
        && std::abs(a.right() - b.right()) <= tolerance && std::abs(a.bottom() - b.bottom()) <= tolerance;
}

} // namespace

TEST(PdfName, TitleBecomesASafeFileName)
{
    EXPECT_EQ(pdfFileName(QStringLiteral("Tuvo图片集")), QStringLiteral("Tuvo图片集.pdf"));
    EXPECT_EQ(pdfFileName(QStringLiteral("a/b:c*?\"<>|\\d")), QStringLiteral("a_b_c_______d.pdf"));
    EXPECT_EQ(pdfFileName(QString()), QStringLiteral("Tuvo.pdf"));
    EXPECT_EQ(pdfFileName(QStringLiteral("   ")), QStringLiteral("Tuvo.pdf"));
    EXPECT_EQ(pdfFileName(QString(300, QLatin1Char('x'))).size(), 84);
}

TEST(MakePdf, TitlePicturesWithCaptionsAndClosingPage)
{
    QTemporaryDir in, out;
    JobSettings job = pdfJob(out);
    job.PicCaptions = {QStringLiteral("海边日落"), QString(), QStringLiteral("山顶")};
    const QStringList written = {writePicture(in, QStringLiteral("a.jpg"), {800, 600}, Qt::red),
        writePicture(in, QStringLiteral("b.png"), {300, 900}, Qt::green),
        writePicture(in, QStringLiteral("c.bmp"), {640, 480}, Qt::blue)};
    QString message;
    int pages = 0;
    ASSERT_TRUE(MakePdf(job, written, &message, [&] { ++pages; })) << message.toStdString();
    EXPECT_EQ(pages, 3);

    const QString pdf = out.filePath(QStringLiteral("Tuvo图片集.pdf"));
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(poppler::pageCount(pdf), 5);
    EXPECT_EQ(poppler::pageSize(pdf), QStringLiteral("595 x 842 pts (A4)"));

    EXPECT_EQ(poppler::pageText(pdf, 1), QStringLiteral("Tuvo图片集"));
    EXPECT_EQ(poppler::pageText(pdf, 2), QStringLiteral("海边日落"));
    EXPECT_EQ(poppler::pageText(pdf, 3), QString());
    EXPECT_EQ(poppler::pageText(pdf, 4), QStringLiteral("山顶"));
    const QString closing = poppler::pageText(pdf, 5);
    EXPECT_TRUE(closing.contains(QStringLiteral("本图片集由Tuvo图片批量处理软件制作")))
        << closing.toStdString();
    EXPECT_TRUE(closing.contains(QStringLiteral("2014年12月05日"))) << closing.toStdString();

    EXPECT_EQ(poppler::imagePages(pdf), (QStringList {"2", "3", "4"}));

    // The CJK family is embedded, so the file reads the same everywhere.
    const QString fonts = poppler::run(QStringLiteral("pdffonts"), {pdf});
    EXPECT_TRUE(fonts.contains(QStringLiteral("CJK"))) << fonts.toStdString();
    EXPECT_EQ(poppler::fontsNotEmbedded(pdf), QStringList()) << fonts.toStdString();
}

// CJK fonts draw an ideograph and its Kangxi radical with one glyph (片 and U+2F5A);
// the text layer must still give back the ideograph. 𠀀 and 𠮟 lie outside the BMP.
TEST(MakePdf, TextLayerGivesBackExactlyTheCharactersDrawn)
{
    QTemporaryDir in, out;
    JobSettings job = pdfJob(out);
    job.sPDF1 = QStringLiteral("图片集 片文月日 𠀀𠮟");
    job.sPDF2 = QStringLiteral("本图片集由Tuvo制作");
    job.sPDF3 = QStringLiteral("2014年12月05日");
    job.PicCaptions = {QStringLiteral("日月<片>&文")};
    QString message;
    ASSERT_TRUE(MakePdf(job, {writePicture(in, QStringLiteral("a.jpg"), {80, 60}, Qt::red)}, &message))
        << message.toStdString();
    const QString pdf = out.filePath(pdfFileName(job.sPDF1));

    const auto codePoints = [](const QString &text) {
        return text.toUcs4();
    };
    EXPECT_EQ(codePoints(poppler::pageText(pdf, 1)), codePoints(job.sPDF1));
    EXPECT_EQ(codePoints(poppler::pageText(pdf, 2)), codePoints(job.PicCaptions[0]));
    EXPECT_EQ(codePoints(poppler::pageText(pdf, 3)), codePoints(job.sPDF2 + QLatin1Char('\n') + job.sPDF3));
}

// Rendered at 25.4 dpi, one pixel is one millimetre: 10 page units.
TEST(MakePdf, PicturesFitTheirRectangleCentredAndCaptionsSitBelow)
{
    QTemporaryDir in, out;
    JobSettings job = pdfJob(out);
    job.PicCaptions = {QStringLiteral("宽图片的说明文字"), QString()};
    const QStringList written = {writePicture(in, QStringLiteral("wide.jpg"), {800, 400}, Qt::red),
        writePicture(in, QStringLiteral("tall.png"), {100, 400}, Qt::blue)};
    QString message;
    ASSERT_TRUE(MakePdf(job, written, &message)) << message.toStdString();
    const QString pdf = out.filePath(QStringLiteral("Tuvo图片集.pdf"));

    auto red = [](QRgb c) {
        return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
    };
    auto blue = [](QRgb c) {
        return qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60;
    };
    auto ink = [](QRgb c) {
        return qGray(c) < 128;
    };

    // Wide: the full width 3..208 mm, 102.5 mm high, centred on the box's middle (142 mm).
    const QImage wide = poppler::renderPage(pdf, 2, 25.4);
    ASSERT_EQ(wide.width(), 210);
    ASSERT_NEAR(wide.height(), 297, 1);
    EXPECT_TRUE(nearRect(pixelsWhere(wide, red), QRect(QPoint(3, 91), QPoint(207, 193)), 1));
    // The caption is centred on the strip at 280-282 mm.
    const QRect caption = pixelsWhere(wide.copy(0, 250, 210, 47), ink).translated(0, 250);
    EXPECT_FALSE(caption.isEmpty());
    EXPECT_NEAR(caption.center().x(), 105, 2);
    EXPECT_NEAR(caption.center().y(), 281, 2);

    // Tall: the full height 4..280 mm, 69 mm wide, centred on 105.5 mm; no caption ink.
    const QImage tall = poppler::renderPage(pdf, 3, 25.4);
    EXPECT_TRUE(nearRect(pixelsWhere(tall, blue), QRect(QPoint(71, 4), QPoint(139, 279)), 1));
    EXPECT_TRUE(pixelsWhere(tall.copy(0, 281, 210, 16), ink).isEmpty());

    // Closing page: the date lies below the signature, both centred.
    const QImage closing = poppler::renderPage(pdf, 4, 25.4);
    const QRect text = pixelsWhere(closing, ink);
    EXPECT_NEAR(text.center().x(), 105, 3);
    EXPECT_NEAR(text.top(), 142 - 3, 3);
    EXPECT_NEAR(text.bottom(), 159 + 3, 3);
}

TEST(MakePdf, FailedPicturesArePassedOverWithoutCuttingTheRest)
{
    QTemporaryDir in, out;
    JobSettings job = pdfJob(out);
    job.sPDF1 = QString();
    job.PicCaptions = {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")};
    QStringList written(kListTableSize);
    written[0] = writePicture(in, QStringLiteral("a.jpg"), {100, 100}, Qt::red);
    written[2] = writePicture(in, QStringLiteral("c.jpg"), {100, 100}, Qt::blue);
    QString message;
    ASSERT_TRUE(MakePdf(job, written, &message)) << message.toStdString();

    const QString pdf = out.filePath(QStringLiteral("Tuvo.pdf"));
    EXPECT_EQ(poppler::pageCount(pdf), 4);
    EXPECT_EQ(poppler::pageText(pdf, 2), QStringLiteral("一"));
    EXPECT_EQ(poppler::pageText(pdf, 3), QStringLiteral("三"));
    EXPECT_EQ(poppler::imagePages(pdf), (QStringList {"2", "3"}));
}

TEST(MakePdf, WriterFailureEndsTheStepWithItsTextAndLeavesNoFile)
{
    QTemporaryDir in, out;
    JobSettings job = pdfJob(out);
    const QString broken = in.filePath(QStringLiteral("broken.jpg"));
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    QString message;
    EXPECT_FALSE(
        MakePdf(job, {writePicture(in, QStringLiteral("a.jpg"), {50, 50}, Qt::red), broken}, &message));
    EXPECT_TRUE(message.contains(broken)) << message.toStdString();
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // An earlier collection of the same name stays whole.
    const QString pdf = out.filePath(QStringLiteral("Tuvo图片集.pdf"));
    ASSERT_TRUE(MakePdf(job, {}, &message));
    const qint64 size = QFileInfo(pdf).size();
    EXPECT_FALSE(MakePdf(job, {broken}, &message));
    EXPECT_EQ(QFileInfo(pdf).size(), size);
    EXPECT_EQ(poppler::pageCount(pdf), 2);

    job.sOutDir = out.filePath(QStringLiteral("no/such/folder"));
    EXPECT_FALSE(MakePdf(job, {}, &message));
    EXPECT_FALSE(message.isEmpty());
}
