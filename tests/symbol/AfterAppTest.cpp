// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Drawing once the application object is gone: the font registration has
// been removed with it, so the digits come from the outlines, and nothing
// reaches for the font database. Its own program, since the application
// object of a test runner lives until the end.
#include "ean/WEQEan.h"
#include "ean/WEQEanExport.h"
#include "ocrb/WEQOcrB.h"
#include "symbol/Decode.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

std::string DrawAndDecode(int M)
{
    QImage Image(113 * M, 79 * M, QImage::Format_RGB32);
    TCanvas Canvas(&Image);
    if (!WEQEan::DrawEan13("4006381333931", Canvas, 113 * M, 79 * M, clWhite, clBlack, clBlack, true, true))
        return "(not drawn)";
    return DecodeEan13(Image);
}

int Fails = 0;

void Expect(bool Condition, const char* What)
{
    std::printf("%s: %s\n", Condition ? "ok" : "FAILED", What);
    Fails += !Condition;
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    {
        QApplication App(argc, argv);
        Expect(WEQOcrB::OcrBFontLoaded, "the font is there while the application runs");
        Expect(DrawAndDecode(3) == "4006381333931", "a symbol drawn with it decodes");
    }
    Expect(!WEQOcrB::OcrBFontLoaded, "the flag follows the registration's removal");
    Expect(DrawAndDecode(3) == "4006381333931", "a symbol drawn afterwards decodes");
    Expect(DrawAndDecode(5) == "4006381333931", "so does one at a size not fitted before");
    QTemporaryDir Dir;
    Expect(WEQEan::ExportPng("400638133393", Dir.filePath("a.png"), 300), "a PNG export afterwards");
    Expect(WEQEan::ExportSvg("400638133393", Dir.filePath("a.svg")), "an SVG export afterwards");
    return Fails == 0 ? 0 : 1;
}
