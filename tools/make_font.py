#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

"""Generates ocrb/OCRB.ttf, the embedded OCR-B font, from Debian's public-domain
OCR-B (fonts-ocr-b, CFF outlines):

    /usr/bin/python3 tools/make_font.py [/usr/share/fonts/opentype/ocr-b/OCRB.otf] ocrb/OCRB.ttf

Needs python3-fonttools. The cubic outlines become quadratic TrueType outlines
(cu2qu, at most MAX_ERR font units off the curve) with their direction reversed,
so that outer contours run clockwise as TrueType expects. The family is renamed
"OCRB" (subfamily "Regular") so that the program can ask for it by that name.
"""
import sys

from fontTools.pens.cu2quPen import Cu2QuPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont, newTable

MAX_ERR = 0.5
NAMES = {1: "OCRB", 2: "Regular", 3: "OCRB Regular", 4: "OCR B Regular", 6: "OCRB-Regular"}


def convert(source, target):
    font = TTFont(source)
    order = font.getGlyphOrder()
    glyph_set = font.getGlyphSet()
    glyphs = {}
    for name in order:
        pen = TTGlyphPen(glyph_set)
        glyph_set[name].draw(Cu2QuPen(pen, MAX_ERR, reverse_direction=True))
        glyphs[name] = pen.glyph()

    font["loca"] = newTable("loca")
    glyf = font["glyf"] = newTable("glyf")
    glyf.glyphOrder = order
    glyf.glyphs = glyphs
    del font["CFF "]
    if "VORG" in font:
        del font["VORG"]
    for tag in ("FFTM",):
        if tag in font:
            del font[tag]
    font.sfntVersion = "\x00\x01\x00\x00"

    maxp = font["maxp"]
    maxp.tableVersion = 0x00010000
    for field in ("maxZones", "maxTwilightPoints", "maxStorage", "maxFunctionDefs", "maxInstructionDefs",
                  "maxStackElements", "maxSizeOfInstructions", "maxComponentElements"):
        setattr(maxp, field, 0)
    maxp.maxZones = 1
    maxp.maxComponentDepth = 0

    post = font["post"]
    post.formatType = 2.0
    post.extraNames = []
    post.mapping = {}
    post.glyphOrder = order

    head = font["head"]
    head.glyphDataFormat = 0

    name = font["name"]
    name.names = [n for n in name.names if n.nameID not in (1, 2, 3, 4, 6, 16, 17, 21, 22)]
    for name_id, text in NAMES.items():
        name.setName(text, name_id, 3, 1, 0x409)
        name.setName(text, name_id, 1, 0, 0)

    font.save(target)


if __name__ == "__main__":
    args = sys.argv[1:]
    if len(args) == 1:
        args.insert(0, "/usr/share/fonts/opentype/ocr-b/OCRB.otf")
    if len(args) != 2:
        sys.exit(__doc__)
    convert(*args)
