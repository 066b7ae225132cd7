// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// An SVG document drawn by Qt's own SVG renderer, a reader independent of
// the code that wrote it.

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

// Ten pixels a module of the nominal 0.330 mm.
inline constexpr double TenPerModule = 10 / 0.330;

// The document at PixelsPerMM pixels a millimetre of its size, on red so
// that a missing background shows; without antialiasing unless asked for.
inline QImage RenderSvg(const QByteArray& Svg, double PixelsPerMM, bool Antialias = false)
{
    QSvgRenderer Renderer(Svg);
    const auto Size = QRegularExpression(R"re(width="([0-9.]+)mm" height="([0-9.]+)mm")re").match(QString::fromUtf8(Svg));
    if (!Renderer.isValid() || !Size.hasMatch())
        return {};
    const QSizeF MM(Size.captured(1).toDouble(), Size.captured(2).toDouble());
    QImage Image((MM * PixelsPerMM).toSize(), QImage::Format_RGB32);
    Image.fill(Qt::red);
    QPainter Painter(&Image);
    Painter.setRenderHint(QPainter::Antialiasing, Antialias);
    Renderer.render(&Painter);
    return Image;
}
