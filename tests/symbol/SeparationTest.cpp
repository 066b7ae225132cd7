// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The PDF and EPS files separated as pre-press does: Ghostscript's tiffsep
// gives each plate a file, and the ink on each is counted; the same files
// rendered and read by zxing-cpp; the EPS's box against Ghostscript's own.

#include "ean/WEQEanExport.h"
#include "symbol/Decode.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <map>

using namespace WEQEan;

namespace {

QByteArray Ghostscript(const QStringList& Args)
{
    QProcess P;
    P.start("gs", QStringList{"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER"} + Args);
    if (!P.waitForFinished(60000) || P.exitCode() != 0)
        return "gs failed: " + P.readAllStandardError();
    return P.readAllStandardOutput() + P.readAllStandardError();
}

// The ink on one of tiffsep's plates, percent of its area: an uncompressed
// TIFF of 8-bit grey, 255 for no ink and 0 for solid.
double PlateInk(const QString& Path)
{
    QFile File(Path);
    if (!File.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray T = File.readAll();
    const auto U16 = [&T](qsizetype At) { return quint32(quint8(T[At])) | quint32(quint8(T[At + 1])) << 8; };
    const auto U32 = [&](qsizetype At) { return U16(At) | U16(At + 2) << 16; };
    if (T.size() < 8 || !T.startsWith("II*"))
        return -1;
    const quint32 Ifd = U32(4);
    std::map<quint32, std::vector<quint32>> Tags;
    for (quint32 I = 0, N = U16(Ifd); I < N; ++I) {
        const qsizetype Entry = Ifd + 2 + 12 * I;
        const quint32 Tag = U16(Entry), Type = U16(Entry + 2), Count = U32(Entry + 4);
        const quint32 Size = Type == 3 ? 2 : 4;
        const qsizetype At = Count * Size <= 4 ? Entry + 8 : U32(Entry + 8);
        for (quint32 K = 0; K < Count && At + (K + 1) * Size <= T.size(); ++K)
            Tags[Tag].push_back(Size == 2 ? U16(At + K * 2) : U32(At + K * 4));
    }
    if (Tags[258] != std::vector<quint32>{8} || Tags[259] != std::vector<quint32>{1} || Tags[273].empty())
        return -1; // not 8 bits, or compressed
    const double Pixels = double(Tags[256].at(0)) * Tags[257].at(0);
    double Ink = 0;
    for (std::size_t S = 0; S < Tags[273].size() && S < Tags[279].size(); ++S)
        for (quint32 K = 0; K < Tags[279][S]; ++K)
            Ink += 255 - quint8(T[Tags[273][S] + K]);
    return Ink / 255 / Pixels * 100;
}

// Each plate's ink, by its name, of the file at 300 dpi.
std::map<std::string, double> Plates(const QString& File, const QString& Dir)
{
    const QString Base = Dir + "/plates.tif";
    const QByteArray Said = Ghostscript({"-dEPSCrop", "-r300", "-sDEVICE=tiffsep", "-sCompression=none",
                                         "-sOutputFile=" + Base, File});
    std::map<std::string, double> Out;
    for (const QString& Plate : QDir(Dir).entryList({"plates(*).tif"}))
        Out[Plate.mid(7, Plate.size() - 12).toStdString()] = PlateInk(Dir + "/" + Plate);
    if (Out.empty())
        Out["(" + Said.toStdString() + ")"] = -1;
    return Out;
}

struct TPlateRow {
    const char* Name;
    const char *Bars, *Background, *Digits; // null: as the options leave it
    bool PdfX;
    std::vector<std::string> Inked; // the plates with ink; every other plate none at all
};

const TPlateRow PlateRows[] = {
    {"black ink alone", "cmyk(0,0,0,100)", "none", nullptr, false, {"Black"}},
    {"black ink on CMYK white", "cmyk(0,0,0,100)", nullptr, nullptr, false, {"Black"}},
    {"PDF/X as the options leave it", nullptr, nullptr, nullptr, true, {"Black"}},
    {"cyan bars", "cmyk(100,0,0,0)", "none", nullptr, false, {"Cyan"}},
    {"a spot ink", "spot(Reflex Blue,100,72,0,6)", nullptr, nullptr, false, {"Reflex Blue"}},
    {"a spot on a process tint", "spot(Reflex Blue,100,72,0,6)", "cmyk(0,0,20,0)", "cmyk(0,0,0,100)", false,
     {"Black", "Reflex Blue", "Yellow"}},
    // RGB black is Ghostscript's rich black: every process plate.
    {"RGB as ever", nullptr, nullptr, nullptr, false, {"Black", "Cyan", "Magenta", "Yellow"}},
};

TEST(SeparationTest, EveryShapeIsOnItsInksPlatesAndNoOther)
{
    for (const TPlateRow& Row : PlateRows)
        for (const char* Format : {"pdf", "eps"}) {
            if (Row.PdfX && std::strcmp(Format, "eps") == 0)
                continue;
            SCOPED_TRACE(std::string(Row.Name) + ", " + Format);
            TExportOptions O;
            TInk Ink;
            for (const auto& [Text, Field] : {std::pair{Row.Bars, &O.BarInk}, std::pair{Row.Background, &O.BackgroundInk},
                                              std::pair{Row.Digits, &O.FontInk}})
                if (Text && ParseInk(Text, Ink))
                    *Field = Ink;
            O.PdfX = Row.PdfX;
            O.BarWidthReductionMM = 0.03;
            QTemporaryDir Dir;
            const QString File = Dir.filePath(QString("symbol.") + Format);
            QString Error;
            ASSERT_TRUE(std::strcmp(Format, "pdf") == 0 ? ExportPdf("4006381333931", File, O, &Error)
                                                        : ExportEps("4006381333931", File, O, &Error))
                << Error.toStdString();
            const std::map<std::string, double> OnPlates = Plates(File, Dir.path());
            std::string Seen;
            for (const auto& [Plate, Ink] : OnPlates)
                Seen += Plate + " " + std::to_string(Ink) + " %; ";
            for (const char* Process : {"Cyan", "Magenta", "Yellow", "Black"})
                EXPECT_EQ(OnPlates.count(Process), 1u) << Process << " plate missing: " << Seen;
            for (const auto& [Plate, Ink] : OnPlates) {
                const bool Inked = std::find(Row.Inked.begin(), Row.Inked.end(), Plate) != Row.Inked.end();
                if (Inked)
                    EXPECT_GT(Ink, 1.0) << Plate << ": " << Seen;
                else
                    EXPECT_EQ(Ink, 0.0) << Plate << ": " << Seen;
            }
            for (const std::string& Plate : Row.Inked)
                EXPECT_EQ(OnPlates.count(Plate), 1u) << Plate << " plate missing: " << Seen;

            // And the file reads as the symbol it is.
            const QString Png = Dir.filePath("page.png");
            Ghostscript({"-dEPSCrop", "-r600", "-sDEVICE=pnggray", "-sOutputFile=" + Png, File});
            EXPECT_EQ(DecodeEan13(QImage(Png)), "4006381333931");
        }
}

// A sheet's labels and crop marks: the marks on the bars' plates, black ink
// where the bars are left as they were under PDF/X.
TEST(SeparationTest, ASheetsLabelsAndMarksStayOnTheirPlates)
{
    const struct {
        const char* Name;
        const char* Bars; // null: as the options leave it
        std::vector<std::string> Inked;
    } Rows[] = {
        {"PDF/X as the options leave it", nullptr, {"Black"}},
        {"a spot ink", "spot(Green 347,100,0,86,3)", {"Green 347"}},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TExportOptions O;
        TInk Bars = TInk::FromCmyk(0, 0, 0, 100);
        if (Row.Bars && ParseInk(Row.Bars, Bars))
            O.BarInk = Bars;
        QTemporaryDir Dir;
        const QString File = Dir.filePath("sheet.pdf");
        TPdfSheet Sheet;
        ASSERT_TRUE(Sheet.Open(File));
        Sheet.SetPdfX();
        Sheet.NewPage(100, 60);
        ASSERT_TRUE(Sheet.Place("4006381333931", 5, 5, O));
        ASSERT_TRUE(Sheet.Place("5901234123457", 50, 5, O));
        Sheet.Line(1, 1, 4, 1, 0.1, Bars);
        Sheet.Line(96, 59, 99, 59, 0.1); // black, as crop marks are by default
        QString Error;
        ASSERT_TRUE(Sheet.Finish("Labels", &Error)) << Error.toStdString();
        std::string Seen;
        for (const auto& [Plate, Ink] : Plates(File, Dir.path())) {
            Seen += Plate + " " + std::to_string(Ink) + " %; ";
            const bool Inked = std::find(Row.Inked.begin(), Row.Inked.end(), Plate) != Row.Inked.end();
            // The one black mark of the spot sheet is on the black plate.
            if (Inked || (Plate == "Black" && Row.Bars))
                EXPECT_GT(Ink, 0.0) << Plate << ": " << Seen;
            else
                EXPECT_EQ(Ink, 0.0) << Plate << ": " << Seen;
        }
    }
}

// Ghostscript's own box of what the EPS draws ends where its header says;
// the first ink on the left is the digit in the quiet zone.
TEST(SeparationTest, EpsBoundingBoxIsWhatGhostscriptFinds)
{
    for (const double X : {0.264, 0.330, 0.495}) {
        SCOPED_TRACE(X);
        TExportOptions O;
        O.XDimensionMM = X;
        O.BarInk = TInk::FromCmyk(0, 0, 0, 100);
        QTemporaryDir Dir;
        const QString File = Dir.filePath("symbol.eps");
        ASSERT_TRUE(ExportEps("4006381333931", File, O));
        QFile Eps(File);
        ASSERT_TRUE(Eps.open(QIODevice::ReadOnly));
        const QRegularExpression Box("%%HiResBoundingBox: ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+)");
        const QRegularExpressionMatch Said = Box.match(Eps.readAll()), Found = Box.match(Ghostscript({"-sDEVICE=bbox", File}));
        ASSERT_TRUE(Said.hasMatch() && Found.hasMatch());
        // 113 modules of X, in points.
        EXPECT_NEAR(Said.captured(3).toDouble(), 113 * X / 25.4 * 72, 0.002);
        // Ghostscript measures on its own grid, a hundredth of a point.
        EXPECT_NEAR(Found.captured(3).toDouble(), Said.captured(3).toDouble(), 0.02);
        EXPECT_NEAR(Found.captured(4).toDouble(), Said.captured(4).toDouble(), 0.02);
    }
}

} // namespace
