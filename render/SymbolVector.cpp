// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ean/Vector_p.h"
#include "surface/Canvas_p.h"
#include "render/SymbolPaint_p.h"

#include <QPainterPath>

namespace WEQEan {

void PaintVector(const TVectorSymbol& V, QPainter& Painter, TColor Background, TColor Bars, TColor Digits,
                 bool FillBackground)
{
    const TSymbol& S = V.Symbol;
    Painter.save();
    // Edges exactly where the symbol puts them: on a raster device whole
    // dots, no blending into the neighbours.
    Painter.setRenderHint(QPainter::Antialiasing, false);
    Painter.setPen(Qt::NoPen);
    if (FillBackground)
        Painter.fillRect(QRectF(0, 0, S.Width, S.Height), ToQColor(Background));
    const QColor BarColor = ToQColor(Bars);
    for (const TSymbolElement& E : S.Elements)
        if (E.Kind == TSymbolElement::Bar && E.Width > 0 && E.Height > 0)
            Painter.fillRect(QRectF(E.Left, E.Top, E.Width, E.Height), BarColor);
    QPainterPath Glyphs;
    Glyphs.setFillRule(Qt::WindingFill);
    for (const TPlacedGlyph& G : V.Glyphs) {
        const TGlyphShape& Shape = V.Shapes[G.Shape];
        const qreal X = G.Left, Y = G.Top;
        for (std::size_t I = Shape.First; I < Shape.First + Shape.Count; ++I) {
            const TVectorCommand& C = V.Commands[I];
            switch (C.Kind) {
            case TVectorCommand::Move:
                Glyphs.moveTo(X + qreal(C.X), Y + qreal(C.Y));
                break;
            case TVectorCommand::Line:
                Glyphs.lineTo(X + qreal(C.X), Y + qreal(C.Y));
                break;
            case TVectorCommand::Quad:
                Glyphs.quadTo(X + qreal(C.CX), Y + qreal(C.CY), X + qreal(C.X), Y + qreal(C.Y));
                break;
            case TVectorCommand::Close:
                Glyphs.closeSubpath();
                break;
            }
        }
    }
    Painter.fillPath(Glyphs, ToQColor(Digits));
    Painter.restore();
}

} // namespace WEQEan
