// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ean/Vector_p.h"
#include "surface/Canvas_p.h"
#include "render/SymbolPaint_p.h"

#include <QFontInfo>
#include <QPaintEngine>
#include <QPainterPath>

namespace WEQEan {

namespace {

// A PDF holds the digits as text in the embedded font, which it stores
// once, rather than as their outlines on every label (5 KB a symbol): the
// same curves, placed by the same map. The painter gets the font when the
// face is ours; otherwise the outlines.
bool DigitsAsText(QPainter& Painter)
{
    if (!Painter.paintEngine() || Painter.paintEngine()->type() != QPaintEngine::Pdf || !WEQOcrB::OcrBFontRegistered())
        return false;
    QFont Font(QStringLiteral("OCRB"));
    Font.setPixelSize(WEQOcrB::OcrBUnitsPerEm);
    Font.setStyleStrategy(QFont::NoFontMerging);
    Font.setHintingPreference(QFont::PreferNoHinting);
    if (QFontInfo(Font).family() != QLatin1String("OCRB"))
        return false;
    Painter.setFont(Font);
    return true;
}

} // namespace

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
    const bool Text = DigitsAsText(Painter);
    const QTransform World = Painter.worldTransform();
    if (Text)
        Painter.setPen(ToQColor(Digits));
    for (const TPlacedGlyph& G : V.Glyphs) {
        const TGlyphShape& Shape = V.Shapes[G.Shape];
        const qreal X = G.Left, Y = G.Top;
        if (Text && !Shape.Line && Shape.Ch >= '0' && Shape.Ch <= '9') {
            // The font's glyph at one pixel a unit, where its outline would be.
            const TDigitMap M = FontDigitMap(Shape.Ch, Shape.Width, Shape.Height);
            Painter.setWorldTransform(QTransform(qreal(M.SX), 0, 0, qreal(M.SY), X - qreal(M.XOff * M.SX),
                                                 Y + qreal(M.Baseline * M.SY)) *
                                      World);
            Painter.drawText(QPointF(0, 0), QString(QLatin1Char(Shape.Ch)));
            continue;
        }
        for (const TVectorCommand& C : *Shape.Commands) {
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
    Painter.setWorldTransform(World);
    Painter.fillPath(Glyphs, ToQColor(Digits));
    Painter.restore();
}

} // namespace WEQEan
