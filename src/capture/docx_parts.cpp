#include "capture/docx_parts.h"

#include <QCoreApplication>
#include <QUrl>
#include <QXmlStreamReader>

namespace {

const QString kOfficeDocumentType = QStringLiteral("/officeDocument");

// Transitional and strict OOXML spell the namespaces differently; the local name
// and the tail of the namespace are enough to tell the elements apart.
bool isNs(QStringView ns, QStringView transitional, QStringView strict)
{
    return ns == transitional || ns == strict;
}

bool isWp(QStringView ns)
{
    return isNs(ns, u"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing",
        u"http://purl.oclc.org/ooxml/drawingml/wordprocessingDrawing");
}

bool isDrawingMain(QStringView ns)
{
    return isNs(ns, u"http://schemas.openxmlformats.org/drawingml/2006/main",
        u"http://purl.oclc.org/ooxml/drawingml/main");
}

bool isWordMain(QStringView ns)
{
    return isNs(ns, u"http://schemas.openxmlformats.org/wordprocessingml/2006/main",
        u"http://purl.oclc.org/ooxml/wordprocessingml/main");
}

bool isMarkupCompatibility(QStringView ns)
{
    return ns == u"http://schemas.openxmlformats.org/markup-compatibility/2006";
}

bool isVml(QStringView ns)
{
    return ns == u"urn:schemas-microsoft-com:vml";
}

QString relationshipAttribute(const QXmlStreamAttributes &attributes, QStringView name)
{
    for (const QXmlStreamAttribute &a : attributes) {
        if (a.name() == name
            && isNs(a.namespaceUri(), u"http://schemas.openxmlformats.org/officeDocument/2006/relationships",
                u"http://purl.oclc.org/ooxml/officeDocument/relationships"))
            return a.value().toString();
    }
    return {};
}

QString xmlError(const QXmlStreamReader &xml)
{
    return QCoreApplication::translate("tuvo", "XML有误(第%1行): %2")
        .arg(xml.lineNumber())
        .arg(xml.errorString());
}

} // namespace

QString relationshipsPartOf(const QString &part)
{
    const int slash = int(part.lastIndexOf(QLatin1Char('/')));
    const QString folder = slash >= 0 ? part.left(slash + 1) : QString();
    const QString name = slash >= 0 ? part.mid(slash + 1) : part;
    return folder + QStringLiteral("_rels/") + name + QStringLiteral(".rels");
}

bool resolvePartName(const QString &sourcePart, const QString &target, QString *partName)
{
    QStringList parts;
    QString path = target;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!path.startsWith(QLatin1Char('/'))) {
        parts = sourcePart.split(QLatin1Char('/'));
        parts.removeLast(); // the source's own name
    }
    for (const QString &segment : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (segment == QLatin1String("."))
            continue;
        if (segment == QLatin1String("..")) {
            if (parts.isEmpty())
                return false;
            parts.removeLast();
            continue;
        }
        parts << segment;
    }
    if (parts.isEmpty())
        return false;
    *partName = parts.join(QLatin1Char('/'));
    return true;
}

DocxRelationships parseRelationships(const QByteArray &xml, const QString &sourcePart, QString *error)
{
    DocxRelationships out;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement() || reader.name() != u"Relationship")
            continue;
        const QXmlStreamAttributes a = reader.attributes();
        const QString id = a.value(QLatin1String("Id")).toString();
        if (id.isEmpty() || out.byId.contains(id))
            continue;
        const QString target = QUrl::fromPercentEncoding(a.value(QLatin1String("Target")).toUtf8());
        DocxRelationship rel;
        rel.external
            = a.value(QLatin1String("TargetMode")).compare(QLatin1String("External"), Qt::CaseInsensitive)
            == 0;
        if (rel.external)
            rel.target = target;
        else
            rel.escapes = !resolvePartName(sourcePart, target, &rel.target);
        if (a.value(QLatin1String("Type")).endsWith(kOfficeDocumentType) && !rel.external && !rel.escapes
            && out.officeDocument.isEmpty())
            out.officeDocument = rel.target;
        out.byId.insert(id, rel);
    }
    if (reader.hasError() && error)
        *error = xmlError(reader);
    return out;
}

QString mainDocumentPart(const DocxRelationships &packageRelationships)
{
    return packageRelationships.officeDocument.isEmpty() ? QStringLiteral("word/document.xml")
                                                         : packageRelationships.officeDocument;
}

QStringList inlinePictureIds(const QByteArray &documentXml, QString *error)
{
    QStringList ids;
    QXmlStreamReader reader(documentXml);
    int skipDepth = 0; // inside wp:anchor or mc:Fallback: nothing counts
    int inlineDepth = 0; // inside wp:inline
    bool inlineTaken = false;
    int pictDepth = 0; // inside w:pict
    bool pictTaken = false;
    bool pictFloating = false;
    QString pictId;

    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QStringView ns = reader.namespaceUri();
            const QStringView name = reader.name();
            if (skipDepth > 0) {
                ++skipDepth;
                continue;
            }
            if ((isWp(ns) && name == u"anchor") || (isMarkupCompatibility(ns) && name == u"Fallback")) {
                skipDepth = 1;
                continue;
            }
            if (inlineDepth > 0)
                ++inlineDepth;
            if (pictDepth > 0)
                ++pictDepth;
            if (isWp(ns) && name == u"inline" && inlineDepth == 0) {
                inlineDepth = 1;
                inlineTaken = false;
            } else if (inlineDepth > 0 && !inlineTaken && isDrawingMain(ns) && name == u"blip") {
                QString id = relationshipAttribute(reader.attributes(), u"embed");
                if (id.isEmpty())
                    id = relationshipAttribute(reader.attributes(), u"link");
                if (!id.isEmpty()) {
                    ids << id;
                    inlineTaken = true;
                }
            } else if (isWordMain(ns) && name == u"pict" && pictDepth == 0 && inlineDepth == 0) {
                pictDepth = 1;
                pictTaken = false;
                pictFloating = false;
                pictId.clear();
            } else if (pictDepth > 0 && isVml(ns)) {
                const QString style = reader.attributes().value(QLatin1String("style")).toString();
                if (style.contains(QLatin1String("position:absolute"), Qt::CaseInsensitive))
                    pictFloating = true;
                if (name == u"imagedata" && !pictTaken) {
                    pictId = relationshipAttribute(reader.attributes(), u"id");
                    pictTaken = !pictId.isEmpty();
                }
            }
        } else if (reader.isEndElement()) {
            if (skipDepth > 0) {
                --skipDepth;
                continue;
            }
            if (inlineDepth > 0)
                --inlineDepth;
            if (pictDepth > 0 && --pictDepth == 0 && pictTaken && !pictFloating)
                ids << pictId;
        }
    }
    if (reader.hasError() && error)
        *error = xmlError(reader);
    return ids;
}
