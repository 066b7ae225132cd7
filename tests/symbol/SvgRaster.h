#pragma once

// An SVG document drawn by Qt's own SVG renderer, a reader independent of
// the code that wrote it.

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

// The document at Scale pixels per unit of its view box, on red so that a
// missing background shows; without antialiasing unless asked for.
inline QImage RenderSvg(const QByteArray& Svg, double Scale, bool Antialias = false)
{
    QSvgRenderer Renderer(Svg);
    if (!Renderer.isValid())
        return {};
    QImage Image((Renderer.viewBoxF().size() * Scale).toSize(), QImage::Format_RGB32);
    Image.fill(Qt::red);
    QPainter Painter(&Image);
    Painter.setRenderHint(QPainter::Antialiasing, Antialias);
    Renderer.render(&Painter);
    return Image;
}
