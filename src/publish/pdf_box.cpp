#include "publish/pdf_box.h"

#include "fs/committed_file.h"
#include "imaging/chinese_fonts.h"
#include "publish/publish_texts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <cairo-pdf.h>
#include <cairo.h>
#include <cmath>
#include <cstring>
#include <pango/pangocairo.h>

namespace {

// Page units are 0.1 mm; cairo's PDF unit is the point (1/72 inch).
constexpr double kUnitsPerInch = 254.0;
constexpr double kPointsPerUnit = 72.0 / kUnitsPerInch;

PangoAlignment horizontal(int align)
{
    return align == kPdfAlignStart ? PANGO_ALIGN_LEFT
        : align == kPdfAlignEnd    ? PANGO_ALIGN_RIGHT
                                   : PANGO_ALIGN_CENTER;
}

cairo_status_t writeToFile(void *file, const unsigned char *data, unsigned int length)
{
    auto *out = static_cast<CommittedFile *>(file);
    return out->write(reinterpret_cast<const char *>(data), qint64(length)) == qint64(length)
        ? CAIRO_STATUS_SUCCESS
        : CAIRO_STATUS_WRITE_ERROR;
}

// The family and the installed CJK families it stands for, as Pango reads a list.
QByteArray pangoFamilies(const QString &family)
{
    installChineseFontSubstitutes();
    return (QStringList {family} + QFont::substitutes(family)).join(QLatin1Char(',')).toUtf8();
}

void freeBytes(void *bytes)
{
    delete static_cast<QByteArray *>(bytes);
}

// A cairo copy of the picture; a JPEG file drawn as it is stored keeps its own
// bytes in the PDF instead of being compressed again.
cairo_surface_t *cairoPicture(const QImage &picture, const QByteArray &jpegBytes)
{
    cairo_surface_t *surface
        = cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width(), picture.height());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
        return surface;
    cairo_surface_flush(surface);
    unsigned char *data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const qsizetype rowBytes = qsizetype(picture.width()) * 4;
    for (int y = 0; y < picture.height(); ++y)
        std::memcpy(data + qsizetype(y) * stride, picture.constScanLine(y), size_t(rowBytes));
    cairo_surface_mark_dirty(surface);
    if (!jpegBytes.isEmpty()) {
        auto *bytes = new QByteArray(jpegBytes);
        if (cairo_surface_set_mime_data(surface, CAIRO_MIME_TYPE_JPEG,
                reinterpret_cast<const unsigned char *>(bytes->constData()), (unsigned long)bytes->size(),
                freeBytes, bytes)
            != CAIRO_STATUS_SUCCESS)
            delete bytes;
    }
    return surface;
}

QColor colourValue(qint32 value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

// Offset of a span of size inner inside outer for an alignment code.
qreal alignedOffset(qreal outer, qreal inner, int align)
{
    if (align == kPdfAlignStart)
        return 0;
    if (align == kPdfAlignEnd)
        return outer - inner;
    return (outer - inner) / 2;
}

// PDF pages have no transparency behind them: flatten onto white so that each
// picture is one image object.
QImage opaque(const QImage &picture)
{
    if (!picture.hasAlphaChannel())
        return picture.convertToFormat(QImage::Format_RGB32);
    QImage flat(picture.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter p(&flat);
    p.drawImage(0, 0, picture);
    p.end();
    return flat;
}

} // namespace

std::unique_ptr<PdfBox> PdfBox::CreateBox(const QString &filePath)
{
    return std::unique_ptr<PdfBox>(new PdfBox(filePath));
}

PdfBox::PdfBox(const QString &filePath)
    : filePath_(filePath)
    , fontFamily_(PublishTexts::kPdfFont)
{
}

PdfBox::~PdfBox()
{
    // An unfinished document is dropped: the CommittedFile discards what was not committed.
    if (cr_)
        cairo_destroy(cr_);
    if (surface_) {
        cairo_surface_finish(surface_);
        cairo_surface_destroy(surface_);
    }
}

int PdfBox::fail(const QString &message)
{
    error_ = message;
    return -1;
}

int PdfBox::requireDocument()
{
    if (!begun_ || ended_)
        return fail(QCoreApplication::translate("tuvo", "文档尚未开始或已经结束。"));
    return 0;
}

int PdfBox::checkCairo(const QString &what)
{
    const cairo_status_t status = cairo_status(cr_);
    if (status == CAIRO_STATUS_SUCCESS)
        return 0;
    if (status == CAIRO_STATUS_WRITE_ERROR)
        return fail(QCoreApplication::translate("tuvo", "无法写入PDF文件:%1(%2)。")
                        .arg(filePath_, file_->errorString()));
    return fail(what + QStringLiteral("(") + QString::fromUtf8(cairo_status_to_string(status))
        + QCoreApplication::translate("tuvo", ")。"));
}

int PdfBox::SetNumProp(int property, qint32 value)
{
    switch (property) {
    case kPdfTextColour:
        textColour_ = value < 0 ? QColor(Qt::black) : colourValue(value);
        return 0;
    case kPdfFontSize:
        if (value <= 0 || value > 1000)
            return fail(QCoreApplication::translate("tuvo", "字体大小无效:%1。").arg(value));
        fontSize_ = value;
        return 0;
    case kPdfPictureFit:
        if (value != 1 && value != 2)
            return fail(QCoreApplication::translate("tuvo", "图片缩放方式无效:%1。").arg(value));
        pictureFit_ = value;
        return 0;
    case kPdfUnits:
        if (value != 1)
            return fail(QCoreApplication::translate("tuvo", "不支持的页面单位:%1。").arg(value));
        return 0;
    case kPdfPictureScale:
        if (value <= 0 || value > 100)
            return fail(QCoreApplication::translate("tuvo", "图片比例无效:%1。").arg(value));
        pictureScale_ = value;
        return 0;
    case kPdfPictureBorder:
        pictureBorder_ = value;
        return 0;
    case kPdfPictureAlignX:
        pictureAlignX_ = value;
        return 0;
    case kPdfPictureAlignY:
        pictureAlignY_ = value;
        return 0;
    default:
        return fail(QCoreApplication::translate("tuvo", "未知的数值属性:%1。").arg(property));
    }
}

int PdfBox::SetStrProp(int property, const QString &value)
{
    switch (property) {
    case kPdfFontName:
        fontFamily_ = value;
        return 0;
    case kPdfTitle:
        title_ = value;
        if (surface_)
            cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, value.toUtf8().constData());
        return 0;
    default:
        return fail(QCoreApplication::translate("tuvo", "未知的文本属性:%1。").arg(property));
    }
}

int PdfBox::BeginDoc()
{
    if (begun_)
        return fail(QCoreApplication::translate("tuvo", "文档已经开始。"));
    file_ = std::make_unique<CommittedFile>(filePath_);
    if (!file_->open(QIODevice::WriteOnly))
        return fail(QCoreApplication::translate("tuvo", "无法创建PDF文件:%1(%2)。")
                        .arg(filePath_, file_->errorString()));
    // Whole points, as PDF readers list A4: 595 x 842.
    surface_ = cairo_pdf_surface_create_for_stream(writeToFile, file_.get(),
        std::round(kPageWidth * kPointsPerUnit), std::round(kPageHeight * kPointsPerUnit));
    cr_ = cairo_create(surface_);
    begun_ = true;
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, title_.toUtf8().constData());
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_CREATOR, "Tuvo");
    cairo_scale(cr_, kPointsPerUnit, kPointsPerUnit);
    return checkCairo(QCoreApplication::translate("tuvo", "无法开始PDF文档"));
}

int PdfBox::NewPage()
{
    if (requireDocument() < 0)
        return -1;
    cairo_show_page(cr_);
    return checkCairo(QCoreApplication::translate("tuvo", "无法添加新页"));
}

int PdfBox::DrawText(int left, int top, int right, int bottom, int alignX, int alignY, const QString &text)
{
    if (requireDocument() < 0)
        return -1;
    if (text.isEmpty())
        return 0;
    PangoLayout *layout = pango_cairo_create_layout(cr_);
    PangoFontDescription *font = pango_font_description_new();
    pango_font_description_set_family(font, pangoFamilies(fontFamily_).constData());
    // Points are physical: a 30 pt title is 30/72 inch tall on the page.
    pango_font_description_set_absolute_size(font, fontSize_ * kUnitsPerInch / 72.0 * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    pango_layout_set_width(layout, (right - left) * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout, horizontal(alignX));
    const QByteArray utf8 = text.toUtf8();
    pango_layout_set_text(layout, utf8.constData(), int(utf8.size()));
    PangoRectangle extents;
    pango_layout_get_extents(layout, nullptr, &extents);
    // Texts may be taller than their strip (the caption strip is 2 mm high):
    // they stay centred on it and are not clipped.
    const double height = double(extents.height) / PANGO_SCALE;
    cairo_set_source_rgb(cr_, textColour_.redF(), textColour_.greenF(), textColour_.blueF());
    cairo_move_to(cr_, left, top + alignedOffset(bottom - top, height, alignY));
    pango_cairo_show_layout(cr_, layout);
    g_object_unref(layout);
    return checkCairo(QCoreApplication::translate("tuvo", "无法绘制文字"));
}

int PdfBox::StretchDrawFromFile(int left, int top, int right, int bottom, const QString &path)
{
    if (requireDocument() < 0)
        return -1;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const bool jpeg = reader.format() == "jpeg";
    const QImage picture = reader.read();
    if (picture.isNull())
        return fail(
            QCoreApplication::translate("tuvo", "无法读取图片:%1(%2)。").arg(path, reader.errorString()));
    QByteArray jpegBytes;
    if (jpeg && reader.transformation() == QImageIOHandler::TransformationNone) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            jpegBytes = file.readAll();
    }

    const QRectF box(left, top, right - left, bottom - top);
    QSizeF size = box.size();
    if (pictureFit_ == 2)
        size = QSizeF(picture.size()).scaled(box.size(), Qt::KeepAspectRatio);
    size *= pictureScale_ / 100.0;
    const QRectF target(box.left() + alignedOffset(box.width(), size.width(), pictureAlignX_),
        box.top() + alignedOffset(box.height(), size.height(), pictureAlignY_), size.width(), size.height());

    cairo_surface_t *image = cairoPicture(opaque(picture), jpegBytes);
    cairo_save(cr_);
    cairo_translate(cr_, target.left(), target.top());
    cairo_scale(cr_, target.width() / picture.width(), target.height() / picture.height());
    cairo_set_source_surface(cr_, image, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_GOOD);
    cairo_paint(cr_);
    cairo_restore(cr_);
    cairo_surface_destroy(image);
    if (pictureBorder_ >= 0) {
        const QColor border = colourValue(pictureBorder_);
        cairo_set_source_rgb(cr_, border.redF(), border.greenF(), border.blueF());
        cairo_set_line_width(cr_, 2);
        cairo_rectangle(cr_, target.left(), target.top(), target.width(), target.height());
        cairo_stroke(cr_);
    }
    return checkCairo(QCoreApplication::translate("tuvo", "无法绘制图片:") + path);
}

int PdfBox::EndDoc()
{
    if (requireDocument() < 0)
        return -1;
    ended_ = true;
    cairo_destroy(cr_);
    cr_ = nullptr;
    cairo_surface_finish(surface_);
    const cairo_status_t status = cairo_surface_status(surface_);
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
    if (status != CAIRO_STATUS_SUCCESS || !file_->tail().contains("%%EOF"))
        return fail(
            QCoreApplication::translate("tuvo", "无法写入PDF文件:%1(%2)。")
                .arg(filePath_,
                    status == CAIRO_STATUS_WRITE_ERROR ? file_->errorString()
                                                       : QString::fromUtf8(cairo_status_to_string(status))));
    if (!file_->commit())
        return fail(QCoreApplication::translate("tuvo", "无法保存PDF文件:%1(%2)。")
                        .arg(filePath_, file_->errorString()));
    return 0;
}
