// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ocrb/WEQOcrB_p.h"
#include "surface/Canvas_p.h"
#include "surface/Ink_p.h"
#include "symbol/SymbolTestUtil.h"

#include <QImage>
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <tuple>
#include <vector>

using namespace WEQOcrB;

namespace {

const char Slots[] = "0123456789>";

// Renders Ch at (5, 5) in OCR-B at em height H without antialiasing, the way
// a person would check it, and returns its ink box.
QRect InkAt(char Ch, std::int32_t H)
{
    QImage Image(3 * H + 10, 3 * H + 10, QImage::Format_RGB32);
    Image.fill(Qt::white);
    TCanvas Canvas(&Image);
    Canvas.SetFontName("OCRB");
    Canvas.SetFontHeight(-H);
    Canvas.SetFontAntialias(false);
    Canvas.SetFontColor(clBlack);
    Canvas.SetBrushStyle(TBrushStyle::bsClear);
    Canvas.TextOut(5, 5, std::string(1, Ch));
    return InkOf(Image);
}

QSize InkSizeAt(char Ch, std::int32_t H) { return InkAt(Ch, H).size(); }

QSize LargestInkAt(std::int32_t H)
{
    QSize Max;
    for (char Ch : std::string(Slots))
        Max = Max.expandedTo(InkSizeAt(Ch, H));
    return Max;
}

class FitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OcrBFontLoaded) << "the embedded font did not load";
        FitCacheFontName.clear();
    }
};

TEST_F(FitTest, FittedHeightsForTheSymbolsDigitBoxes)
{
    for (std::int32_t M = 1; M <= 12; ++M) {
        const std::int32_t W = 6 * M, H = 833 * M / 100;
        SCOPED_TRACE("module width " + std::to_string(M) + ", box " + std::to_string(W) + " x " + std::to_string(H));
        const std::int32_t Fitted = FitFontHeight("0", "OCRB", W, H).Height;
        const QSize At = LargestInkAt(Fitted), Above = LargestInkAt(Fitted + 1);
        EXPECT_LE(At.width(), W) << "ink wider than the box at the fitted height " << Fitted;
        EXPECT_LE(At.height(), H) << "ink taller than the box at the fitted height " << Fitted;
        const bool Fills = At.width() == W || At.height() == H;
        const bool NextOverflows = Above.width() > W || Above.height() > H;
        EXPECT_TRUE(Fills || NextOverflows) << "height " << Fitted << " leaves room: one more pixel gives "
                                            << Above.width() << " x " << Above.height();
        std::printf("m=%d box %dx%d fitted height %d, largest ink %dx%d\n", M, W, H, Fitted, At.width(),
                    At.height());
    }
}

// The number line's characters on one baseline at em height H: the widest
// one's width, and the height from the highest ink to the lowest.
QSize LineInkAt(std::int32_t H)
{
    QRect All;
    int Widest = 0;
    for (const char Ch : std::string(LineFitChars)) {
        const QRect Ink = InkAt(Ch, H);
        All |= Ink;
        Widest = std::max(Widest, Ink.width());
    }
    return {Widest, All.height()};
}

// The number line's boxes as the symbols have them at module widths 1 to
// 10 (six sevenths of 113 m / 22, 8.33 / 6 as tall) and others: the fitted
// height is the largest at which every character fits on one baseline.
TEST_F(FitTest, TheNumberLineFitsItsBoxesOnOneBaseline)
{
    std::vector<std::pair<std::int32_t, std::int32_t>> Boxes{{30, 20}, {12, 40}};
    for (std::int32_t M = 1; M <= 10; ++M) {
        const std::int32_t W = 113 * M / 22 * 6 / 7;
        Boxes.emplace_back(W, std::int32_t(W * 833 / 600));
    }
    for (const auto& [W, H] : Boxes) {
        SCOPED_TRACE(std::to_string(W) + " x " + std::to_string(H));
        const TLineFit Fit = FitLine("OCRB", W, H);
        ASSERT_TRUE(Fit.Fitted);
        const QSize At = LineInkAt(Fit.Height), Above = LineInkAt(Fit.Height + 1);
        EXPECT_LE(At.width(), W) << "at the fitted height " << Fit.Height;
        EXPECT_LE(At.height(), H) << "at the fitted height " << Fit.Height;
        EXPECT_TRUE(Above.width() > W || Above.height() > H) << "height " << Fit.Height << " leaves room";
        // Each character's own ink at that height, and the line's top.
        int Top = INT_MAX;
        for (std::size_t S = 0; S < LineFitSlots; ++S) {
            const QRect Ink = InkAt(LineFitChars[S], Fit.Height).translated(-5, -5);
            EXPECT_EQ(Fit.Ink[S].Width, Ink.width()) << LineFitChars[S];
            EXPECT_EQ(Fit.Ink[S].Top, Ink.top()) << LineFitChars[S];
            Top = std::min(Top, Ink.top());
        }
        EXPECT_EQ(Fit.Top, Top);
    }
    // A box nothing fits, and one beyond the font's sizes: not fitted, and said so.
    for (const auto& [W, H] : {std::pair(0, 0), std::pair(-3, 7), std::pair(5000, 5000), std::pair(900, 1200)})
        EXPECT_FALSE(FitLine("OCRB", W, H).Fitted) << W << " x " << H;
}

// Drawing a pass's characters together changes what the search costs, not
// what it finds: the digits' boxes at module widths 1 to 12 and odd ones, and
// the number line's, fit the same with each character drawn alone, the ink
// it reports (which places the digits) included.
TEST_F(FitTest, DrawingTogetherFitsAsDrawingAlone)
{
    struct TTogether {
        ~TTogether() { TFastPaths::InkTogether = true; }
    } Restore;
    std::vector<std::pair<std::int32_t, std::int32_t>> Boxes{{1, 1}, {3, 40}, {40, 3}, {9, 30}};
    for (std::int32_t M = 1; M <= 12; ++M)
        Boxes.emplace_back(7 * M, 833 * M / 100);
    for (const auto& [W, H] : Boxes) {
        SCOPED_TRACE(std::to_string(W) + " x " + std::to_string(H));
        TFit Fits[2];
        TLineFit Lines[2];
        for (const bool Together : {false, true}) {
            TFastPaths::InkTogether = Together;
            TFitCache::Shared().Clear();
            Fits[Together] = TFitCache::Shared().Fit("OCRB", W, H);
            Lines[Together] = FitLine("OCRB", W, H);
        }
        EXPECT_TRUE(Fits[1].Fitted);
        EXPECT_EQ(std::tie(Fits[1].Fitted, Fits[1].Height, Fits[1].Reported, Fits[1].Exact, Fits[1].Complete),
                  std::tie(Fits[0].Fitted, Fits[0].Height, Fits[0].Reported, Fits[0].Exact, Fits[0].Complete));
        EXPECT_EQ(std::tie(Lines[1].Fitted, Lines[1].Height, Lines[1].Top, Lines[1].Ink),
                  std::tie(Lines[0].Fitted, Lines[0].Height, Lines[0].Top, Lines[0].Ink));
    }
}

TEST_F(FitTest, ASecondCallWithTheSameKeyMeasuresNothing)
{
    const TFitResult First = FitFontHeight("0", "OCRB", 30, 41);
    const std::uint64_t Measured = MeasurementCount;
    EXPECT_GT(Measured, 0u);
    for (char Ch : std::string(Slots)) {
        const TFitResult Again = FitFontHeight(std::string(1, Ch), "OCRB", 30, 41);
        EXPECT_EQ(Again.Height, First.Height);
        EXPECT_EQ(Again.InkLeft, InkLeft[Ch == '>' ? 10 : Ch - '0']);
    }
    EXPECT_EQ(MeasurementCount, Measured) << "a cache hit measured";
}

// The one-key names follow every change of box, while each box is measured
// once: alternating sizes then costs nothing but the lookup.
TEST_F(FitTest, AlternatingBoxSizesAreEachMeasuredOnce)
{
    TFitCache::Shared().Clear();
    std::int32_t Heights[2] = {};
    std::uint64_t Measured[4] = {};
    for (int Round = 0; Round < 4; ++Round) {
        const std::uint64_t Before = MeasurementCount;
        const std::int32_t W = Round % 2 ? 18 : 48, H = Round % 2 ? 24 : 66;
        const std::int32_t Height = FitFontHeight("5", "OCRB", W, H).Height;
        Measured[Round] = MeasurementCount - Before;
        EXPECT_EQ(FitCacheWidth, W) << "round " << Round;
        EXPECT_EQ(FitCacheHeight, H) << "round " << Round;
        EXPECT_EQ(FittedHeight, Height);
        if (Round >= 2) {
            EXPECT_EQ(Height, Heights[Round % 2]) << "round " << Round;
        }
        Heights[Round % 2] = Height;
    }
    EXPECT_GT(Measured[0], 0u);
    EXPECT_GT(Measured[1], 0u);
    EXPECT_EQ(Measured[2] + Measured[3], 0u) << "a box seen before was measured again";
    EXPECT_LT(Heights[1], Heights[0]);
    const std::uint64_t Before = MeasurementCount;
    FitFontHeight("5", "NoSuchFace", 18, 24);
    EXPECT_GT(MeasurementCount, Before) << "the font name is part of the key";
}

TEST_F(FitTest, FirstFittingAfterAnEmptyCacheMeasures)
{
    TFitCache::Shared().Clear();
    const std::uint64_t Before = MeasurementCount;
    FitFontHeight(">", "OCRB", 12, 16);
    EXPECT_GT(MeasurementCount, Before);
    EXPECT_EQ(FitCacheFontName, "OCRB");
    EXPECT_EQ(FitCacheWidth, 12);
    EXPECT_EQ(FitCacheHeight, 16);
}

// A character's ink measured from its glyph alone is the ink of the text laid
// out and drawn, cut to the same cell, in both bitmap depths (from 64 pixels
// the 32-bit one), and a face without the character falls back to the layout;
// measured among others, it is the same again.
TEST_F(FitTest, AGlyphsInkIsTheLaidOutTextsInk)
{
    std::vector<std::int32_t> Heights;
    for (std::int32_t H = 1; H <= 80; ++H)
        Heights.push_back(H);
    for (std::int32_t H = 97; H <= MaxFitFontHeight; H += 131)
        Heights.push_back(H);
    // Small again on the sheet the large ones grew: nothing of theirs left on it.
    Heights.insert(Heights.end(), {24, 1, 63, 64, 7});
    const char Lacking = '\xA2'; // a cent sign, which the embedded face has not
    const std::string Chars = std::string(Slots) + LineChars + Lacking;
    for (const char* Face : {"OCRB", "DejaVu Sans"})
        for (const std::int32_t H : Heights) {
            const TInkMeter Meter(Face, H);
            for (const char Ch : Chars) {
                const std::string Text(1, Ch);
                if (std::string(Face) == "OCRB")
                    ASSERT_EQ(Meter.ByGlyph(Text), Ch != Lacking) << Ch;
                TFastPaths::InkGlyphs = false;
                const TInkBox Laid = Meter.Measure(Text);
                TFastPaths::InkGlyphs = true;
                const TInkBox Glyph = Meter.Measure(Text);
                ASSERT_EQ(std::tie(Glyph.Any, Glyph.Left, Glyph.Top, Glyph.Right, Glyph.Bottom),
                          std::tie(Laid.Any, Laid.Left, Laid.Top, Laid.Right, Laid.Bottom))
                    << Face << " '" << Ch << "' at " << H << " pixels";
                // Not a comparison of two blanks: from a few pixels up, every character of ours inks.
                if (std::string(Face) == "OCRB" && Ch != Lacking && H >= 4)
                    EXPECT_TRUE(Glyph.Any) << "'" << Ch << "' at " << H << " pixels left no ink";
            }
            // Drawn together, each as alone: glyphs that reach beyond their
            // cells among them, and what they leave there is cleared.
            const std::string Together = Chars + "jfW/jf";
            const std::vector<TInkBox> Each = Meter.MeasureEach(Together);
            ASSERT_EQ(Each.size(), Together.size());
            for (std::size_t I = 0; I < Together.size(); ++I) {
                const TInkBox Alone = Meter.Measure(std::string(1, Together[I]));
                ASSERT_EQ(std::tie(Each[I].Any, Each[I].Left, Each[I].Top, Each[I].Right, Each[I].Bottom),
                          std::tie(Alone.Any, Alone.Left, Alone.Top, Alone.Right, Alone.Bottom))
                    << Face << " '" << Together[I] << "' at " << H << " pixels, drawn together";
            }
        }
}

TEST_F(FitTest, OtherCharactersRaiseBeforeAnythingIsMeasured)
{
    for (const char* Ch : {":", "A", "", "12", "-1", " "}) {
        const std::uint64_t Before = MeasurementCount;
        EXPECT_THROW(FitFontHeight(Ch, "OCRB", 18, 24), EConvertError) << "'" << Ch << "'";
        EXPECT_EQ(MeasurementCount, Before);
        EXPECT_TRUE(FitCacheFontName.empty()) << "nothing cached for '" << Ch << "'";
    }
}

TEST_F(FitTest, EverySearchEnds)
{
    const std::pair<std::int32_t, std::int32_t> Boxes[] = {{1, 1}, {0, 0}, {-5, -5}, {2, 100}, {100, 2},
                                                           {INT32_MIN, INT32_MIN}, {3, 3}};
    for (auto [W, H] : Boxes) {
        SCOPED_TRACE(std::to_string(W) + " x " + std::to_string(H));
        const TFitResult R = FitFontHeight("8", "OCRB", W, H);
        EXPECT_GE(R.Height, 1) << "no font is smaller than a pixel";
    }
}

TEST_F(FitTest, EnormousBoxesFailCleanlyAndAreRemembered)
{
    const auto Start = std::chrono::steady_clock::now();
    // The digit box of a control 99,999,999 pixels wide.
    const std::int32_t M = 99999999 / 113;
    EXPECT_THROW(FitFontHeight("0", "OCRB", 6 * M, 833 * M / 100), Exception);
    EXPECT_TRUE(FitCacheFontName.empty()) << "a failed search left its key in the one-key cache";
    const std::uint64_t Before = MeasurementCount;
    EXPECT_THROW(FitFontHeight("0", "OCRB", 6 * M, 833 * M / 100), Exception) << "second call returned a stale result";
    EXPECT_EQ(MeasurementCount, Before) << "a box that cannot be fitted was searched again";
    EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(5));
}

// --- Drawing with the font ------------------------------------------------

struct TDrawn {
    QRect Ink;
    QImage Image;
};

TDrawn DrawWithFont(const std::string& Ch, std::int32_t Left, std::int32_t Top, std::int32_t W, std::int32_t H,
                    std::uint8_t Alignment)
{
    TDrawn Out{QRect(), QImage(200, 200, QImage::Format_RGB32)};
    Out.Image.fill(Qt::white);
    {
        TCanvas Canvas(&Out.Image);
        Canvas.SetFontAntialias(false); // so the drawn ink is exactly the measured ink
        DrawFontChar(Ch, Canvas, Left, Top, W, H, Alignment, clBlack);
        EXPECT_EQ(Canvas.BrushStyle(), TBrushStyle::bsClear);
        EXPECT_EQ(Canvas.FontName(), "OCRB");
        EXPECT_EQ(Canvas.FontHeight(), -FittedHeight);
        EXPECT_EQ(Canvas.FontColor(), clBlack);
    }
    Out.Ink = InkOf(Out.Image);
    return Out;
}

TEST_F(FitTest, AlignmentPlacesTheInkBox)
{
    const std::int32_t L = 40, T = 30, W = 60, H = 50;
    const TDrawn Left = DrawWithFont("1", L, T, W, H, 0);
    const TDrawn Right = DrawWithFont("1", L, T, W, H, 2);
    const TDrawn Centre = DrawWithFont("1", L, T, W, H, 1);
    const std::int32_t IW = InkWidth[1];
    EXPECT_EQ(Left.Ink.left(), L);
    EXPECT_EQ(Right.Ink.right(), L + W - 1);
    EXPECT_EQ(Centre.Ink.left(), L + (W - IW) / 2);
    for (const TDrawn* D : {&Left, &Right, &Centre})
        EXPECT_EQ(D->Ink.top(), T) << "ink top on the box top";
    for (std::uint8_t Code : {3, 255})
        EXPECT_EQ(DrawWithFont("1", L, T, W, H, Code).Image, Centre.Image) << "code " << int(Code) << " centres";
}

TEST_F(FitTest, CentringSplitsSpareAndOverhangTheSameWay)
{
    const std::int32_t L = 50, T = 20, W = 30, H = 41;
    FitFontHeight("0", "OCRB", W, H);
    const std::int32_t RealWidth = InkWidth[0];
    // The tables may hold ink of another height (a pass above, an earlier
    // fitting); pretend so to get 3 spare pixels and 3 too many.
    InkWidth[0] = W - 3;
    EXPECT_EQ(DrawWithFont("0", L, T, W, H, 1).Ink.left(), L + 1) << "1 spare pixel left, 2 right";
    InkWidth[0] = W + 3;
    EXPECT_EQ(DrawWithFont("0", L, T, W, H, 1).Ink.left(), L - 1) << "the ink starts 1 pixel left of the box";
    InkWidth[0] = RealWidth;
}

TEST_F(FitTest, DelimiterUsesSlotTenAndIsTopAligned)
{
    const TDrawn D = DrawWithFont(">", 10, 10, 30, 41, 2);
    EXPECT_EQ(D.Ink.top(), 10);
    EXPECT_EQ(D.Ink.width(), InkWidth[10]);
    EXPECT_EQ(D.Ink.height(), InkHeight[10]);
    EXPECT_LT(InkHeight[10], InkHeight[0]) << "'>' is shorter than the digits";
    EXPECT_EQ(D.Ink.right(), 39);
}

TEST_F(FitTest, DispatchFollowsTheLoadedFlag)
{
    auto Draw = [](const std::string& Ch, std::uint8_t Alignment) {
        QImage Image(60, 60, QImage::Format_RGB32);
        Image.fill(Qt::white);
        TCanvas Canvas(&Image);
        DrawOcrBChar(Ch, Canvas, 5, 5, 30, 41, Alignment, clBlack);
        return Image;
    };
    EXPECT_THROW(Draw(":", 1), EConvertError);
    EXPECT_THROW(Draw("A", 1), EConvertError);
    EXPECT_NO_THROW(Draw("7x", 1)) << "only the first character counts";

    OcrBFontLoaded = false; // as when the registration failed
    QImage Blank(60, 60, QImage::Format_RGB32);
    Blank.fill(Qt::white);
    EXPECT_EQ(Draw(":", 1), Blank);
    EXPECT_EQ(Draw("A", 1), Blank);
    QImage Outline(60, 60, QImage::Format_RGB32);
    Outline.fill(Qt::white);
    {
        TCanvas Canvas(&Outline);
        DrawOcrBGlyph7(Canvas, 5, 5, 30, 41, clBlack);
    }
    EXPECT_EQ(Draw("7", 2), Outline) << "the outline path draws the painter's glyph, whatever the alignment";
    EXPECT_EQ(Draw("7", 0), Outline);
    OcrBFontLoaded = true;
}

} // namespace
