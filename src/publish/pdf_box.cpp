#include "publish/pdf_box.h"

#include "batch/chinese_fonts.h"
#include "publish/publish_texts.h"

#include <QImage>
#include <QImageReader>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

// 0.1 mm per device unit.
constexpr int kUnitsPerInch = 254;

Qt::Alignment horizontal(int align)
{
    return align == kPdfAlignStart ? Qt::AlignLeft
        : align == kPdfAlignEnd    ? Qt::AlignRight
                                   : Qt::AlignHCenter;
}

Qt::Alignment vertical(int align)
{
    return align == kPdfAlignStart ? Qt::AlignTop
        : align == kPdfAlignEnd    ? Qt::AlignBottom
                                   : Qt::AlignVCenter;
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
        return picture.convertToFormat(QImage::Format_RGB888);
    QImage flat(picture.size(), QImage::Format_RGB888);
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
    : file_(filePath)
{
    installChineseFontSubstitutes();
    font_ = QFont(PublishTexts::kPdfFont);
    font_.setPointSize(12);
}

PdfBox::~PdfBox()
{
    // An unfinished document is dropped: QSaveFile discards what was not committed.
    if (painter_ && painter_->isActive())
        painter_->end();
}

int PdfBox::fail(const QString &message)
{
    error_ = message;
    return -1;
}

int PdfBox::requireDocument()
{
    if (!painter_ || !painter_->isActive() || ended_)
        return fail(QStringLiteral("文档尚未开始或已经结束。"));
    return 0;
}

int PdfBox::SetNumProp(int property, qint32 value)
{
    switch (property) {
    case kPdfTextColour:
        textColour_ = value < 0 ? QColor(Qt::black) : colourValue(value);
        return 0;
    case kPdfFontSize:
        if (value <= 0 || value > 1000)
            return fail(QStringLiteral("字体大小无效:%1。").arg(value));
        font_.setPointSize(value);
        return 0;
    case kPdfPictureFit:
        if (value != 1 && value != 2)
            return fail(QStringLiteral("图片缩放方式无效:%1。").arg(value));
        pictureFit_ = value;
        return 0;
    case kPdfUnits:
        if (value != 1)
            return fail(QStringLiteral("不支持的页面单位:%1。").arg(value));
        return 0;
    case kPdfPictureScale:
        if (value <= 0 || value > 100)
            return fail(QStringLiteral("图片比例无效:%1。").arg(value));
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
        return fail(QStringLiteral("未知的数值属性:%1。").arg(property));
    }
}

int PdfBox::SetStrProp(int property, const QString &value)
{
    switch (property) {
    case kPdfFontName:
        font_.setFamily(value);
        return 0;
    case kPdfTitle:
        title_ = value;
        if (writer_)
            writer_->setTitle(value);
        return 0;
    default:
        return fail(QStringLiteral("未知的文本属性:%1。").arg(property));
    }
}

int PdfBox::BeginDoc()
{
    if (writer_)
        return fail(QStringLiteral("文档已经开始。"));
    if (!file_.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("无法创建PDF文件:%1(%2)。").arg(file_.fileName(), file_.errorString()));
    writer_ = std::make_unique<QPdfWriter>(&file_);
    writer_->setResolution(kUnitsPerInch);
    writer_->setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer_->setTitle(title_);
    writer_->setCreator(QStringLiteral("Tuvo"));
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(writer_.get()))
        return fail(QStringLiteral("无法开始PDF文档:%1。").arg(file_.fileName()));
    painter_->setRenderHint(QPainter::SmoothPixmapTransform);
    return 0;
}

int PdfBox::NewPage()
{
    if (requireDocument() < 0)
        return -1;
    if (!writer_->newPage())
        return fail(QStringLiteral("无法添加新页。"));
    return 0;
}

int PdfBox::DrawText(int left, int top, int right, int bottom, int alignX, int alignY, const QString &text)
{
    if (requireDocument() < 0)
        return -1;
    if (text.isEmpty())
        return 0;
    painter_->setFont(font_);
    painter_->setPen(textColour_);
    const QRect box(QPoint(left, top), QPoint(right - 1, bottom - 1));
    // Texts may be taller than their strip (the caption strip is 2 mm high):
    // they stay centred on it and are not clipped.
    painter_->drawText(
        box, int(horizontal(alignX) | vertical(alignY)) | Qt::TextWordWrap | Qt::TextDontClip, text);
    return 0;
}

int PdfBox::StretchDrawFromFile(int left, int top, int right, int bottom, const QString &path)
{
    if (requireDocument() < 0)
        return -1;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage picture = reader.read();
    if (picture.isNull())
        return fail(QStringLiteral("无法读取图片:%1(%2)。").arg(path, reader.errorString()));

    const QRectF box(left, top, right - left, bottom - top);
    QSizeF size = box.size();
    if (pictureFit_ == 2)
        size = QSizeF(picture.size()).scaled(box.size(), Qt::KeepAspectRatio);
    size *= pictureScale_ / 100.0;
    const QRectF target(box.left() + alignedOffset(box.width(), size.width(), pictureAlignX_),
        box.top() + alignedOffset(box.height(), size.height(), pictureAlignY_), size.width(), size.height());
    painter_->drawImage(target, opaque(picture));
    if (pictureBorder_ >= 0) {
        painter_->setPen(QPen(colourValue(pictureBorder_), 2));
        painter_->setBrush(Qt::NoBrush);
        painter_->drawRect(target);
    }
    return 0;
}

int PdfBox::EndDoc()
{
    if (requireDocument() < 0)
        return -1;
    ended_ = true;
    if (!painter_->end())
        return fail(QStringLiteral("无法完成PDF文档。"));
    writer_.reset();
    if (!file_.commit())
        return fail(QStringLiteral("无法保存PDF文件:%1(%2)。").arg(file_.fileName(), file_.errorString()));
    return 0;
}
