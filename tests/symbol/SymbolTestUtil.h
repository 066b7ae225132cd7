// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Reading a rendered symbol back as numbers, for the symbol and control tests.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <algorithm>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

inline constexpr QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255), Red = qRgb(255, 0, 0),
                      Green = qRgb(0, 255, 0);

// The rectangle of every pixel of Image that is not white.
inline QRect InkOf(const QImage& Picture)
{
    const QImage Image = Picture.convertToFormat(QImage::Format_RGB32);
    int Left = Image.width(), Right = -1, Top = Image.height(), Bottom = -1;
    for (int Y = 0; Y < Image.height(); ++Y) {
        const QRgb* Row = reinterpret_cast<const QRgb*>(Image.constScanLine(Y));
        for (int X = 0; X < Image.width(); ++X)
            if (Row[X] != White) {
                Left = std::min(Left, X);
                Right = std::max(Right, X);
                Top = std::min(Top, Y);
                Bottom = std::max(Bottom, Y);
            }
    }
    return Right < 0 ? QRect() : QRect(QPoint(Left, Top), QPoint(Right, Bottom));
}

struct TBar {
    int StartModule, Modules;
    bool operator==(const TBar&) const = default;
};

// The runs of Color on row Y, as 1-based start module and width in modules.
// A run that does not sit on whole modules is reported with Modules 0.
inline std::vector<TBar> BarsOnRow(const QImage& Image, int Y, int M, QRgb Color, int Width)
{
    std::vector<TBar> Bars;
    for (int X = 0; X < Width;) {
        if (Image.pixel(X, Y) != Color) {
            ++X;
            continue;
        }
        int End = X;
        while (End < Width && Image.pixel(End, Y) == Color)
            ++End;
        const bool Whole = X % M == 0 && (End - X) % M == 0;
        Bars.push_back({X / M + 1, Whole ? (End - X) / M : 0});
        X = End;
    }
    return Bars;
}

inline std::string ShowBars(const std::vector<TBar>& Bars)
{
    std::ostringstream Out;
    for (const TBar& B : Bars)
        Out << B.StartModule << "/" << B.Modules << " ";
    return Out.str();
}

// The 30 bars of 4006381333931 (parity pattern ABAABB), start module / modules.
inline const std::vector<TBar> BarsOf4006381333931 = {
    {12, 1}, {14, 1}, {18, 2}, {21, 1}, {23, 1}, {26, 3}, {30, 1}, {32, 4}, {37, 4}, {42, 1},
    {46, 1}, {49, 1}, {51, 2}, {55, 2}, {58, 1}, {60, 1}, {62, 1}, {67, 1}, {69, 1}, {74, 1},
    {76, 1}, {81, 1}, {83, 3}, {87, 1}, {90, 1}, {95, 1}, {97, 2}, {101, 2}, {104, 1}, {106, 1}};
inline const std::vector<TBar> GuardBars = {{12, 1}, {14, 1}, {58, 1}, {60, 1}, {104, 1}, {106, 1}};

// Where a book's number line lies in a picture of its symbol (dark on
// light, from its left edge): the bars' top, found up the first bar from the
// middle row, and the box of the ink above them.
struct TLineInk {
    int BarTop = -1, Left = 0, Right = -1, Top = 0, Bottom = -1, FirstBar = -1;
};
inline TLineInk LineInkOf(const QImage& Picture)
{
    const QImage Image = Picture.convertToFormat(QImage::Format_Grayscale8);
    const auto Dark = [&Image](int X, int Y) { return qGray(Image.pixel(X, Y)) < 128; };
    TLineInk L;
    const int Middle = Image.height() / 2;
    for (int X = 0; X < Image.width() && L.FirstBar < 0; ++X)
        if (Dark(X, Middle))
            L.FirstBar = X;
    if (L.FirstBar < 0)
        return L;
    L.BarTop = Middle;
    while (L.BarTop > 0 && Dark(L.FirstBar, L.BarTop - 1))
        --L.BarTop;
    L.Left = Image.width();
    L.Top = L.BarTop;
    for (int Y = 0; Y < L.BarTop; ++Y)
        for (int X = 0; X < Image.width(); ++X)
            if (Dark(X, Y)) {
                L.Left = std::min(L.Left, X);
                L.Right = std::max(L.Right, X);
                L.Top = std::min(L.Top, Y);
                L.Bottom = std::max(L.Bottom, Y);
            }
    return L;
}

// Sizes and rectangles in failure messages as numbers, not bytes.
inline void PrintTo(const QSize& Size, std::ostream* Out) { *Out << Size.width() << "x" << Size.height(); }
inline void PrintTo(const QRect& Rect, std::ostream* Out)
{
    *Out << Rect.width() << "x" << Rect.height() << "+" << Rect.x() << "+" << Rect.y();
}
