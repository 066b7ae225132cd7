// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "surface/Canvas.h"
#include "surface/Ink_p.h"
#include "symbol/SymbolTestUtil.h"

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QPoint>
#include <QWidget>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

QImage Blank(int W, int H)
{
    QImage Image(W, H, QImage::Format_RGB32);
    Image.fill(Qt::white);
    return Image;
}

// Rows of the image as text, '#' for black, '.' for white, '?' otherwise.
std::string Picture(const QImage& Image)
{
    std::string Out;
    for (int Y = 0; Y < Image.height(); ++Y) {
        for (int X = 0; X < Image.width(); ++X) {
            const QRgb P = Image.pixel(X, Y);
            Out += P == Black ? '#' : P == White ? '.' : '?';
        }
        Out += '\n';
    }
    return Out;
}

TEST(CanvasTest, FillRectLeavesOutRightAndBottomEdges)
{
    QImage Image = Blank(5, 4);
    {
        TCanvas Canvas(&Image);
        Canvas.SetBrushColor(clBlack);
        Canvas.FillRect(1, 1, 4, 3);
        Canvas.FillRect(3, 0, 3, 4); // empty: nothing
        Canvas.FillRect(4, 3, 2, 1); // reversed: nothing
    }
    EXPECT_EQ(Picture(Image), ".....\n.###.\n.###.\n.....\n");
}

TEST(CanvasTest, FillRectWithClearBrushDrawsNothing)
{
    QImage Image = Blank(3, 3);
    {
        TCanvas Canvas(&Image);
        Canvas.SetBrushColor(clBlack);
        Canvas.SetBrushStyle(TBrushStyle::bsClear);
        Canvas.FillRect(0, 0, 3, 3);
    }
    EXPECT_EQ(Picture(Image), "...\n...\n...\n");
}

TEST(CanvasTest, WritingTheBrushColourMakesItSolid)
{
    QImage Image = Blank(2, 1);
    TCanvas Canvas(&Image);
    Canvas.SetBrushStyle(TBrushStyle::bsClear);
    Canvas.SetBrushColor(clBlack);
    EXPECT_EQ(Canvas.BrushStyle(), TBrushStyle::bsSolid);
    Canvas.FillRect(0, 0, 1, 1);
    EXPECT_EQ(Canvas.Pixel(0, 0), clBlack);
}

TEST(CanvasTest, RectangleOutlinesTheHalfOpenEdgeAndFillsInside)
{
    QImage Image = Blank(6, 5);
    {
        TCanvas Canvas(&Image);
        Canvas.SetPenColor(clBlack);
        Canvas.SetBrushColor(clRed);
        Canvas.Rectangle(1, 0, 5, 4);
    }
    EXPECT_EQ(Picture(Image), ".####.\n.#??#.\n.#??#.\n.####.\n......\n");
    EXPECT_EQ(Image.pixel(2, 1), qRgb(255, 0, 0));
}

TEST(CanvasTest, RectangleWithoutPenFillsOnePixelLess)
{
    QImage Image = Blank(4, 4);
    {
        TCanvas Canvas(&Image);
        Canvas.SetPenStyle(TPenStyle::psClear);
        Canvas.SetBrushColor(clBlack);
        Canvas.Rectangle(0, 0, 4, 4);
    }
    EXPECT_EQ(Picture(Image), "###.\n###.\n###.\n....\n");
}

TEST(CanvasTest, TextOutPaintsTheCellOnlyWithASolidBrush)
{
    QImage Opaque = Blank(60, 40), Clear = Blank(60, 40);
    std::int32_t W = 0, H = 0;
    for (QImage* Image : {&Opaque, &Clear}) {
        TCanvas Canvas(Image);
        Canvas.SetFontHeight(-20);
        Canvas.SetFontColor(clBlack);
        Canvas.SetBrushColor(clRed);
        if (Image == &Clear)
            Canvas.SetBrushStyle(TBrushStyle::bsClear);
        Canvas.TextOut(5, 3, "8");
        W = Canvas.TextWidth("8");
        H = Canvas.TextHeight("8");
    }
    ASSERT_GT(W, 0);
    ASSERT_GE(H, 20);
    EXPECT_EQ(Opaque.pixel(5, 3), qRgb(255, 0, 0)) << "cell top-left takes the brush";
    EXPECT_EQ(Opaque.pixel(5 + W - 1, 3 + H - 1), qRgb(255, 0, 0)) << "cell bottom-right takes the brush";
    EXPECT_EQ(Opaque.pixel(5 + W, 3), White) << "nothing right of the cell";
    EXPECT_EQ(Clear.pixel(5, 3), White);
    int Ink = 0;
    for (int Y = 0; Y < 40; ++Y)
        for (int X = 0; X < 60; ++X)
            Ink += Clear.pixel(X, Y) != White;
    EXPECT_GT(Ink, 10) << "the glyph itself is drawn";
}

TEST(BitmapTest, SizeWriteKeepsOverlapAndFillsTheRestWithTheBrush)
{
    TBitmap Bitmap;
    Bitmap.Canvas().SetBrushColor(clBlack);
    Bitmap.SetWidth(3);
    Bitmap.SetHeight(2);
    EXPECT_EQ(Bitmap.Canvas().Pixel(2, 1), clBlack);
    Bitmap.Canvas().SetBrushColor(clWhite);
    Bitmap.Canvas().FillRect(0, 0, 1, 1);
    Bitmap.SetSize(4, 3);
    TCanvas& C = Bitmap.Canvas();
    EXPECT_EQ(C.Pixel(0, 0), clWhite) << "kept";
    EXPECT_EQ(C.Pixel(2, 1), clBlack) << "kept";
    EXPECT_EQ(C.Pixel(3, 0), clWhite) << "new column takes the brush";
    EXPECT_EQ(C.Pixel(1, 2), clWhite) << "new row takes the brush";
    EXPECT_EQ(C.Pixel(4, 0), 0xFFFFFFFFu) << "outside the bitmap";
    EXPECT_EQ(C.BrushColor(), clWhite) << "canvas state survives the reallocation";
    Bitmap.SetSize(1, 1);
    EXPECT_EQ(Bitmap.Canvas().Pixel(0, 0), clWhite);
}

TEST(BitmapTest, HugeSizesRaiseInsteadOfAllocating)
{
    TBitmap Bitmap;
    EXPECT_THROW(Bitmap.SetSize(TBitmap::MaxSide + 1, 1), Exception);
    EXPECT_THROW(Bitmap.SetSize(10000, 10000), Exception);
    EXPECT_THROW(Bitmap.SetWidth(INT32_MAX), Exception);
    EXPECT_EQ(Bitmap.Width(), 0);
    Bitmap.SetSize(-5, 3);
    EXPECT_EQ(Bitmap.Width(), 0);
    EXPECT_THROW(Bitmap.Canvas().FillRect(0, 0, 1, 1), Exception) << "an empty bitmap cannot be drawn on";
}

TEST(CanvasTest, SystemColoursResolveFromTheApplicationPalette)
{
    const QPalette Saved = QApplication::palette();
    QPalette P = Saved;
    P.setColor(QPalette::ToolTipBase, QColor(1, 2, 3));
    P.setColor(QPalette::WindowText, QColor(4, 5, 6));
    P.setColor(QPalette::Window, QColor(7, 8, 9));
    QApplication::setPalette(P);
    EXPECT_EQ(TCanvas::ResolveColor(clInfoBk), 0x030201u);
    EXPECT_EQ(TCanvas::ResolveColor(clWindowText), 0x060504u);
    EXPECT_EQ(TCanvas::ResolveColor(clBtnFace), 0x090807u);
    EXPECT_EQ(TCanvas::ResolveColor(clCream), clCream);
    EXPECT_EQ(TCanvas::ResolveColor(clSystemColor | 200), clBlack) << "unknown system colour";

    QImage Image = Blank(1, 1);
    {
        TCanvas Canvas(&Image);
        Canvas.SetBrushColor(clInfoBk);
        Canvas.FillRect(0, 0, 1, 1);
    }
    EXPECT_EQ(Image.pixel(0, 0), qRgb(1, 2, 3)) << "resolved when drawing";
    QApplication::setPalette(Saved);
}

TEST(CanvasTest, PolyPolygonFillsByTheWindingRule)
{
    // A square with a square hole running the other way, and one running the same way.
    const QPoint Opposite[] = {{0, 0}, {9, 0}, {9, 9}, {0, 9}, {3, 3}, {3, 6}, {6, 6}, {6, 3}};
    const QPoint Same[] = {{0, 0}, {9, 0}, {9, 9}, {0, 9}, {3, 3}, {6, 3}, {6, 6}, {3, 6}};
    const std::int32_t Counts[] = {4, 4};
    QImage A = Blank(10, 10), B = Blank(10, 10);
    {
        TCanvas Ca(&A), Cb(&B);
        for (TCanvas* C : {&Ca, &Cb}) {
            C->SetPenColor(clBlack);
            C->SetBrushColor(clBlack);
        }
        Ca.PolyPolygon(Opposite, Counts, 2);
        Cb.PolyPolygon(Same, Counts, 2);
    }
    EXPECT_EQ(A.pixel(1, 1), Black);
    EXPECT_EQ(A.pixel(4, 4), White) << "opposite hole stays empty";
    EXPECT_EQ(B.pixel(4, 4), Black) << "same-sense hole is filled";
    EXPECT_EQ(A.pixel(9, 9), Black) << "the pen outlines the last column and row";
}

// Cells of one band measured together, on a one-byte sheet larger than the
// band ('#' black, '+' the lightest grey, '.' white): ink at the band's
// edges counts, ink between cells or outside the band counts for none.
TEST(InkTest, EachCellOfABandHasItsOwnBox)
{
    const char* const Rows[] = {
        "..#....#....+.",
        "...........#..",
        "#..........#..",
        "...#.......#.#",
        "#.#.......#..#", // the band's last row: the row below is not its
        "######.#####..",
    };
    QImage Sheet(14, 6, QImage::Format_Grayscale8);
    for (int Y = 0; Y < 6; ++Y)
        for (int X = 0; X < 14; ++X)
            Sheet.scanLine(Y)[X] = Rows[Y][X] == '#' ? 0 : Rows[Y][X] == '+' ? 0xFE : 0xFF;
    const std::vector<TInkCell> Cells = {{0, 4}, {4, 3}, {8, 5}, {1, 1}};
    std::vector<TInkBox> Boxes;
    InkBoxesOf(Sheet, 13, 5, Cells, Boxes);
    const TInkBox Expected[] = {{true, 0, 3, 0, 4}, {false, 0, -1, 0, -1}, {true, 2, 4, 0, 4}, {false, 0, -1, 0, -1}};
    ASSERT_EQ(Boxes.size(), Cells.size());
    for (std::size_t I = 0; I < Cells.size(); ++I)
        EXPECT_EQ(std::tie(Boxes[I].Any, Boxes[I].Left, Boxes[I].Right, Boxes[I].Top, Boxes[I].Bottom),
                  std::tie(Expected[I].Any, Expected[I].Left, Expected[I].Right, Expected[I].Top, Expected[I].Bottom))
            << "cell " << I;
}

TEST(CanvasTest, UnusableSurfacesRaise)
{
    QImage Null;
    TCanvas OnNull(&Null);
    EXPECT_THROW(OnNull.FillRect(0, 0, 1, 1), Exception);
    EXPECT_THROW(OnNull.Rectangle(0, 0, 1, 1), Exception);
    EXPECT_THROW(OnNull.TextOut(0, 0, "1"), Exception);
    EXPECT_THROW(OnNull.Pixel(0, 0), Exception);
    TCanvas OnNothing(nullptr);
    EXPECT_THROW(OnNothing.FillRect(0, 0, 1, 1), Exception);
    QWidget Widget; // not in a paint event: no painter can begin
    TCanvas OnWidget(&Widget);
    EXPECT_THROW(OnWidget.FillRect(0, 0, 1, 1), Exception);
}

} // namespace
