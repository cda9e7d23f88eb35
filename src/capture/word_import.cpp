#include "capture/word_import.h"

#include "capture/capture_texts.h"
#include "capture/doc_conversion.h"
#include "capture/docx_parts.h"
#include "capture/new_picture_file.h"
#include "imaging/encoders.h"
#include "imaging/picture_limits.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

namespace {

QString formatName(const QString &part, const QByteArray &bytes)
{
    if (bytes.startsWith(QByteArray("\x01\x00\x00\x00", 4)) && bytes.mid(40, 4) == " EMF")
        return QStringLiteral("EMF");
    if (bytes.startsWith("\xD7\xCD\xC6\x9A") || bytes.startsWith(QByteArray("\x01\x00\x09\x00", 4)))
        return QStringLiteral("WMF");
    return QFileInfo(part).suffix().toUpper();
}

// The picture as JPEG bytes: JPEG data as it is, anything else decoded, laid on
// white (JPEG has no transparency) and encoded.
QByteArray asJpeg(const QByteArray &bytes, const QString &part, int quality, QString *error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && !pictureFitsLimit(size, error))
        return {};
    QImage image = reader.read();
    if (image.isNull()) {
        const QString format = formatName(part, bytes);
        *error = format.isEmpty() ? QCoreApplication::translate("tuvo", "图片无法解码")
                                  : QCoreApplication::translate("tuvo", "%1格式的图片无法解码").arg(format);
        return {};
    }
    if (looksLikeJpegBytes(bytes))
        return bytes;
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
    }
    return encodeJpeg(flat, quality, error);
}

struct OpenedDocument {
    QString docxPath;
    QTemporaryDir scratch; // holds the converted .docx of a .doc
};

bool prepareDocx(
    const QString &path, const WordImportOptions &options, OpenedDocument &doc, WordImportResult &result)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("doc"), Qt::CaseInsensitive) != 0) {
        doc.docxPath = path;
        return true;
    }
    const QString soffice = options.soffice.isEmpty() ? findSoffice() : options.soffice;
    if (soffice.isEmpty()) {
        result.message = captureTexts::docNeedsLibreOffice();
        result.messageIsError = true;
        return false;
    }
    QString error;
    if (doc.scratch.isValid())
        doc.docxPath = convertDocToDocx(soffice, path, doc.scratch.path(), &error);
    else
        error = QCoreApplication::translate("tuvo", "无法创建临时文件夹");
    if (doc.docxPath.isEmpty()) {
        result.message = captureTexts::docConversionFailed(error);
        result.messageIsError = true;
        return false;
    }
    return true;
}

} // namespace

bool looksLikeJpegBytes(const QByteArray &bytes)
{
    return bytes.size() >= 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 && uchar(bytes[2]) == 0xFF;
}

WordImportResult importWordPictures(
    const QString &path, const QString &userDir, const WordImportOptions &options)
{
    WordImportResult result;
    const auto fail = [&result](const QString &why) {
        result.message = captureTexts::cannotReadDocument(why);
        result.messageIsError = true;
        return result;
    };

    OpenedDocument doc;
    if (!prepareDocx(path, options, doc, result))
        return result;

    DocxPackage package(options.limits);
    QString error;
    if (!package.open(doc.docxPath, &error))
        return fail(error);

    QString main = QStringLiteral("word/document.xml");
    if (package.contains(QStringLiteral("_rels/.rels"))) {
        const QByteArray rels = package.readXml(QStringLiteral("_rels/.rels"), &error);
        main = mainDocumentPart(parseRelationships(rels, QString(), &error));
    }
    error.clear();
    const QByteArray body = package.readXml(main, &error);
    if (body.isEmpty())
        return fail(error.isEmpty() ? QCoreApplication::translate("tuvo", "文档正文是空的") : error);
    QString xmlProblem;
    const QStringList ids = inlinePictureIds(body, &xmlProblem);
    if (ids.isEmpty()) {
        if (!xmlProblem.isEmpty())
            return fail(xmlProblem);
        result.message = captureTexts::noPicturesInDocument();
        return result;
    }
    // The pictures before a fault in the XML are still good.
    if (!xmlProblem.isEmpty())
        result.errorLines << captureTexts::cannotReadDocument(xmlProblem);

    DocxRelationships rels;
    const QString relsPart = relationshipsPartOf(main);
    if (package.contains(relsPart)) {
        const QByteArray relsXml = package.readXml(relsPart, &error);
        rels = parseRelationships(relsXml, main, &error);
    }

    int counter = 0;
    for (const QString &id : ids) {
        ++counter;
        const auto rel = rels.byId.constFind(id);
        QString why;
        QByteArray jpeg;
        QString part = id;
        if (rel == rels.byId.cend()) {
            why = QCoreApplication::translate("tuvo", "文档里找不到它的数据(关系%1缺失)").arg(id);
        } else if (rel->external) {
            part = rel->target;
            why = QCoreApplication::translate("tuvo", "它是链接到文档外的图片");
        } else if (rel->escapes) {
            why = QCoreApplication::translate("tuvo", "它的位置指向文档之外");
        } else {
            part = rel->target;
            const QByteArray bytes = package.readPart(part, &why);
            if (!bytes.isEmpty())
                jpeg = asJpeg(bytes, part, options.jpegQuality, &why);
        }
        QString written;
        if (!jpeg.isEmpty()) {
            const QString stem
                = options.clock().toString(QStringLiteral("yyyyMMddHHmmss")) + QString::number(counter);
            written = writeNewPicture(jpeg, userDir, stem, QStringLiteral("jpg"), &why);
        }
        if (written.isEmpty())
            result.errorLines << captureTexts::pictureSkipped(counter, QFileInfo(part).fileName(), why);
        else
            result.pictures << written;
    }
    return result;
}
