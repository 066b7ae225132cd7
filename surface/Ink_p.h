// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Measuring the ink of rendered text, for fitting a font to a box.

#include "ean/Export.h"

#include <QFont>
#include <QFontMetrics>
#include <QRawFont>

#include <cstdint>
#include <string>
#include <vector>

struct TInkBox {
    bool Any = false; // false: the text left no ink at all
    std::int32_t Left = 0, Right = -1, Top = 0, Bottom = -1;
};

// A cell of a band of characters drawn side by side: its first column and width.
struct TInkCell {
    std::int32_t X = 0, W = 0;
};

// The ink box of each cell in rows [0, H) of a one-byte Sheet (white 0xFF),
// in cell coordinates, into Boxes (one per cell); the cells lie within the
// sheet's first Total columns. Ink between the cells counts for none.
void InkBoxesOf(const QImage& Sheet, std::int32_t Total, std::int32_t H, const std::vector<TInkCell>& Cells,
                std::vector<TInkBox>& Boxes);

// The ink of texts in the face FontName at em height PixelHeight: each drawn
// without antialiasing and black on white, on a bitmap exactly the size of
// the text's cell (its advance by the font's height), as the text cell of
// TCanvas::TextOut at (0, 0) lies. A fitting measures eleven characters at
// every height it tries, and finding the face costs more than drawing one.
class TInkMeter {
public:
    TInkMeter(const std::string& FontName, std::int32_t PixelHeight);
    // The smallest rectangle of Text's non-white pixels, in cell
    // coordinates. Raises Exception where the bitmap cannot be made.
    TInkBox Measure(const std::string& Text) const;
    // Each character of Chars, as Measure measures it alone: the face's
    // glyphs drawn together, in a third of the time of one at a time.
    std::vector<TInkBox> MeasureEach(const std::string& Chars) const;
    // Whether MeasureEach draws glyphs together at this height, rather than
    // measuring each character alone.
    bool DrawsTogether() const;
    // Whether Measure draws Text as one glyph of the face rather than laying it out.
    bool ByGlyph(const std::string& Text) const;

private:
    QList<quint32> GlyphOf(const QString& Text) const;

    QFont Font;
    QFontMetrics Metrics;
    QRawFont Raw; // the face's glyphs, drawn without laying the text out again
    std::int32_t PixelHeight;
};
