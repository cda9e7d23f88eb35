#!/usr/bin/python3
"""Writes the Word documents the capture tests read into the folder given.

The test program puts the pictures there first (red.jpg, green.png, blue.png,
white.png, yellow.gif); python-docx lays them into real .docx files, and a few
packages are then damaged on purpose.
"""
import copy
import sys
import zipfile

import docx
from docx.oxml.ns import qn

out = sys.argv[1]


def picture(doc, name):
    doc.add_paragraph().add_run().add_picture(f"{out}/{name}")


def float_last_picture(doc):
    """Turns the last inline picture into a floating one (wp:anchor)."""
    inline = doc.element.body.findall(".//" + qn("wp:inline"))[-1]
    anchor = inline.makeelement(qn("wp:anchor"), {
        "distT": "0", "distB": "0", "distL": "0", "distR": "0", "simplePos": "0",
        "relativeHeight": "1", "behindDoc": "0", "locked": "0", "layoutInCell": "1",
        "allowOverlap": "1"})
    simple = anchor.makeelement(qn("wp:simplePos"), {"x": "0", "y": "0"})
    anchor.append(simple)
    for axis, rel in (("H", "column"), ("V", "paragraph")):
        pos = anchor.makeelement(qn("wp:position" + axis), {"relativeFrom": rel})
        off = pos.makeelement(qn("wp:posOffset"), {})
        off.text = "0"
        pos.append(off)
        anchor.append(pos)
    anchor.append(copy.deepcopy(inline.find(qn("wp:extent"))))
    anchor.append(anchor.makeelement(qn("wp:wrapNone"), {}))
    for child in ("wp:docPr", "wp:cNvGraphicFramePr", "a:graphic"):
        anchor.append(copy.deepcopy(inline.find(qn(child))))
    inline.getparent().replace(inline, anchor)


def replace_part(path, part, data):
    """Rewrites one part of a package (python-docx refuses EMF, so a PNG slot is reused)."""
    with zipfile.ZipFile(path) as z:
        entries = [(i, z.read(i.filename)) for i in z.infolist()]
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for info, body in entries:
            z.writestr(info, data if info.filename == part else body)


def media_of(doc, rid):
    return doc.part.related_parts[rid].partname.lstrip("/")


# Inline JPEG, inline PNG, a floating picture, an inline EMF, an inline GIF.
doc = docx.Document()
doc.add_paragraph("照片")
picture(doc, "red.jpg")
picture(doc, "green.png")
picture(doc, "blue.png")
float_last_picture(doc)
picture(doc, "white.png")
picture(doc, "yellow.gif")
blips = doc.element.body.findall(".//" + qn("a:blip"))
emf_part = media_of(doc, blips[3].get(qn("r:embed")))
doc.save(f"{out}/mixed.docx")
emf = bytearray(88)
emf[0:4] = (1).to_bytes(4, "little")
emf[4:8] = (88).to_bytes(4, "little")
emf[40:44] = b" EMF"
replace_part(f"{out}/mixed.docx", emf_part, bytes(emf))

# Four inline pictures of plain colours, for the round trip through LibreOffice.
doc = docx.Document()
for name in ("red.jpg", "yellow.gif", "blue.png", "white.png"):
    picture(doc, name)
doc.save(f"{out}/colours.docx")

doc = docx.Document()
doc.add_paragraph("只有文字,没有图片。")
doc.save(f"{out}/none.docx")

doc = docx.Document()
picture(doc, "blue.png")
float_last_picture(doc)
doc.save(f"{out}/floating.docx")

# Two inline pictures; the first one's relationship is dropped from the package.
doc = docx.Document()
picture(doc, "red.jpg")
picture(doc, "green.png")
first = doc.element.body.findall(".//" + qn("a:blip"))[0]
first.set(qn("r:embed"), "rId999")
doc.save(f"{out}/missing-rel.docx")

# A picture whose media part inflates far beyond what is sensible, then a normal one.
doc = docx.Document()
picture(doc, "blue.png")
picture(doc, "green.png")
bomb_part = media_of(doc, doc.element.body.findall(".//" + qn("a:blip"))[0].get(qn("r:embed")))
doc.save(f"{out}/bomb.docx")
replace_part(f"{out}/bomb.docx", bomb_part, bytes(8 * 1024 * 1024))

# The same, but the central directory claims the part is 4000 bytes.
with open(f"{out}/bomb.docx", "rb") as f:
    data = bytearray(f.read())
name = bomb_part.encode()
pos = 0
while True:
    pos = data.find(b"PK\x01\x02", pos)
    if pos < 0:
        break
    name_len = int.from_bytes(data[pos + 28:pos + 30], "little")
    if data[pos + 46:pos + 46 + name_len] == name:
        data[pos + 24:pos + 28] = (4000).to_bytes(4, "little")
    pos += 4
with open(f"{out}/lying-size.docx", "wb") as f:
    f.write(data)

# Relationship targets that climb out of the package, and one linked file.
doc = docx.Document()
picture(doc, "red.jpg")
picture(doc, "green.png")
picture(doc, "blue.png")
picture(doc, "white.png")
doc.save(f"{out}/traversal.docx")
with zipfile.ZipFile(f"{out}/traversal.docx") as z:
    rels = z.read("word/_rels/document.xml.rels").decode()
blips = doc.element.body.findall(".//" + qn("a:blip"))
rid_red, rid_green, rid_blue = (b.get(qn("r:embed")) for b in blips[:3])
for rid, target, mode in ((rid_red, "../../../../red.jpg", ""),
                          (rid_green, "/../../etc/passwd", ""),
                          (rid_blue, "file:///etc/passwd", ' TargetMode="External"')):
    start = rels.index(f'Id="{rid}"')
    t0 = rels.index('Target="', start) + len('Target="')
    t1 = rels.index('"', t0)
    rels = rels[:t0] + target + '"' + mode + rels[t1 + 1:]
replace_part(f"{out}/traversal.docx", "word/_rels/document.xml.rels", rels.encode())
with zipfile.ZipFile(f"{out}/traversal.docx", "a") as z:
    z.writestr("../../../../red.jpg", open(f"{out}/red.jpg", "rb").read())

with open(f"{out}/not-a-zip.docx", "wb") as f:
    f.write(b"This is text, not a Word document.\n")
