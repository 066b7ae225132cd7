#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

"""Generates ean/OcrBQuadData.h, the OCR-B digits '0'..'9' as quadratic
outlines for vector files, and the characters of the number line printed
above a book's symbol in the font's own units, from the embedded font
ocrb/OCRB.ttf:

    /usr/bin/python3 tools/make_quad_outlines.py [ocrb/OCRB.ttf] > ean/OcrBQuadData.h

Needs nothing beyond Python: the few TrueType tables used are read here. Each
glyph is mapped linearly onto its design-unit extents (tools/ocrb_extents.py,
the same as the flattened outlines), then refitted with as few straight and
quadratic segments as stay within TOLERANCE design units of the font's curve:
the font's own contours hold many short segments, and a file holds every one
of them as text. Corners (joins turning by more than CORNER_DEGREES) are kept.
"""
import math
import struct
import sys

from ocrb_extents import CONTOURS, EXTENTS

# A digit box of 6 modules spans the 687-unit cell: 3 units are about a
# twentieth of a module at any size.
TOLERANCE = 3.0
CORNER_DEGREES = 25
SAMPLES_PER_CURVE = 8


class Font:
    def __init__(self, data):
        self.data = data
        count = self.u16(4)
        self.tables = {}
        for i in range(count):
            tag, _, offset, length = struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i])
            self.tables[tag.decode()] = offset
        head = self.tables["head"]
        if self.s16(head + 50) != 0:
            raise SystemExit("only short glyph locations are read")

    def u16(self, o):
        return struct.unpack(">H", self.data[o:o + 2])[0]

    def s16(self, o):
        return struct.unpack(">h", self.data[o:o + 2])[0]

    def glyph_id(self, code):
        cmap = self.tables["cmap"]
        for i in range(self.u16(cmap + 2)):
            offset = struct.unpack(">I", self.data[cmap + 8 + 8 * i:cmap + 12 + 8 * i])[0]
            sub = cmap + offset
            if self.u16(sub) != 4:
                continue
            segments = self.u16(sub + 6) // 2
            ends, starts = sub + 14, sub + 16 + 2 * segments
            deltas, ranges = starts + 2 * segments, starts + 4 * segments
            for s in range(segments):
                if self.u16(starts + 2 * s) <= code <= self.u16(ends + 2 * s):
                    delta, rng = self.s16(deltas + 2 * s), self.u16(ranges + 2 * s)
                    if rng == 0:
                        return (code + delta) & 0xFFFF
                    g = self.u16(ranges + 2 * s + rng + 2 * (code - self.u16(starts + 2 * s)))
                    return (g + delta) & 0xFFFF if g else 0
        raise SystemExit(f"no glyph for {chr(code)!r}")

    def contours(self, gid):
        """The simple glyph's contours as lists of (x, y, on_curve)."""
        d = self.data
        offset = self.tables["glyf"] + 2 * self.u16(self.tables["loca"] + 2 * gid)
        count = self.s16(offset)
        if count <= 0:
            raise SystemExit("composite or empty glyph")
        p = offset + 10
        ends = [self.u16(p + 2 * i) for i in range(count)]
        p += 2 * count
        p += 2 + self.u16(p)
        total = ends[-1] + 1
        flags = []
        while len(flags) < total:
            f = d[p]
            p += 1
            flags.append(f)
            if f & 8:
                flags += [f] * d[p]
                p += 1
        coords = []
        for short, same in ((2, 16), (4, 32)):
            v, values = 0, []
            for f in flags:
                if f & short:
                    v += d[p] if f & same else -d[p]
                    p += 1
                elif not f & same:
                    v += self.s16(p)
                    p += 2
                values.append(v)
            coords.append(values)
        out, start = [], 0
        for end in ends:
            out.append([(coords[0][i], coords[1][i], bool(flags[i] & 1)) for i in range(start, end + 1)])
            start = end + 1
        return out


def segments(contour):
    """('L', p0, p1) and ('Q', p0, c, p1) from a TrueType contour."""
    k = next(i for i, p in enumerate(contour) if p[2])
    points = contour[k:] + contour[:k]
    ring = points[1:] + [points[0]]
    out, current, j = [], points[0][:2], 0
    while j < len(ring):
        p = ring[j]
        if p[2]:
            out.append(("L", current, p[:2]))
            current, j = p[:2], j + 1
            continue
        q = ring[j + 1]
        end = q[:2] if q[2] else ((p[0] + q[0]) / 2, (p[1] + q[1]) / 2)
        out.append(("Q", current, p[:2], end))
        current, j = end, j + (2 if q[2] else 1)
    return [s for s in out if s[0] == "Q" or s[1] != s[2]]


def quad(p0, c, p1, t):
    u = 1 - t
    return (u * u * p0[0] + 2 * u * t * c[0] + t * t * p1[0], u * u * p0[1] + 2 * u * t * c[1] + t * t * p1[1])


def font_map(contours, extents):
    """The map (AX, BX, AY, BY) of the font's units onto design units, x' = AX
    + BX x and y' = AY + BY y, that makes the curves' extents exactly extents."""
    samples = [quad(s[1], s[2], s[3], t / 16) if s[0] == "Q" else s[1]
               for c in contours for s in segments(c) for t in range(17)]
    xs, ys = [x for x, _ in samples], [y for _, y in samples]
    x0, x1, y0, y1 = extents
    sx0, sx1, sy0, sy1 = min(xs), max(xs), min(ys), max(ys)
    bx, by = (x1 - x0) / (sx1 - sx0), (y1 - y0) / (sy1 - sy0)
    return x0 - sx0 * bx, bx, y0 - sy0 * by, by


def mapped(contours, extents):
    """The contours mapped so that their curves' extents are exactly extents."""
    samples = [quad(s[1], s[2], s[3], t / 16) if s[0] == "Q" else s[1]
               for c in contours for s in segments(c) for t in range(17)]
    xs, ys = [x for x, _ in samples], [y for _, y in samples]
    x0, x1, y0, y1 = extents
    sx0, sx1, sy0, sy1 = min(xs), max(xs), min(ys), max(ys)
    return [[(x0 + (x - sx0) * (x1 - x0) / (sx1 - sx0), y0 + (y - sy0) * (y1 - y0) / (sy1 - sy0), on)
             for x, y, on in c] for c in contours]


def tangents(s):
    if s[0] == "L":
        d = (s[2][0] - s[1][0], s[2][1] - s[1][1])
        return d, d
    first = s[2] if s[2] != s[1] else s[3]
    last = s[2] if s[2] != s[3] else s[1]
    return (first[0] - s[1][0], first[1] - s[1][1]), (s[3][0] - last[0], s[3][1] - last[1])


def dense(segs):
    """Points along the contour, each with whether a corner starts there."""
    out = []
    for i, s in enumerate(segs):
        a, b = tangents(segs[i - 1])[1], tangents(s)[0]
        turn = abs(math.atan2(a[0] * b[1] - a[1] * b[0], a[0] * b[0] + a[1] * b[1]))
        out.append((s[1], turn > math.radians(CORNER_DEGREES) or s[0] == "L" or segs[i - 1][0] == "L"))
        if s[0] == "Q":
            out += [(quad(s[1], s[2], s[3], t / SAMPLES_PER_CURVE), False) for t in range(1, SAMPLES_PER_CURVE)]
        else:
            n = max(1, int(math.dist(s[1], s[2]) / TOLERANCE))
            out += [((s[1][0] + (s[2][0] - s[1][0]) * t / n, s[1][1] + (s[2][1] - s[1][1]) * t / n), False)
                    for t in range(1, n)]
    return out


def to_segment(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    length = dx * dx + dy * dy
    t = 0 if length == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / length))
    return math.dist(p, (a[0] + t * dx, a[1] + t * dy))


def to_quad(p, a, c, b):
    best, previous = math.inf, a
    for i in range(1, 33):
        q = quad(a, c, b, i / 32)
        best, previous = min(best, to_segment(p, previous, q)), q
    return best


def fit(points, i, j):
    """One line or quadratic through points[i..j] within TOLERANCE, or None."""
    a, b, inner = points[i], points[j], points[i + 1:j]
    if all(to_segment(p, a, b) <= TOLERANCE for p in inner):
        return ("L", b)
    if j - i < 2:
        return None
    # The control point by least squares, the points spaced by chord length.
    lengths = [0.0]
    for k in range(i + 1, j + 1):
        lengths.append(lengths[-1] + math.dist(points[k - 1], points[k]))
    num, den = [0.0, 0.0], 0.0
    for k, d in zip(range(i, j + 1), lengths):
        t = d / lengths[-1]
        w = 2 * t * (1 - t)
        num[0] += w * (points[k][0] - (1 - t) ** 2 * a[0] - t * t * b[0])
        num[1] += w * (points[k][1] - (1 - t) ** 2 * a[1] - t * t * b[1])
        den += w * w
    c = (num[0] / den, num[1] / den)
    # The curve between the samples matters too: check it against the samples' polyline.
    if all(to_quad(p, a, c, b) <= TOLERANCE for p in inner) and \
            all(to_segment(quad(a, c, b, t / 16), *nearest_edge(points[i:j + 1], quad(a, c, b, t / 16)))
                <= TOLERANCE for t in range(1, 16)):
        return ("Q", c, b)
    return None


def nearest_edge(polyline, p):
    return min(zip(polyline, polyline[1:]), key=lambda e: to_segment(p, e[0], e[1]))


def refit(contour):
    samples = dense(segments(contour))
    points, corners = [s[0] for s in samples], [s[1] for s in samples]
    if any(corners):
        k = corners.index(True)
        points, corners = points[k:] + points[:k], corners[k:] + corners[:k]
    n = len(points)
    points, corners = points + [points[0]], corners + [True]
    out, i = [], 0
    while i < n:
        best, j = (i + 1, ("L", points[i + 1])), i + 2
        while j <= n and not corners[j - 1]:
            seg = fit(points, i, j)
            if seg is None:
                break
            best, j = (j, seg), j + 1
        out.append(best[1])
        i = best[0]
    return points[0], out


# The characters of "ISBN 978-...", "ISMN 979-0-..." and "ISSN 0317-847X".
LINE_CHARS = "0123456789-BIMNSX"


def write_glyph(out, name, ch, contours):
    items = []
    for contour in contours:
        start, segs = refit(contour)
        items.append(f"{{{round(start[0])}, {round(start[1])}, Move}}")
        for s in segs:
            if s[0] == "Q":
                items.append(f"{{{round(s[1][0])}, {round(s[1][1])}, Control}}")
                items.append(f"{{{round(s[2][0])}, {round(s[2][1])}, Curve}}")
            else:
                items.append(f"{{{round(s[1][0])}, {round(s[1][1])}, Line}}")
    out.write(f"// '{ch}'\ninline constexpr TQuadPoint {name}[] = {{\n")
    for i in range(0, len(items), 5):
        out.write("    " + ", ".join(items[i:i + 5]) + ",\n")
    out.write("};\n\n")
    return len(items)


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else "ocrb/OCRB.ttf"
    font = Font(open(path, "rb").read())
    out = sys.stdout
    out.write("// Generated by tools/make_quad_outlines.py from ocrb/OCRB.ttf; do not edit.\n")
    out.write("// Regenerate: /usr/bin/python3 tools/make_quad_outlines.py > ean/OcrBQuadData.h\n")
    out.write("// Included by ean/OcrBQuadOutlines.h only.\n\n#pragma once\n\nnamespace WEQOcrB {\n\n")
    total = 0
    for index, ch in enumerate("0123456789"):
        contours = mapped(font.contours(font.glyph_id(ord(ch))), EXTENTS[ch])
        if len(contours) != CONTOURS.get(ch, 1):
            raise SystemExit(f"'{ch}' has {len(contours)} contours")
        total += write_glyph(out, f"QuadPoints{index}", ch, contours)
    out.write("// '0'..'9'.\ninline constexpr std::array<TQuadOutline, 10> OcrBQuadOutlines{{\n")
    for index in range(10):
        out.write(f"    {{QuadPoints{index}, std::size(QuadPoints{index})}},\n")
    out.write("}};\n\n")
    out.write("// '0'..'9': the map of the font's own units onto the design units above,\n"
              "// for writers that draw the font's glyph where the outline goes.\n"
              "inline constexpr std::array<TFontMap, 10> OcrBDigitFontMaps{{\n")
    for ch in "0123456789":
        ax, bx, ay, by = font_map(font.contours(font.glyph_id(ord(ch))), EXTENTS[ch])
        out.write(f"    {{{ax!r}L, {bx!r}L, {ay!r}L, {by!r}L}},\n")
    out.write("}};\n\n")
    out.write("// The number line's characters in the font's units (1000 to the em, y up,\n"
              "// the baseline at 0), unmapped: the line is placed by its own ink.\n")
    for index, ch in enumerate(LINE_CHARS):
        total += write_glyph(out, f"LinePoints{index}", ch, font.contours(font.glyph_id(ord(ch))))
    out.write(f"inline constexpr char LineChars[] = \"{LINE_CHARS}\";\n")
    out.write(f"inline constexpr std::array<TQuadOutline, {len(LINE_CHARS)}> OcrBLineOutlines{{{{\n")
    for index in range(len(LINE_CHARS)):
        out.write(f"    {{LinePoints{index}, std::size(LinePoints{index})}},\n")
    out.write("}};\n\n} // namespace WEQOcrB\n")
    sys.stderr.write(f"{total} points in all\n")


if __name__ == "__main__":
    main()
