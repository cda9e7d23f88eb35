#include "publish/make_pdf.h"

#include "job/job_settings.h"
#include "publish/pdf_box.h"
#include "publish/publish_texts.h"

#include <QDir>

namespace {

// Rectangles of the layout, in page units.
struct Box {
    int left, top, right, bottom;
};
constexpr Box kTitleBox {30, 40, 2080, 2800};
constexpr Box kPictureBox {30, 40, 2080, 2800};
constexpr Box kCaptionBox {30, 2800, 2080, 2820};
constexpr Box kSignatureBox {30, 40, 2080, 2800};
constexpr Box kDateBox {30, 40, 2080, 3150};
constexpr int kTitleSize = 30;
constexpr int kTextSize = 16;

// File names of more bytes than most file systems take are cut.
constexpr int kMaxNameChars = 80;

int drawText(PdfBox &box, const Box &r, const QString &text)
{
    return box.DrawText(r.left, r.top, r.right, r.bottom, kPdfAlignCentre, kPdfAlignCentre, text);
}

// Each step is one writer call; the first failing one ends the document.
bool writeCollection(PdfBox &box, const JobSettings &job, const QStringList &outputFiles,
    const std::function<void()> &betweenPages)
{
    if (box.SetNumProp(kPdfUnits, 1) < 0 || box.SetStrProp(kPdfTitle, job.sPDF1) < 0 || box.BeginDoc() < 0)
        return false;
    if (box.SetStrProp(kPdfFontName, PublishTexts::kPdfFont) < 0
        || box.SetNumProp(kPdfFontSize, kTitleSize) < 0 || box.SetNumProp(kPdfTextColour, -1) < 0)
        return false;
    if (drawText(box, kTitleBox, job.sPDF1) < 0 || box.SetNumProp(kPdfFontSize, kTextSize) < 0)
        return false;

    for (int i = 0; i < outputFiles.size(); ++i) {
        const QString &path = outputFiles.at(i);
        if (path.isEmpty())
            continue;
        if (box.NewPage() < 0)
            return false;
        if (box.SetNumProp(kPdfPictureFit, 2) < 0 || box.SetNumProp(kPdfPictureScale, 100) < 0
            || box.SetNumProp(kPdfPictureBorder, -1) < 0
            || box.SetNumProp(kPdfPictureAlignX, kPdfAlignCentre) < 0
            || box.SetNumProp(kPdfPictureAlignY, kPdfAlignCentre) < 0)
            return false;
        const Box &p = kPictureBox;
        if (box.StretchDrawFromFile(p.left, p.top, p.right, p.bottom, path) < 0)
            return false;
        if (drawText(box, kCaptionBox, job.PicCaptions.value(i)) < 0)
            return false;
        if (betweenPages)
            betweenPages();
    }

    if (box.NewPage() < 0 || drawText(box, kSignatureBox, job.sPDF2) < 0
        || drawText(box, kDateBox, job.sPDF3) < 0)
        return false;
    return box.EndDoc() >= 0;
}

} // namespace

QString pdfFileName(const QString &title)
{
    QString name;
    for (const QChar c : title) {
        const bool forbidden = c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c);
        name += forbidden ? QLatin1Char('_') : c;
    }
    name = name.trimmed().left(kMaxNameChars).trimmed();
    if (name.isEmpty())
        return PublishTexts::kDefaultPdfName;
    return name + QLatin1String(".pdf");
}

QString pdfFilePath(const JobSettings &job)
{
    return QDir(job.sOutDir).filePath(pdfFileName(job.sPDF1));
}

bool MakePdf(const JobSettings &job, const QStringList &outputFiles, QString *message,
    const std::function<void()> &betweenPages)
{
    const std::unique_ptr<PdfBox> box = PdfBox::CreateBox(pdfFilePath(job));
    if (writeCollection(*box, job, outputFiles, betweenPages))
        return true;
    if (message)
        *message = box->GetErrorMsg();
    return false;
}
