// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

/// \file
/// \ingroup legacy
/// A symbol at a physical size, for print and files: PNG at a given dpi with the
/// module width snapped to whole printer dots, and SVG and PDF with exact vector
/// bars. All outputs carry the quiet zones (EAN-13's full 113 modules); the
/// main bars are as tall as GS1's nominal proportions (69.24 modules, 55.24 for
/// EAN-8) or as asked for, the digits below them. Vector
/// digits (SVG, PDF, any paint device) are the font's own curves as outlines,
/// placed once for all of them, so the files need no font; the '>' lies inside
/// the right quiet zone with its tip on the symbol's right edge.
///
/// Every function here may run on any thread, each call on its own device or
/// file, and touches none of the process-wide drawing state.

#include "WEQEanFamily.h"
#include "WEQEanGrade.h"
#include "WEQEanInk.h"
#include "Colors.h"
#include "Export.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPainter;
class QPaintDevice;

namespace WEQEan {

/// GS1 allows X-dimensions from 0.264 to 0.660 mm; 0.330 mm is magnification 1.
///@{
inline constexpr double NominalXDimensionMM = 0.330;
inline constexpr double Gs1MinXDimensionMM = 0.264, Gs1MaxXDimensionMM = 0.660;
inline double MagnificationToXDimension(double Magnification) { return Magnification * NominalXDimensionMM; }
///@}

/// What the exports accept; anything else (not finite, zero, negative, or
/// outside these) is refused with a reason.
///@{
inline constexpr double MinXDimensionMM = 0.1, MaxXDimensionMM = 10.0;
inline constexpr int MinDpi = 50, MaxDpi = 9600;
///@}

/// How the exports draw a symbol: its size, colours and inks, and the
/// reading of a text; the defaults draw GS1's nominal symbol in black on white.
struct TExportOptions {
    double XDimensionMM = NominalXDimensionMM; ///< the module width in millimetres
    /// The quiet-zone marks: EAN-13's '>', EAN-8's '<' and '>', the '>' after an add-on.
    bool DrawRightDelimiter = true;
    /// The colours of the background, the bars and the digits.
    ///@{
    TColor BackgroundColor = clWhite, BarColor = clBlack, FontColor = clBlack;
    ///@}
    /// For the functions that take a text: the symbology it is read for
    /// (Read), completed unless Strict, when a text the strict reading
    /// refuses is an error with its reason, and the add-on. EAN-13 without
    /// an add-on is today's output. A reading carries its own.
    TSymbology Symbology = TSymbology::Ean13;
    std::string AddOn = {}; ///< none, or 2 or 5 digits
    std::int32_t AddOnGap = DefaultAddOnGap; ///< modules, 7 to 12
    bool Strict = false; ///< refuse rather than complete a text
    /// Off, no background: vector files and devices draw none and a PNG's
    /// background pixels are transparent (BackgroundColor then only tells the
    /// raster which pixels those are).
    bool FillBackground = true;
    /// The main bars' height in millimetres, the guard bars 5 modules longer;
    /// 0: GS1's nominal proportion of the X-dimension drawn (69.24 modules,
    /// EAN-8 55.24). Raster output reaches it within a dot, vector exactly.
    double BarHeightMM = 0;
    /// Taken from every bar and given to the spaces beside it, for a press's
    /// ink spread: in raster output the nearest whole number of dots, split
    /// between a bar's edges (the odd dot from its right edge), in vector
    /// output exactly, half from each edge. Refused where the narrowest bar
    /// would keep less than half a module or less than a dot.
    double BarWidthReductionMM = 0;
    /// The inks, beside the colours above, which they take the place of where
    /// given: the PDF and EPS files (and sheets) print a CMYK ink as process
    /// colours and a spot ink on its own plate; PNG, SVG and painters, RGB all
    /// of them, draw its sRGB equivalent (InkColor). Unset, an ink is its
    /// colour's RGB, and the digits take the bars' ink where BarInk is given.
    /// A background of no ink (TInk::None) draws none, as FillBackground off.
    ///@{
    std::optional<TInk> BackgroundInk = {}, BarInk = {}, FontInk = {};
    ///@}
    /// PDF files as PDF/X-1a:2003 for the output condition of that name in
    /// the ICC's registry (FOGRA39: ISO 12647-2 offset on coated paper): CMYK
    /// and spot inks only. Colours left as they are become black ink alone on
    /// no background; an RGB colour or ink given refuses the file with the
    /// reason. The other formats ignore it.
    ///@{
    bool PdfX = false;
    std::string OutputCondition = "FOGRA39";
    ///@}
    /// PDF output only (EncodePdf, ExportPdf, TPdfSheet): 0 draws the module a
    /// whole number of micrometres; a printer's resolution puts the symbol on
    /// its dots instead, as RenderRaster does at that dpi (the module, the
    /// bar heights and the reduction whole dots), and TPdfSheet every
    /// symbol's top-left on a dot counted from the page's top-left corner, so
    /// that the printer gives every module the same number of dots.
    int PrinterDpi = 0;
};

/// A symbol drawn at a printer's resolution, and what the snap to whole dots made of it.
struct TRasterExport {
    /// Null when nothing could be drawn (Error says why), and where a PNG
    /// export wrote a symbol larger than 32 MB of 32-bit pixels (written
    /// from its packed rows alone).
    QImage Image;
    std::int32_t DotsPerModule = 0;  ///< the snapped module width
    double XDimensionMM = 0;         ///< what the snapped module width measures
    bool WithinGs1Range = false;     ///< the snapped X-dimension lies in 0.264 .. 0.660 mm
    QString Error;                   ///< empty on success
};

/// The symbol of the text at Dpi (for EAN-13: of CompleteGTIN(Text)), the module width a whole number
/// of dots, at least one: the nearest to the X-dimension asked for, and where
/// that lies inside GS1's range and a whole number of dots inside it exists,
/// the nearest such one. The image carries the dpi.
///@{
WEQBARCODE_EXPORT TRasterExport RenderRaster(const std::string& Text, int Dpi, const TExportOptions& Options = {});
WEQBARCODE_EXPORT TRasterExport RenderRaster(const TEanReading& Reading, int Dpi, const TExportOptions& Options = {});
///@}

/// The size of RenderRaster's image, without drawing it: empty where the
/// symbol cannot be drawn.
///@{
WEQBARCODE_EXPORT QSize RasterSize(const std::string& Text, int Dpi, const TExportOptions& Options = {});
WEQBARCODE_EXPORT QSize RasterSize(const TEanReading& Reading, int Dpi, const TExportOptions& Options = {});
///@}

/// Draws the symbol at its physical size from the device's origin, with the
/// device's own resolution (a printer, an SVG generator, a PDF writer), the
/// module a whole number of the device's dots. The device must not be painted
/// on by another painter at the time; DrawOnPainter draws with that one.
///@{
WEQBARCODE_EXPORT bool DrawOnDevice(const std::string& Text, QPaintDevice* Device, const TExportOptions& Options = {},
                                    QString* Error = nullptr);
WEQBARCODE_EXPORT bool DrawOnDevice(const TEanReading& Reading, QPaintDevice* Device,
                                    const TExportOptions& Options = {}, QString* Error = nullptr);
///@}

/// Draws the symbol at its physical size with a painter someone else owns
/// (several symbols on one page, text beside them), its top-left at (Left,
/// Top) in the painter's coordinates, which are taken to be the dots of a
/// device of Dpi dots per inch: every module is DotsPerModule(X, Dpi) of them.
/// The painter's state is as it was afterwards.
///@{
WEQBARCODE_EXPORT bool DrawOnPainter(const std::string& Text, QPainter& Painter, int Dpi, double Left, double Top,
                                     const TExportOptions& Options = {}, QString* Error = nullptr);
WEQBARCODE_EXPORT bool DrawOnPainter(const TEanReading& Reading, QPainter& Painter, int Dpi, double Left, double Top,
                                     const TExportOptions& Options = {}, QString* Error = nullptr);
///@}

/// The whole number of a device's dots that a module takes at Dpi, at least
/// one: the nearest to the X-dimension, and where that lies inside GS1's
/// range and a whole number of dots inside it exists, the nearest such one.
WEQBARCODE_EXPORT std::int32_t DotsPerModule(double XDimensionMM, int Dpi);

/// The formats of the files below, each named by the suffix of a file's name.
enum class TFileFormat : std::uint8_t {
    Png, ///< .png
    Svg, ///< .svg
    Pdf, ///< .pdf
    Eps  ///< .eps
};
/// The format a file's name asks for by its suffix, in any case ("out/a.PNG"
/// is a PNG); none for any other suffix, or none at all. The name alone is
/// read: no file is looked at.
WEQBARCODE_EXPORT std::optional<TFileFormat> FileFormatOf(const QString& Path);

/// Files, written whole or not at all: a failed write returns false, with the
/// reason in Error, and leaves an existing file as it was. A PNG export
/// reports its snap.
///@{
WEQBARCODE_EXPORT bool ExportPng(const std::string& Text, const QString& Path, int Dpi,
                                 const TExportOptions& Options = {}, TRasterExport* Report = nullptr,
                                 QString* Error = nullptr);
WEQBARCODE_EXPORT bool ExportPng(const TEanReading& Reading, const QString& Path, int Dpi,
                                 const TExportOptions& Options = {}, TRasterExport* Report = nullptr,
                                 QString* Error = nullptr);
WEQBARCODE_EXPORT bool ExportSvg(const std::string& Text, const QString& Path, const TExportOptions& Options = {},
                                 QString* Error = nullptr);
WEQBARCODE_EXPORT bool ExportSvg(const TEanReading& Reading, const QString& Path, const TExportOptions& Options = {},
                                 QString* Error = nullptr);
WEQBARCODE_EXPORT bool ExportPdf(const std::string& Text, const QString& Path, const TExportOptions& Options = {},
                                 QString* Error = nullptr);
WEQBARCODE_EXPORT bool ExportPdf(const TEanReading& Reading, const QString& Path, const TExportOptions& Options = {},
                                 QString* Error = nullptr);
///@}
/// Encapsulated PostScript (EPSF-3.0) for artwork: the PDF's outlines and
/// inks, its bounding box the symbol's exact size (%%HiResBoundingBox; the
/// whole points of %%BoundingBox round it outward), no fonts.
///@{
WEQBARCODE_EXPORT bool ExportEps(const std::string& Text, const QString& Path, const TExportOptions& Options = {},
                                 QString* Error = nullptr);
WEQBARCODE_EXPORT bool ExportEps(const TEanReading& Reading, const QString& Path, const TExportOptions& Options = {},
                                 QString* Error = nullptr);
///@}

/// The bytes of the files above, for callers that store or send them
/// themselves: a PNG of 1-bit grey (black and white) or a palette of the
/// colours used, and an SVG with every bar in one path and the digits as
/// outlines. False, with the reason in Error, where the export would fail.
///@{
WEQBARCODE_EXPORT bool EncodePng(const std::string& Text, int Dpi, const TExportOptions& Options, QByteArray& Out,
                                 TRasterExport* Report = nullptr, QString* Error = nullptr);
WEQBARCODE_EXPORT bool EncodePng(const TEanReading& Reading, int Dpi, const TExportOptions& Options, QByteArray& Out,
                                 TRasterExport* Report = nullptr, QString* Error = nullptr);
WEQBARCODE_EXPORT bool EncodeSvg(const std::string& Text, const TExportOptions& Options, QByteArray& Out,
                                 QString* Error = nullptr);
WEQBARCODE_EXPORT bool EncodeSvg(const TEanReading& Reading, const TExportOptions& Options, QByteArray& Out,
                                 QString* Error = nullptr);
WEQBARCODE_EXPORT bool EncodePdf(const std::string& Text, const TExportOptions& Options, QByteArray& Out,
                                 QString* Error = nullptr);
WEQBARCODE_EXPORT bool EncodePdf(const TEanReading& Reading, const TExportOptions& Options, QByteArray& Out,
                                 QString* Error = nullptr);
WEQBARCODE_EXPORT bool EncodeEps(const std::string& Text, const TExportOptions& Options, QByteArray& Out,
                                 QString* Error = nullptr);
WEQBARCODE_EXPORT bool EncodeEps(const TEanReading& Reading, const TExportOptions& Options, QByteArray& Out,
                                 QString* Error = nullptr);
///@}

/// What GS1's rules say of a print job: one finding each, a stable code and a
/// sentence. Codes: "x-dimension" (outside 0.264 .. 0.660 mm), "x-snapped"
/// (the whole-dot snap moved X), "bar-height" (below the nominal proportion),
/// "quiet-zone" (no background to keep it light), "add-on-gap", "add-on-ean8"
/// (not a GS1 combination), "colours" (graded under C under 660 nm light),
/// "bar-colour" (red, orange or yellow bars, or bars of a light tint, which
/// GS1 advises against whatever they grade), "bar-width-reduction" (not
/// possible), "symbol" (the text cannot be drawn).
struct TPrintFinding {
    /// How much a finding weighs.
    enum TSeverity : std::uint8_t {
        Warning, ///< the job may go ahead; a scanner may struggle
        Error    ///< the job is refused
    };
    TSeverity Severity = Warning; ///< warning or error
    std::string Code;             ///< the stable code above, for programs
    std::string Text;             ///< the sentence, for people
};
/// The findings for Text drawn with Options at Dpi (0: vector output, at the
/// X-dimension to the micrometre); Strict turns every warning into an error.
/// For a text that can be drawn they follow from the options, the symbology
/// and the add-on alone, never from the digits: a batch may check each kind
/// of item once.
///@{
WEQBARCODE_EXPORT std::vector<TPrintFinding> CheckGs1(const std::string& Text, const TExportOptions& Options,
                                                      int Dpi = 0, bool Strict = false);
WEQBARCODE_EXPORT std::vector<TPrintFinding> CheckGs1(const TEanReading& Reading, const TExportOptions& Options,
                                                      int Dpi = 0, bool Strict = false);
///@}
/// The X-dimension a job draws, in words: "X 0.375 mm (3 dots at 203 dpi,
/// 113.6 %)", or for vector output "X 0.330 mm (100.0 %)".
WEQBARCODE_EXPORT std::string DescribeXDimension(const TExportOptions& Options, int Dpi = 0);

/// A pre-press estimate of the symbol's print-quality grade, from the symbol
/// as it will be printed, under 660 nm light: the raster at Dpi, the lowest of
/// ten scan lines across its bars; or (Dpi 0) the vector symbol at 600 dpi,
/// each dot reflecting as much as the ink and background it covers. Decode
/// fails (grade F, with DecodeError) where the symbol cannot be drawn at all.
///@{
WEQBARCODE_EXPORT TScanGrade GradeSymbol(const std::string& Text, const TExportOptions& Options, int Dpi = 0);
WEQBARCODE_EXPORT TScanGrade GradeSymbol(const TEanReading& Reading, const TExportOptions& Options, int Dpi = 0);
///@}

/// A file that appears whole or not at all, as every export writes its files:
/// the bytes go to a file without a name (or, where the file system has none,
/// a hidden temporary one) in the target's folder, which takes the target's
/// name only when Commit finds every byte written. An existing file, or a
/// link, at the target is replaced in one rename, never written through; a
/// file that may not be written is refused. Anything but a successful Commit
/// leaves nothing behind and the old file as it was.
class WEQBARCODE_EXPORT TAtomicFile {
public:
    /// A file not yet open.
    ///@{
    TAtomicFile();
    ~TAtomicFile(); ///< discards what was not committed
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;
    ///@}

    /// Starts the file for Path, nothing at Path changed yet; false, with the
    /// reason, where the folder cannot take it or the target may not be written.
    bool Open(const QString& Path, QString* Error = nullptr);
    /// The open file's descriptor, for writers that stream into it.
    int Descriptor() const;
    /// Appends Size bytes; false, with the reason, where the disk refuses them.
    bool Write(const void* Data, std::size_t Size, QString* Error = nullptr);
    /// Gives the file the target's name once every byte is written.
    /// Sync first asks the disk to hold the bytes before the name appears.
    bool Commit(bool Sync = false, QString* Error = nullptr);
    /// Drops what was written; the target stays as it was.
    void Discard();

private:
    friend bool SaveFile(const QString& Path, const QByteArray& Data, QString* Error);
    bool Fail(QString* Error, const QString& Reason);
    struct TImpl;
    std::unique_ptr<TImpl> d;
};

/// Data written to Path through a TAtomicFile.
WEQBARCODE_EXPORT bool SaveFile(const QString& Path, const QByteArray& Data, QString* Error = nullptr);

/// A PDF of many symbols on pages of any size (label sheets), written through
/// a TAtomicFile page by page as they are made: memory does not grow with the
/// pages. Each character shape is stored once however many labels use it, and
/// each label costs a few operators. Every module is a whole number of
/// micrometres, as in ExportPdf.
class WEQBARCODE_EXPORT TPdfSheet {
public:
    /// A sheet not yet open.
    ///@{
    TPdfSheet();
    ~TPdfSheet(); ///< what was not finished is discarded
    TPdfSheet(const TPdfSheet&) = delete;
    TPdfSheet& operator=(const TPdfSheet&) = delete;
    ///@}

    /// Starts the file for Path, as TAtomicFile::Open does; false, with the reason.
    bool Open(const QString& Path, QString* Error = nullptr);
    /// Ends the page before, if any, and starts one WidthMM x HeightMM.
    void NewPage(double WidthMM, double HeightMM);
    /// The symbol of Text at its physical size, its top-left (quiet zones
    /// included) at (LeftMM, TopMM) from the page's top-left corner, rounded
    /// to whole micrometres. False, with the reason, where it cannot be drawn.
    ///@{
    bool Place(const std::string& Text, double LeftMM, double TopMM, const TExportOptions& Options = {},
               QString* Error = nullptr);
    bool Place(const TEanReading& Reading, double LeftMM, double TopMM, const TExportOptions& Options = {},
               QString* Error = nullptr);
    ///@}
    /// A straight line, such as a crop mark, WidthMM thick.
    ///@{
    void Line(double X1MM, double Y1MM, double X2MM, double Y2MM, double WidthMM, TColor Color = clBlack);
    void Line(double X1MM, double Y1MM, double X2MM, double Y2MM, double WidthMM, const TInk& Ink);
    ///@}
    /// The file as PDF/X-1a:2003 for that output condition (see
    /// TExportOptions::PdfX); from then on Place and Line refuse RGB.
    void SetPdfX(const std::string& OutputCondition = "FOGRA39");
    /// Ends the last page, writes what the pages share and commits the file:
    /// false, with the reason, where any write failed (nothing is left then).
    bool Finish(const QString& Title, QString* Error = nullptr);

    /// The size Text's symbol takes with Options, quiet zones included, as
    /// Place draws it; false, with the reason, where it cannot be drawn.
    ///@{
    static bool SizeOf(const std::string& Text, const TExportOptions& Options, double& WidthMM, double& HeightMM,
                       QString* Error = nullptr);
    static bool SizeOf(const TEanReading& Reading, const TExportOptions& Options, double& WidthMM, double& HeightMM,
                       QString* Error = nullptr);
    ///@}

private:
    struct TImpl;
    std::unique_ptr<TImpl> d;
};

} // namespace WEQEan
