// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Inks as the PDF and EPS files write them, read as text: the colour
// operators, the Separation, the PDF/X keys, the EPS header, and the
// refusals. Ghostscript's separations of the same files are in
// SeparationTest.

#include "ean/WEQEanExport.h"
#include "symbol/PdfText.h"

#include <QByteArray>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace WEQEan;

namespace {

TInk Ink(const char* Text)
{
    TInk Read;
    EXPECT_TRUE(ParseInk(Text, Read)) << Text;
    return Read;
}

TEST(InkExportTest, PdfPaintsEachShapeInItsInk)
{
    const struct {
        const char *Name, *Bars, *Background, *Digits; // null: not given
        bool PdfX;
        std::vector<const char*> Present, Absent;
    } Rows[] = {
        {"RGB as ever", nullptr, nullptr, nullptr, false, {"0 0 0 rg", "1 1 1 rg"}, {" k\n", " cs "}},
        {"black ink on no ink", "cmyk(0,0,0,100)", "none", nullptr, false, {"0 0 0 1 k"}, {" rg\n", "0 0 0 0 k"}},
        {"black ink on white", "cmyk(0,0,0,100)", nullptr, nullptr, false, {"0 0 0 1 k", "0 0 0 0 k"}, {" rg\n"}},
        {"a spot with black digits", "spot(Blue 072,100,80,0,0)", nullptr, "cmyk(0,0,0,100)", false,
         {"/CS0 [/Separation /Blue#20072 /DeviceCMYK << /FunctionType 2 /Domain [0 1] /C0 [0 0 0 0] /C1 [1 0.8 0 0] "
          "/N 1 >>]",
          "/CS0 cs 1 scn", "0 0 0 1 k"},
         {" rg\n"}},
        {"a spot name of PDF's delimiters", "spot(A/B#[x]% y,0,0,0,100)", "none", nullptr, false,
         {"/Separation /A#2FB#23#5Bx#5D#25#20y "}, {}},
        {"PDF/X: black ink, no background", nullptr, nullptr, nullptr, true,
         {"0 0 0 1 k", "/GTS_PDFXVersion (PDF/X-1a:2003)", "/Trapped /False", "/S /GTS_PDFX",
          "/OutputConditionIdentifier (FOGRA39)", "/RegistryName (http://www.color.org)", "/TrimBox [", "/BleedBox [",
          "/CreationDate (D:", "/ModDate (D:", "/Title (EAN-13 4006381333931)"},
         {" rg\n", " RG\n", "0 0 0 0 k"}},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TExportOptions O;
        if (Row.Bars)
            O.BarInk = Ink(Row.Bars);
        if (Row.Background)
            O.BackgroundInk = Ink(Row.Background);
        if (Row.Digits)
            O.FontInk = Ink(Row.Digits);
        O.PdfX = Row.PdfX;
        QByteArray Pdf;
        QString Error;
        ASSERT_TRUE(EncodePdf("4006381333931", O, Pdf, &Error)) << Error.toStdString();
        const QByteArray Text = PdfText(Pdf);
        for (const char* Want : Row.Present)
            EXPECT_TRUE(Text.contains(Want)) << Want << " in\n" << Text.toStdString();
        for (const char* Not : Row.Absent)
            EXPECT_FALSE(Text.contains(Not)) << Not << " in\n" << Text.toStdString();
        // The trailer's /ID: two strings of 16 bytes, under PDF/X only.
        EXPECT_EQ(QRegularExpression("/ID \\[<[0-9A-F]{32}> <[0-9A-F]{32}>\\]").match(Pdf).hasMatch(), Row.PdfX);
    }
}

TEST(InkExportTest, PdfXRefusesRgbWithTheReason)
{
    const struct {
        const char* Name;
        void (*Set)(TExportOptions&);
        const char* Reason;
    } Rows[] = {
        {"an RGB bar ink", [](TExportOptions& O) { O.BarInk = TInk::FromColor(clBlack); },
         "the bars are RGB #000000"},
        {"a background colour", [](TExportOptions& O) { O.BackgroundColor = clCream; }, "the background is RGB"},
        {"a digit colour", [](TExportOptions& O) { O.FontColor = clRed; }, "the digits are RGB #ff0000"},
        {"no ink for the bars", [](TExportOptions& O) { O.BarInk = TInk::NoInk(); }, "none is for the background"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TExportOptions O;
        O.PdfX = true;
        Row.Set(O);
        QByteArray Pdf = "untouched";
        QString Error;
        EXPECT_FALSE(EncodePdf("4006381333931", O, Pdf, &Error));
        EXPECT_TRUE(Error.contains(Row.Reason)) << Error.toStdString();
        EXPECT_EQ(Pdf, "untouched");
    }
}

TEST(InkExportTest, EpsHeaderIsTheSymbolsExactBox)
{
    TExportOptions O;
    O.BarInk = Ink("spot(Reflex Blue,100,72,0,6)");
    O.FontInk = Ink("cmyk(0,0,0,100)");
    O.BackgroundInk = Ink("none");
    QByteArray Eps;
    ASSERT_TRUE(EncodeEps("4006381333931", O, Eps));
    // 113 modules of 330 um: 37.29 mm, 105.70394 pt; the height the PDF's.
    QByteArray Pdf;
    ASSERT_TRUE(EncodePdf("4006381333931", O, Pdf));
    const QRegularExpressionMatch Media = QRegularExpression("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]").match(Pdf);
    ASSERT_TRUE(Media.hasMatch());
    const double Height = Media.captured(2).toDouble();
    const QByteArray Header = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 106 " +
                              QByteArray::number(int(std::ceil(Height))) + "\n%%HiResBoundingBox: 0 0 105.703937 ";
    EXPECT_TRUE(Eps.startsWith(Header)) << Eps.left(200).toStdString();
    EXPECT_NEAR(QRegularExpression("HiResBoundingBox: 0 0 [0-9.]+ ([0-9.]+)").match(Eps).captured(1).toDouble(),
                Height, 1e-4);
    for (const char* Want : {"%%DocumentProcessColors: Black\n", "%%DocumentCustomColors: (Reflex Blue)\n",
                             "%%CMYKCustomColor: 1 0.72 0 0.06 (Reflex Blue)\n", "%%LanguageLevel: 2\n",
                             "[/Separation (Reflex Blue) cvn /DeviceCMYK {dup 1 mul exch dup 0.72 mul exch dup 0 mul "
                             "exch 0.06 mul}] setcolorspace 1 setcolor\n",
                             "0 0 0 1 setcmykcolor\n", "%%EOF\n"})
        EXPECT_TRUE(Eps.contains(Want)) << Want;
    for (const char* Not : {"setrgbcolor", "findfont", "0 0 37290 "})
        EXPECT_FALSE(Eps.contains(Not)) << Not;
}

} // namespace
