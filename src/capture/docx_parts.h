#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// The XML of a .docx that leads to its pictures: the package relationships name
// the main document part, the document's relationships map ids to media parts,
// and the document body refers to its pictures by those ids.

struct DocxRelationship {
    QString target; // a part name inside the package, or the raw external target
    bool external = false; // TargetMode="External": a linked file, not in the package
    bool escapes = false; // the target points outside the package ("../../x")
};

struct DocxRelationships {
    QHash<QString, DocxRelationship> byId;
    QString officeDocument; // the target of the officeDocument relationship, if any
};

// The relationships of sourcePart, targets resolved against its folder. *error is
// set when the XML is malformed (the relationships read so far are kept).
DocxRelationships parseRelationships(const QByteArray &xml, const QString &sourcePart, QString *error);

// "word/document.xml" -> "word/_rels/document.xml.rels"; "" -> "_rels/.rels".
QString relationshipsPartOf(const QString &part);

// Resolves a relationship target: relative to the folder of sourcePart, or from the
// package root when it starts with "/". False when ".." climbs out of the package.
bool resolvePartName(const QString &sourcePart, const QString &target, QString *partName);

// The main document part named by the package relationships, or word/document.xml.
QString mainDocumentPart(const DocxRelationships &packageRelationships);

// The relationship ids of the document's inline pictures in document order: one per
// wp:inline drawing (its first a:blip) and one per inline VML picture (w:pict whose
// shape is not absolutely positioned). Floating pictures (wp:anchor, positioned
// VML shapes) and mc:Fallback copies are skipped. *error on malformed XML.
QStringList inlinePictureIds(const QByteArray &documentXml, QString *error);
