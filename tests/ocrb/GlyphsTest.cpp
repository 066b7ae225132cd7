// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ean/OcrBOutlines.h"
#include "ocrb/WEQOcrB.h"

#include <QImage>
#include <gtest/gtest.h>

#include <sstream>

using namespace WEQOcrB;

namespace {

const char GlyphChars[] = "0123456789>";

std::string Show(const std::vector<std::vector<QPoint>>& Contours)
{
    std::ostringstream Out;
    for (const auto& Contour : Contours) {
        Out << "[";
        for (const QPoint& P : Contour)
            Out << " (" << P.x() << ", " << P.y() << ")";
        Out << " ]";
    }
    return Out.str();
}

std::vector<std::vector<QPoint>> Polygon(std::initializer_list<QPoint> Points) { return {std::vector<QPoint>(Points)}; }

// --- The stored outlines ----------------------------------------------------

struct TExtentRow {
    char Ch;
    std::int32_t Contours, XMin, XMax, YMin, YMax, XOff;
};

const TExtentRow ExtentRows[] = {
    {'0', 2, 149, 835, -22, 1054, 149}, {'1', 1, 195, 622, -15, 1051, 65}, {'2', 1, 176, 805, -4, 1052, 147},
    {'3', 1, 154, 822, -19, 1036, 145}, {'4', 1, 147, 833, -12, 1047, 147}, {'5', 1, 190, 777, -23, 1035, 140},
    {'6', 2, 152, 838, -19, 1047, 152}, {'7', 1, 154, 838, -12, 1037, 153}, {'8', 3, 152, 835, -20, 1051, 150},
    {'9', 2, 153, 839, -12, 1051, 153}, {'>', 1, 0, 1000, 0, 1000, 156},
};

std::int64_t TwiceSignedArea(const TOutlinePoint* P, std::int32_t N)
{
    std::int64_t A = 0;
    for (std::int32_t I = 0; I < N; ++I) {
        const TOutlinePoint& U = P[I];
        const TOutlinePoint& V = P[(I + 1) % N];
        A += std::int64_t(U.X) * V.Y - std::int64_t(V.X) * U.Y;
    }
    return A;
}

TEST(OutlineDataTest, ExtentsContoursAndOrientation)
{
    for (std::size_t G = 0; G < 11; ++G) {
        const TExtentRow& Row = ExtentRows[G];
        SCOPED_TRACE(std::string("glyph '") + Row.Ch + "'");
        const TGlyphOutline& O = OcrBOutlines[G];
        ASSERT_EQ(O.ContourCount, Row.Contours);
        std::int32_t XMin = INT32_MAX, XMax = INT32_MIN, YMin = INT32_MAX, YMax = INT32_MIN;
        for (std::int32_t I = 0; I < OutlinePointCount(O); ++I) {
            XMin = std::min(XMin, O.Points[I].X);
            XMax = std::max(XMax, O.Points[I].X);
            YMin = std::min(YMin, O.Points[I].Y);
            YMax = std::max(YMax, O.Points[I].Y);
        }
        EXPECT_EQ(O.XMin, XMin) << "stored XMin is not the points' own";
        EXPECT_EQ(O.XMax, XMax);
        EXPECT_EQ(O.YMin, YMin);
        EXPECT_EQ(XMin, Row.XMin);
        EXPECT_EQ(XMax, Row.XMax);
        EXPECT_EQ(YMin, Row.YMin);
        EXPECT_EQ(YMax, Row.YMax);

        const TOutlinePoint* P = O.Points;
        for (std::int32_t C = 0; C < O.ContourCount; ++C) {
            const std::int32_t N = O.Counts[std::size_t(C)];
            ASSERT_GE(N, 3) << "contour " << C;
            EXPECT_NE(P[0].X == P[N - 1].X && P[0].Y == P[N - 1].Y, true) << "first point repeated at the end";
            const std::int64_t Area = TwiceSignedArea(P, N);
            if (Row.Ch == '>')
                EXPECT_GT(Area, 0) << "the delimiter runs counter-clockwise";
            else if (C == 0)
                EXPECT_LT(Area, 0) << "outer contour must run clockwise (y up)";
            else
                EXPECT_GT(Area, 0) << "counter " << C << " must run counter-clockwise";
            P += N;
        }
        EXPECT_LE(OutlinePointCount(O), MaxOutlinePoints);
    }
}

TEST(OutlineDataTest, EightHasItsUpperCounterFirst)
{
    const TGlyphOutline& O = OcrBOutlines[8];
    const TOutlinePoint* Upper = O.Points + O.Counts[0];
    const TOutlinePoint* Lower = Upper + O.Counts[1];
    EXPECT_GT(Upper[0].Y, 600);
    EXPECT_LT(Lower[0].Y, 550);
}

TEST(OutlineDataTest, DelimiterIsTheGivenChevron)
{
    const auto P = OcrBGlyphPoints('>', 0, 0, 688, 1078);
    EXPECT_EQ(Show(P), Show(Polygon({{-156, 1077}, {844, 677}, {844, 477}, {-156, 77}, {-156, 277}, {644, 577}, {-156, 877}})))
        << "at scale 1 the seven points keep their order, shifted by the cell offset 156";
}

// --- The transform --------------------------------------------------------

struct TPointsRow {
    const char* Name;
    char Ch;
    std::int32_t Left, Top, Width, Height;
    std::vector<std::vector<QPoint>> Expected;
};

void PrintTo(const TPointsRow& Row, std::ostream* Out) { *Out << Row.Name; }

class GlyphPointsTest : public ::testing::TestWithParam<TPointsRow> {};

TEST_P(GlyphPointsTest, ExactPointList)
{
    const TPointsRow& Row = GetParam();
    EXPECT_EQ(Show(OcrBGlyphPoints(Row.Ch, Row.Left, Row.Top, Row.Width, Row.Height)), Show(Row.Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GlyphPointsTest,
    ::testing::Values(
        TPointsRow{"DelimiterAtModuleWidthTwo", '>', 214, 60, 12, 16,
                   Polygon({{211, 75}, {227, 69}, {227, 66}, {211, 61}, {211, 63}, {224, 68}, {211, 72}})},
        TPointsRow{"DelimiterTruncatesTowardZero", '>', 0, 0, 14, 22,
                   Polygon({{-2, 21}, {15, 13}, {15, 9}, {-2, 1}, {-2, 5}, {12, 11}, {-2, 17}})}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(GlyphTransformTest, UnitScaleMovesEveryPointByTheCellOffset)
{
    for (std::size_t G = 0; G < 11; ++G) {
        const TExtentRow& Row = ExtentRows[G];
        SCOPED_TRACE(std::string("glyph '") + Row.Ch + "'");
        const TGlyphOutline& O = OcrBOutlines[G];
        const auto Contours = OcrBGlyphPoints(Row.Ch, 40, 30, 688, 1078);
        std::size_t I = 0;
        for (const auto& Contour : Contours)
            for (const QPoint& P : Contour) {
                const TOutlinePoint& D = O.Points[I++];
                ASSERT_EQ(P.x(), 40 + D.X - Row.XOff) << "point " << I;
                ASSERT_EQ(P.y(), 30 + 1077 - (D.Y - Row.YMin)) << "point " << I;
            }
        EXPECT_EQ(std::int32_t(I), OutlinePointCount(O));
    }
}

TEST(GlyphTransformTest, ThreeKeepsItsOddSpareUnitOnTheRight)
{
    std::int32_t MinX = INT32_MAX;
    for (const auto& Contour : OcrBGlyphPoints('3', 0, 0, 688, 1078))
        for (const QPoint& P : Contour)
            MinX = std::min(MinX, P.x());
    EXPECT_EQ(MinX, 9) << "ink 668 wide, 19 spare: 9 on the left";
}

TEST(GlyphTransformTest, ZeroLosesAPixelToTruncation)
{
    std::int32_t MaxY = INT32_MIN;
    for (const auto& Contour : OcrBGlyphPoints('0', 0, 0, 20, 20))
        for (const QPoint& P : Contour)
            MaxY = std::max(MaxY, P.y());
    EXPECT_EQ(MaxY, 18) << "exactly 19 in real numbers, just below it in extended precision";
}

TEST(GlyphTransformTest, DegenerateBoxesCollapse)
{
    for (char Ch : std::string(GlyphChars)) {
        SCOPED_TRACE(Ch);
        for (const auto& Contour : OcrBGlyphPoints(Ch, 7, 9, 1, 50))
            for (const QPoint& P : Contour)
                ASSERT_EQ(P.x(), 7);
        for (const auto& Contour : OcrBGlyphPoints(Ch, 7, 9, 50, 1))
            for (const QPoint& P : Contour)
                ASSERT_EQ(P.y(), 9);
    }
}

TEST(GlyphTransformTest, ExtremeBoxesDoNotWrap)
{
    for (const auto& Contour : OcrBGlyphPoints('8', INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX))
        for (const QPoint& P : Contour) {
            EXPECT_EQ(P.x(), INT32_MAX);
            EXPECT_GE(P.y(), INT32_MIN);
        }
    EXPECT_TRUE(OcrBGlyphPoints(':', 0, 0, 10, 10).empty());
    EXPECT_TRUE(OcrBGlyphPoints('A', 0, 0, 10, 10).empty());
}

// --- Painting -------------------------------------------------------------

using TPainter = void (*)(TCanvas&, std::int32_t, std::int32_t, std::int32_t, std::int32_t, TColor);
const TPainter Painters[] = {DrawOcrBGlyph0, DrawOcrBGlyph1, DrawOcrBGlyph2, DrawOcrBGlyph3,
                             DrawOcrBGlyph4, DrawOcrBGlyph5, DrawOcrBGlyph6, DrawOcrBGlyph7,
                             DrawOcrBGlyph8, DrawOcrBGlyph9, DrawOcrBGlyphDelimiter};

// Pixel of design point (x, y) in a 688 x 1078 box at the origin (scale 1).
QRgb DesignPixel(const QImage& Image, std::size_t Glyph, std::int32_t X, std::int32_t Y)
{
    const TExtentRow& Row = ExtentRows[Glyph];
    return Image.pixel(X - Row.XOff, 1077 - (Y - Row.YMin));
}

struct TCounterRow {
    std::size_t Glyph;
    std::int32_t XMin, XMax, YMin, YMax;
};

TEST(GlyphPaintTest, CountersStayEmptyInsideTheirRing)
{
    const TCounterRow Counters[] = {{0, 288, 700, 115, 919}, {6, 287, 702, 116, 528}, {8, 336, 654, 658, 916},
                                    {8, 291, 699, 116, 501}, {9, 287, 703, 509, 916}};
    for (const TCounterRow& C : Counters) {
        SCOPED_TRACE("glyph " + std::to_string(C.Glyph) + " counter at y " + std::to_string(C.YMin));
        QImage Image(688, 1078, QImage::Format_RGB32);
        Image.fill(Qt::white);
        {
            TCanvas Canvas(&Image);
            Painters[C.Glyph](Canvas, 0, 0, 688, 1078, clBlue);
        }
        const std::int32_t MidX = (C.XMin + C.XMax) / 2, MidY = (C.YMin + C.YMax) / 2;
        EXPECT_EQ(DesignPixel(Image, C.Glyph, MidX, MidY), qRgb(255, 255, 255)) << "counter filled";
        EXPECT_EQ(DesignPixel(Image, C.Glyph, C.XMin + 20, MidY), qRgb(255, 255, 255));
        EXPECT_EQ(DesignPixel(Image, C.Glyph, C.XMin - 25, MidY), qRgb(0, 0, 255)) << "ring left of the counter";
        EXPECT_EQ(DesignPixel(Image, C.Glyph, C.XMax + 25, MidY), qRgb(0, 0, 255)) << "ring right of the counter";
    }
}

TEST(GlyphPaintTest, EveryGlyphInksOnlyInsideItsPolygonBounds)
{
    for (std::size_t G = 0; G < 11; ++G) {
        SCOPED_TRACE(G);
        QImage Image(120, 120, QImage::Format_RGB32);
        Image.fill(Qt::white);
        {
            TCanvas Canvas(&Image);
            Painters[G](Canvas, 30, 20, 60, 80, clBlack);
        }
        QRect Bounds;
        for (const auto& Contour : OcrBGlyphPoints(GlyphChars[G], 30, 20, 60, 80))
            for (const QPoint& P : Contour)
                Bounds |= QRect(P, QSize(1, 1));
        int Ink = 0;
        for (int Y = 0; Y < 120; ++Y)
            for (int X = 0; X < 120; ++X)
                if (Image.pixel(X, Y) != qRgb(255, 255, 255)) {
                    ++Ink;
                    ASSERT_TRUE(Bounds.adjusted(-1, -1, 1, 1).contains(X, Y)) << X << "," << Y;
                }
        EXPECT_GT(Ink, 300) << "glyph barely painted";
    }
}

TEST(GlyphPaintTest, LeavesPenAndBrushInTheGlyphColour)
{
    QImage Image(40, 40, QImage::Format_RGB32);
    TCanvas Canvas(&Image);
    Canvas.SetPenColor(clRed);
    Canvas.SetPenWidth(3);
    Canvas.SetBrushStyle(TBrushStyle::bsClear);
    Canvas.SetPenStyle(TPenStyle::psSolid);
    DrawOcrBGlyph6(Canvas, 0, 0, 30, 40, clGreen);
    EXPECT_EQ(Canvas.PenColor(), clGreen);
    EXPECT_EQ(Canvas.PenWidth(), 0);
    EXPECT_EQ(Canvas.BrushColor(), clGreen);
    EXPECT_EQ(Canvas.BrushStyle(), TBrushStyle::bsSolid);
    EXPECT_EQ(Canvas.PenStyle(), TPenStyle::psSolid) << "the pen style is not the painter's to touch";
}

TEST(GlyphPaintTest, UnusableSurfaceRaises)
{
    QImage Null;
    TCanvas Canvas(&Null);
    EXPECT_THROW(DrawOcrBGlyph0(Canvas, 0, 0, 10, 10, clBlack), Exception);
}

} // namespace
