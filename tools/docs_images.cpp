// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Renders the pictures under docs/: weq_docs_images OUTPUT_DIR
#include <WEQBarCode/Barcode.h>
#include <ean/WEQEan.h>
#include <ean/WEQEanBook.h>
#include <ean/WEQEanExport.h>
#include <ean/WEQEanFamily.h>
#include <ocrb/WEQOcrB.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>

#include <cstdio>

namespace {

void GlyphSheet(const QString& Path)
{
    using TPainter = void (*)(TCanvas&, std::int32_t, std::int32_t, std::int32_t, std::int32_t, TColor);
    const TPainter Painters[] = {WEQOcrB::DrawOcrBGlyph0, WEQOcrB::DrawOcrBGlyph1, WEQOcrB::DrawOcrBGlyph2,
                                 WEQOcrB::DrawOcrBGlyph3, WEQOcrB::DrawOcrBGlyph4, WEQOcrB::DrawOcrBGlyph5,
                                 WEQOcrB::DrawOcrBGlyph6, WEQOcrB::DrawOcrBGlyph7, WEQOcrB::DrawOcrBGlyph8,
                                 WEQOcrB::DrawOcrBGlyph9, WEQOcrB::DrawOcrBGlyphDelimiter};
    const int W = 138, H = 216, Gap = 48; // cells a fifth of the design size
    QImage Image(11 * (W + Gap) + Gap, H + 2 * Gap, QImage::Format_RGB32);
    Image.fill(Qt::white);
    TCanvas Canvas(&Image);
    for (int I = 0; I < 11; ++I) {
        const int Left = Gap + I * (W + Gap);
        Canvas.SetPenColor(clSilver);
        Canvas.SetBrushStyle(TBrushStyle::bsClear);
        Canvas.Rectangle(Left - 1, Gap - 1, Left + W + 1, Gap + H + 1);
        Painters[I](Canvas, Left, Gap, W, H, clBlack);
    }
    Image.save(Path);
}

void Symbol(const QString& Path, std::int32_t M)
{
    QImage Image(113 * M, 79 * M, QImage::Format_RGB32);
    TCanvas Canvas(&Image);
    WEQEan::DrawEan13("4006381333931", Canvas, 113 * M, 79 * M, clWhite, clBlack, clBlack, true, true);
    Image.save(Path);
}

// One symbol of the family at module width 3 with its quiet-zone marks.
void FamilySymbol(const QString& Path, const WEQEan::TEanReading& Reading)
{
    constexpr std::int32_t M = 3;
    const std::int32_t W = WEQEan::SymbolModules(Reading.Symbology, Reading.AddOn.size()) * M;
    const std::int32_t H = WEQEan::RatioHeightModules(Reading.Symbology) * M;
    // A book's number line comes on top.
    QImage Image(W, H + WEQEan::LineBandHeight(Reading, M), QImage::Format_RGB32);
    TCanvas Canvas(&Image);
    if (!WEQEan::DrawSymbol(Reading, Canvas, W, H, clWhite, clBlack, clBlack, true, true))
        std::fprintf(stderr, "%s: %s\n", Reading.Title().c_str(), Reading.Error.c_str());
    Image.save(Path);
}

// A label made by an application: a line of text and two symbols on an A6
// page, here an image of 200 dpi rather than a PDF.
void LabelPage(const QString& Path)
{
    constexpr int Dpi = 200;
    QImage Page(int(105 / 25.4 * Dpi), int(148 / 25.4 * Dpi), QImage::Format_RGB32);
    Page.setDotsPerMeterX(int(Dpi / 0.0254));
    Page.setDotsPerMeterY(int(Dpi / 0.0254));
    Page.fill(Qt::white);
    WEQ::Barcode Product(QStringLiteral("400638133393"));
    WEQ::Barcode Case(QStringLiteral("03600029145"), WEQ::Barcode::UpcA);
    Case.setAddOn(QStringLiteral("12"));
    QPainter Painter(&Page);
    Painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    Painter.drawText(QPointF(10 / 25.4 * Dpi, 12 / 25.4 * Dpi), QStringLiteral("Oat flakes, 500 g"));
    Product.paint(&Painter, QPointF(10, 20));
    Case.paint(&Painter, QPointF(10, 70));
    Painter.end();
    Page.save(Path);
}

// A page whose painter works in millimetres (setWindow(0, 0, 60, 40) on a
// 60 x 40 mm QPdfWriter page): the symbol lands at its position with its
// true size. The PDF rendered by pdftoppm at 300 dpi, as a printer would.
void MillimetreWindow(const QString& Path)
{
    const QString Pdf = Path + ".pdf";
    {
        QPdfWriter Writer(Pdf);
        Writer.setPageSize(QPageSize(QSizeF(60, 40), QPageSize::Millimeter));
        Writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        Writer.setResolution(1200);
        QPainter Painter(&Writer);
        Painter.setWindow(0, 0, 60, 40);
        Painter.setPen(QPen(Qt::gray, 0.2));
        Painter.drawRect(QRectF(0.5, 0.5, 59, 39));
        // A font's point size follows the device, not the window: its size in
        // the window's millimetres is its pixel size.
        QFont Font(QStringLiteral("DejaVu Sans"));
        Font.setPixelSize(2);
        Painter.setFont(Font);
        Painter.setPen(Qt::black);
        Painter.drawText(QPointF(3, 4.5), QStringLiteral("setWindow(0, 0, 60, 40); paint(&p, QPointF(11, 7))"));
        WEQ::Barcode(QStringLiteral("400638133393")).paint(&Painter, QPointF(11, 7));
    }
    QProcess::execute(QStringLiteral("pdftoppm"), {"-r", "300", "-png", "-singlefile", Pdf, Path.chopped(4)});
    QFile::remove(Pdf);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication App(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: weq_docs_images OUTPUT_DIR\n");
        return 2;
    }
    const QDir Out(QString::fromLocal8Bit(argv[1]));
    GlyphSheet(Out.filePath("ocrb-outlines.png"));
    Symbol(Out.filePath("symbol-m3.png"), 3);
    Symbol(Out.filePath("symbol-m5.png"), 5);
    WEQEan::ExportPng("400638133393", Out.filePath("export-600dpi.png"), 600);
    WEQEan::ExportSvg("400638133393", Out.filePath("export.svg"));
    using WEQEan::Read;
    using WEQEan::TKind;
    const auto With = [](const char* AddOn) {
        WEQEan::TReadOptions O;
        O.AddOn = AddOn;
        return O;
    };
    FamilySymbol(Out.filePath("ean8.png"), Read(TKind::Ean8, "9638507"));
    FamilySymbol(Out.filePath("upca.png"), Read(TKind::UpcA, "03600029145"));
    FamilySymbol(Out.filePath("upce.png"), Read(TKind::UpcE, "0425261"));
    FamilySymbol(Out.filePath("ean13-addon2.png"), Read(TKind::Ean13, "977123456700", With("12")));
    FamilySymbol(Out.filePath("ean13-addon5.png"), Read(TKind::Ean13, "978020137962", With("52495")));
    FamilySymbol(Out.filePath("upce-addon2.png"), Read(TKind::UpcE, "0425261", With("07")));
    FamilySymbol(Out.filePath("isbn.png"), Read(TKind::Isbn, "ISBN 0-306-40615-2", With("51299")));
    FamilySymbol(Out.filePath("ismn.png"), Read(TKind::Ismn, "M-2306-7118-7"));
    FamilySymbol(Out.filePath("issn.png"), Read(TKind::Issn, "0317-8471", With("07")));
    LabelPage(Out.filePath("label-a6.png"));
    MillimetreWindow(Out.filePath("millimetre-window.png"));
    return 0;
}
