#include "capture/docx_parts.h"
#include "support/qstring_printer.h"

#include <gtest/gtest.h>

namespace {

QByteArray body(const char *content)
{
    return QByteArray(
               R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"
 xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"
 xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main"
 xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"
 xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006"
 xmlns:v="urn:schemas-microsoft-com:vml"><w:body>)")
        + content + "</w:body></w:document>";
}

const char *inlineBlip(const char *id)
{
    static QByteArray kept;
    kept = QByteArray("<w:r><w:drawing><wp:inline><a:graphic><a:graphicData><a:blip r:embed=\"") + id
        + "\"/><a:blip r:embed=\"second\"/></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
    return kept.constData();
}

} // namespace

TEST(DocxParts, InlineDrawingsAndInlineVmlCountFloatingOnesDoNot)
{
    QByteArray xml = "<w:p>";
    xml += inlineBlip("rId1");
    xml += "<w:r><w:drawing><wp:anchor><a:blip r:embed=\"float\"/></wp:anchor></w:drawing></w:r>";
    xml += "<w:r><w:pict><v:shape style=\"width:10pt;height:10pt\"><v:imagedata "
           "r:id=\"vml\"/></v:shape></w:pict></w:r>";
    xml += "<w:r><w:pict><v:shape style=\"position:absolute;left:0\"><v:imagedata r:id=\"vmlFloat\"/>"
           "</v:shape></w:pict></w:r>";
    // Word writes a VML copy as the fallback of the same picture: it must not count twice.
    xml += "<mc:AlternateContent><mc:Choice Requires=\"wps\">";
    xml += inlineBlip("rId2");
    xml += "</mc:Choice><mc:Fallback><w:pict><v:shape><v:imagedata r:id=\"copy\"/></v:shape></w:pict>"
           "</mc:Fallback></mc:AlternateContent>";
    xml += "<w:r><w:drawing><wp:inline><a:graphic><a:graphicData uri=\"chart\"/></a:graphic></wp:inline>"
           "</w:drawing></w:r>";
    xml += inlineBlip("rId3");
    xml += "</w:p>";
    QString error;
    EXPECT_EQ(inlinePictureIds(body(xml.constData()), &error), (QStringList {"rId1", "vml", "rId2", "rId3"}));
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
}

TEST(DocxParts, MalformedXmlKeepsWhatCameBefore)
{
    QString error;
    QByteArray xml = body(inlineBlip("rId1"));
    xml.chop(20);
    xml += "<broken";
    EXPECT_EQ(inlinePictureIds(xml, &error), QStringList {"rId1"});
    EXPECT_FALSE(error.isEmpty());
}

TEST(DocxParts, StrictNamespacesAreUnderstood)
{
    const QByteArray xml = R"(<w:document xmlns:w="http://purl.oclc.org/ooxml/wordprocessingml/main"
 xmlns:wp="http://purl.oclc.org/ooxml/drawingml/wordprocessingDrawing"
 xmlns:a="http://purl.oclc.org/ooxml/drawingml/main"
 xmlns:r="http://purl.oclc.org/ooxml/officeDocument/relationships"><w:body><wp:inline><a:blip r:embed="s1"/>
</wp:inline></w:body></w:document>)";
    QString error;
    EXPECT_EQ(inlinePictureIds(xml, &error), QStringList {"s1"});
}

TEST(DocxParts, RelationshipTargetsResolveInsideThePackageOnly)
{
    const QByteArray rels
        = R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="a" Type="t/image" Target="media/image%201.png"/>
<Relationship Id="b" Type="t/image" Target="../customXml/pic.jpg"/>
<Relationship Id="c" Type="t/image" Target="/word/media/x.gif"/>
<Relationship Id="d" Type="t/image" Target="../../escape.png"/>
<Relationship Id="e" Type="t/image" Target="http://example.org/p.png" TargetMode="External"/>
<Relationship Id="a" Type="t/image" Target="media/duplicate.png"/>
</Relationships>)";
    QString error;
    const DocxRelationships r = parseRelationships(rels, QStringLiteral("word/document.xml"), &error);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(r.byId.value("a").target, QStringLiteral("word/media/image 1.png"));
    EXPECT_EQ(r.byId.value("b").target, QStringLiteral("customXml/pic.jpg"));
    EXPECT_EQ(r.byId.value("c").target, QStringLiteral("word/media/x.gif"));
    EXPECT_TRUE(r.byId.value("d").escapes);
    EXPECT_TRUE(r.byId.value("e").external);
    EXPECT_EQ(relationshipsPartOf(QStringLiteral("word/document.xml")),
        QStringLiteral("word/_rels/document.xml.rels"));
    EXPECT_EQ(relationshipsPartOf(QString()), QStringLiteral("_rels/.rels"));
}

TEST(DocxParts, MainDocumentComesFromThePackageRelationships)
{
    const QByteArray rels
        = R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="r1" Type="http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties" Target="docProps/core.xml"/>
<Relationship Id="r2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="/word/document2.xml"/>
</Relationships>)";
    QString error;
    EXPECT_EQ(
        mainDocumentPart(parseRelationships(rels, QString(), &error)), QStringLiteral("word/document2.xml"));
    EXPECT_EQ(mainDocumentPart(DocxRelationships()), QStringLiteral("word/document.xml"));
}
